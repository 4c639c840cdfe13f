// MATCH tables and the work at a byte's end: the history position stored
// under the byte's context, and the search for a new match.
#include "archive/match_component.h"

#include "archive/squash_stretch.h"
#include "archive/zpaq_choices.h"

namespace zpaq {

void initMatch(ComponentState &c)
{
    c.positions.reset(sizeof(std::uint32_t) << c.spec.p[0]);
    c.mask = std::uint32_t((std::uint64_t(1) << c.spec.p[0]) - 1);
    c.buffer.reset(std::size_t(1) << c.spec.p[1]);
    c.bufferMask = std::uint32_t((std::uint64_t(1) << c.spec.p[1]) - 1);
}

void endMatchByte(ComponentState &c, std::uint32_t h)
{
    std::uint8_t *const buffer = c.buffer.data();
    c.bitPos = 0;
    c.pos = (c.pos + 1) & c.bufferMask;
    std::uint32_t &slot = reinterpret_cast<std::uint32_t *>(c.positions.data())[h & c.mask];
    if (c.len == 0) {
        c.offset = c.pos - slot;
        if ((c.offset & c.bufferMask) != 0) {
            // The whole buffer takes part, cells never written included.
            while (c.len < std::uint32_t(kMatchMaxLen) &&
                   buffer[(c.pos - c.len - 1) & c.bufferMask] ==
                       buffer[(c.pos - c.len - c.offset - 1) & c.bufferMask])
                ++c.len;
        }
    } else if (c.len < std::uint32_t(kMatchMaxLen)) {
        ++c.len;
    }
    slot = c.pos;
    // The length changes only here (or drops to 0): its two predictions are
    // worked out once per byte, not with a division per bit.
    if (c.len > 0) {
        const int q = int(2048 / c.len);
        c.matchStretch[0] = stretch(q);
        c.matchStretch[1] = stretch(32768 - q);
    }
}

} // namespace zpaq
