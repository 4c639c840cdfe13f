// The hash-slot table of the indirect components (ICM, ISSE): 16-byte slots
// of a check byte and 15 bit-history states, one slot per context nibble,
// found among three neighbours and replaced by least use.
#pragma once

#include "archive/zeroed_table.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zpaq {

/// Offset of the slot for context `v` in a table of 2^(bits) slots, claiming
/// one when none matches: the check byte is v's bits above the index, and
/// of the three neighbours the least used is replaced (the first bit's state
/// grows with use). Inline: the per-bit pipelines call it at every nibble.
inline std::size_t findHashSlot(std::uint8_t *bytes, unsigned bits, std::uint32_t mask,
                                std::uint32_t v)
{
    const std::uint8_t check = std::uint8_t(v >> bits);
    const std::uint32_t i0 = v & mask;
    const std::uint32_t candidates[3] = {i0, (i0 ^ 1) & mask, (i0 ^ 2) & mask};
    for (std::uint32_t i : candidates) {
        if (bytes[std::size_t(i) * 16] == check)
            return std::size_t(i) * 16;
    }
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

/// Starts loading the slots findHashSlot(bytes, .., mask, v) will look at.
inline void prefetchHashSlot(const std::uint8_t *bytes, std::uint32_t mask, std::uint32_t v)
{
    __builtin_prefetch(bytes + (std::size_t(v & mask & ~3u) << 4));
}

class HashSlots
{
public:
    /// 2^(bits) slots of 16 bytes, all zero.
    void reset(unsigned bits);

    /// Offset of the slot for context `v`, claiming one when none matches.
    std::size_t find(std::uint32_t v) { return findHashSlot(m_bytes.data(), m_bits, m_mask, v); }

    std::uint8_t &at(std::size_t offset) { return m_bytes.data()[offset]; }

    /// Starts loading the slots find(v) will look at.
    void prefetch(std::uint32_t v) const { prefetchHashSlot(m_bytes.data(), m_mask, v); }

    std::uint8_t *bytes() { return m_bytes.data(); }
    unsigned bits() const { return m_bits; }
    std::uint32_t mask() const { return m_mask; }

private:
    ZeroedTable m_bytes;
    unsigned m_bits = 0;
    std::uint32_t m_mask = 0;
};

} // namespace zpaq
