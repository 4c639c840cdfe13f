// Output of streaming (non-journaling) blocks: the planner has decided, in
// archive order, which file of the output folder every segment goes to
// (a segment without a name continues the previous one) or that it goes
// nowhere. Each segment that has been written and checked completes a part
// of its file.
#pragma once

#include "archive/block_output.h"
#include "archive/output_files.h"

#include <vector>

namespace zpaq {

class StreamOutput : public BlockOutput
{
public:
    /// `targets` holds a file index (or -1) for every segment of the job's
    /// blocks, in order.
    StreamOutput(FileWriterCache &writer, const std::vector<long> &targets)
        : m_writer(writer), m_targets(targets)
    {
    }

    void beginSegment(std::size_t index, const SegmentLayout &segment) override;
    void write(const std::uint8_t *data, std::size_t size) override;
    void endSegment() override;

private:
    FileWriterCache &m_writer;
    const std::vector<long> &m_targets;
    std::size_t m_segment = 0;
    long m_target = -1;
    std::uint64_t m_offset = 0;
};

} // namespace zpaq
