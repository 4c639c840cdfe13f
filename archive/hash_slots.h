// The hash-slot table of the indirect components (ICM, ISSE): 16-byte slots
// of a check byte and 15 bit-history states, one slot per context nibble,
// found among three neighbours and replaced by least use.
#pragma once

#include "archive/zeroed_table.h"

#include <cstddef>
#include <cstdint>

namespace zpaq {

class HashSlots
{
public:
    /// 2^(bits) slots of 16 bytes, all zero.
    void reset(unsigned bits);

    /// Offset of the slot for context `v`, claiming one when none matches.
    std::size_t find(std::uint32_t v);

    std::uint8_t &at(std::size_t offset) { return m_bytes.data()[offset]; }

    /// Starts loading the slots find(v) will look at.
    void prefetch(std::uint32_t v) const
    {
        __builtin_prefetch(m_bytes.data() + (std::size_t(v & m_mask & ~3u) << 4));
    }

private:
    ZeroedTable m_bytes;
    unsigned m_bits = 0;
    std::uint32_t m_mask = 0;
};

} // namespace zpaq
