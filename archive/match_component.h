// Per-bit steps of MATCH, which finds the last occurrence of the current
// context in the history and predicts the bit that followed it, more
// strongly the longer the match. Inline so that a block's pipeline runs them
// without calls; the work at a byte's end is out of line.
#pragma once

#include "archive/components.h"
#include "archive/squash_stretch.h"

namespace zpaq {

inline int predictMatch(ComponentState &c)
{
    if (c.len == 0)
        return 0;
    c.predictedBit = (c.buffer.data()[(c.pos - c.offset) & c.bufferMask] >> (7 - c.bitPos)) & 1;
    return c.matchStretch[c.predictedBit];
}

/// Starts loading the index entry the byte that ends with context `h` will use.
inline void prefetchMatch(const ComponentState &c, std::uint32_t h)
{
    __builtin_prefetch(c.positions.data() + std::size_t(h & c.mask) * 4);
}

/// Stores the byte's position under context `h` and looks for the next match.
void endMatchByte(ComponentState &c, std::uint32_t h);

inline void updateMatch(ComponentState &c, int y, std::uint32_t h)
{
    if (c.len > 0 && c.predictedBit != y)
        c.len = 0;
    std::uint8_t &cell = c.buffer.data()[c.pos & c.bufferMask];
    cell = std::uint8_t(cell * 2 + y);
    if (++c.bitPos == 8)
        endMatchByte(c, h);
}

} // namespace zpaq
