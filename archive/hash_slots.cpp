// Slot lookup and replacement of the indirect components' hash table.
#include "archive/hash_slots.h"

#include <cstring>

namespace zpaq {

void HashSlots::reset(unsigned bits)
{
    m_bits = bits;
    m_mask = std::uint32_t((std::uint64_t(1) << bits) - 1);
    m_bytes.reset(std::size_t(16) << bits);
}

std::size_t HashSlots::find(std::uint32_t v)
{
    const std::uint8_t check = std::uint8_t(v >> m_bits);
    const std::uint32_t i0 = v & m_mask;
    const std::uint32_t candidates[3] = {i0, (i0 ^ 1) & m_mask, (i0 ^ 2) & m_mask};
    std::uint8_t *bytes = m_bytes.data();
    for (std::uint32_t i : candidates) {
        if (bytes[std::size_t(i) * 16] == check)
            return std::size_t(i) * 16;
    }
    // Replace the least used: the first bit's state grows with use.
    const std::uint8_t u0 = bytes[std::size_t(candidates[0]) * 16 + 1];
    const std::uint8_t u1 = bytes[std::size_t(candidates[1]) * 16 + 1];
    const std::uint8_t u2 = bytes[std::size_t(candidates[2]) * 16 + 1];
    std::uint32_t victim;
    if (u0 <= u1 && u0 <= u2)
        victim = candidates[0];
    else if (u1 < u2)
        victim = candidates[1];
    else
        victim = candidates[2];
    const std::size_t offset = std::size_t(victim) * 16;
    std::memset(bytes + offset, 0, 16);
    bytes[offset] = check;
    return offset;
}

} // namespace zpaq
