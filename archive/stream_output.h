// Output of streaming (non-journaling) blocks: a segment with a name starts
// that file, a segment without a name continues the previous one, also
// across the blocks of one chain.
#pragma once

#include "block_output.h"
#include "output_folder.h"
#include "warnings.h"

#include <string>

namespace zpaq {

class StreamOutput : public BlockOutput
{
public:
    StreamOutput(OutputFolder &folder, Warnings &warnings) : m_folder(folder), m_warnings(warnings) {}
    ~StreamOutput() override;
    StreamOutput(const StreamOutput &) = delete;
    StreamOutput &operator=(const StreamOutput &) = delete;

    void beginSegment(std::size_t index, const SegmentLayout &segment) override;
    void write(const std::uint8_t *data, std::size_t size) override;

private:
    void close();

    OutputFolder &m_folder;
    Warnings &m_warnings;
    int m_fd = -1;
    bool m_started = false; // a named segment has been seen
    std::string m_path;
};

} // namespace zpaq
