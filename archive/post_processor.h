// The post-processing stage of a block: reads the header at the start of
// the block's decoded data (no program, or a PCOMP program), then passes
// every further byte through unchanged or through PCOMP. Output is buffered
// in a bounded chunk and hashed per segment with SHA-1.
#pragma once

#include "archive/block_header.h"
#include "archive/block_output.h"
#include "archive/zpaql_machine.h"

#include <QByteArray>
#include <QCryptographicHash>

#include <memory>
#include <string>
#include <vector>

namespace zpaq {

class PostProcessor
{
public:
    PostProcessor(const BlockHeader &header, BlockOutput &out);
    ~PostProcessor();

    /// Decoded bytes of the block, in order across segments.
    void put(const std::uint8_t *data, std::size_t size);
    void put(std::uint8_t byte);

    /// Ends a segment: runs PCOMP's end call, flushes, and returns the SHA-1
    /// of the segment's output. Throws if the header is still incomplete.
    QByteArray endSegment();

    /// Largest output the current segment may produce (its comment's size);
    /// more throws DecodeError before the excess is handed on.
    void setSegmentLimit(std::uint64_t limit, const std::string &segmentName)
    {
        m_segmentLimit = limit;
        m_segmentName = segmentName;
    }

    /// Bytes output in the current segment so far.
    std::uint64_t segmentOutput() const { return m_segmentBytes + m_buffer.size(); }

private:
    enum class Phase { Flag, SizeLow, SizeHigh, Code, Program, PassThrough };
    void outputByte(std::uint8_t byte);
    void flush();
    // Checks, hashes and writes output bytes.
    void deliver(const std::uint8_t *data, std::size_t size);
    void headerByte(std::uint8_t byte);
    void checkLimit(std::size_t more) const;
    void runProgram(std::uint8_t byte);

    const BlockHeader &m_header;
    BlockOutput &m_out;
    Phase m_phase = Phase::Flag;
    std::size_t m_programSize = 0;
    std::vector<std::uint8_t> m_code;
    std::unique_ptr<ZpaqlMachine> m_pcomp;
    std::vector<std::uint8_t> m_buffer;
    QCryptographicHash m_hash{QCryptographicHash::Sha1};
    std::uint64_t m_segmentBytes = 0;
    std::uint64_t m_programInput = 0, m_programOutput = 0; // over the whole block
    std::uint64_t m_segmentLimit = ~std::uint64_t(0);
    std::string m_segmentName;
};

} // namespace zpaq
