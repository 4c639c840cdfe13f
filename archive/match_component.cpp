// MATCH: finds the last occurrence of the current context in the history
// and predicts the bit that followed it, more strongly the longer the match.
#include "components.h"

#include "squash_stretch.h"
#include "zpaq_choices.h"

namespace zpaq {

void initMatch(ComponentState &c)
{
    c.positions.reset(sizeof(std::uint32_t) << c.spec.p[0]);
    c.mask = std::uint32_t((std::uint64_t(1) << c.spec.p[0]) - 1);
    c.buffer.reset(std::size_t(1) << c.spec.p[1]);
    c.bufferMask = std::uint32_t((std::uint64_t(1) << c.spec.p[1]) - 1);
}

int predictMatch(ComponentState &c, std::uint32_t, const BitContext &, const int *)
{
    if (c.len == 0)
        return 0;
    c.predictedBit = (c.buffer.data()[(c.pos - c.offset) & c.bufferMask] >> (7 - c.bitPos)) & 1;
    const int q = int(2048 / c.len);
    return stretch(c.predictedBit ? 32768 - q : q);
}

void updateMatch(ComponentState &c, int y, std::uint32_t h, const int *)
{
    if (c.len > 0 && c.predictedBit != y)
        c.len = 0;
    std::uint8_t *const buffer = c.buffer.data();
    std::uint8_t &cell = buffer[c.pos & c.bufferMask];
    cell = std::uint8_t(cell * 2 + y);
    if (++c.bitPos < 8)
        return;
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
}

} // namespace zpaq
