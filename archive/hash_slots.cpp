// Set-up of the indirect components' hash-slot table (the lookup is inline).
#include "archive/hash_slots.h"

namespace zpaq {

void HashSlots::reset(unsigned bits)
{
    m_bits = bits;
    m_mask = std::uint32_t((std::uint64_t(1) << bits) - 1);
    m_bytes.reset(std::size_t(16) << bits);
}

} // namespace zpaq
