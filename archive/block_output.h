// Receiver of a block's post-processed output, segment by segment. The
// journaling layer routes it into fragments, the streaming layer into files.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zpaq {

struct SegmentLayout;

class BlockOutput
{
public:
    virtual ~BlockOutput() = default;
    virtual void beginSegment(std::size_t index, const SegmentLayout &segment) = 0;
    /// Output bytes in order; may throw DecodeError (e.g. a fragment check).
    virtual void write(const std::uint8_t *data, std::size_t size) = 0;
    /// Called after the segment's SHA-1 has been checked.
    virtual void endSegment() {}
};

} // namespace zpaq
