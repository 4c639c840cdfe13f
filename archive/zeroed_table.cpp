// Anonymous mappings for the model tables.
#include "archive/zeroed_table.h"

#include <cstdlib>
#include <new>
#include <sys/mman.h>

namespace zpaq {

ZeroedTable &ZeroedTable::operator=(ZeroedTable &&other) noexcept
{
    if (this != &other) {
        release();
        m_data = other.m_data;
        m_size = other.m_size;
        other.m_data = nullptr;
        other.m_size = 0;
    }
    return *this;
}

namespace {
// Smaller tables come from the heap (a mapping of their own costs more).
constexpr std::size_t kMappedFrom = std::size_t(1) << 20;
}

void ZeroedTable::reset(std::size_t bytes)
{
    release();
    if (bytes == 0)
        return;
    if (bytes < kMappedFrom) {
        m_data = static_cast<std::uint8_t *>(std::calloc(bytes, 1));
        if (!m_data)
            throw std::bad_alloc();
        m_size = bytes;
        return;
    }
    void *p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        throw std::bad_alloc();
    // Large tables are read at random: huge pages spare most TLB misses.
    if (bytes >= (std::size_t(2) << 20))
        ::madvise(p, bytes, MADV_HUGEPAGE);
    m_data = static_cast<std::uint8_t *>(p);
    m_size = bytes;
}

void ZeroedTable::release()
{
    if (m_data && m_size < kMappedFrom)
        std::free(m_data);
    else if (m_data)
        ::munmap(m_data, m_size);
    m_data = nullptr;
    m_size = 0;
}

} // namespace zpaq
