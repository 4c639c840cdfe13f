// A zero-filled table for the model and machine tables. Large ones are taken
// straight from the system: their pages cost nothing until touched (a block
// rarely touches all of a big table), they use huge pages where the system
// offers them, and they are aligned to whole pages, so a group of four
// 16-byte slots always shares one cache line.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zpaq {

class ZeroedTable
{
public:
    ZeroedTable() = default;
    ~ZeroedTable() { release(); }
    ZeroedTable(const ZeroedTable &) = delete;
    ZeroedTable &operator=(const ZeroedTable &) = delete;
    ZeroedTable(ZeroedTable &&other) noexcept : m_data(other.m_data), m_size(other.m_size)
    {
        other.m_data = nullptr;
        other.m_size = 0;
    }
    ZeroedTable &operator=(ZeroedTable &&other) noexcept;

    /// `bytes` zero bytes (the old contents are dropped); throws
    /// std::bad_alloc when the system has no memory for them.
    void reset(std::size_t bytes);

    std::uint8_t *data() { return m_data; }
    const std::uint8_t *data() const { return m_data; }
    std::size_t size() const { return m_size; }

private:
    void release();

    std::uint8_t *m_data = nullptr;
    std::size_t m_size = 0;
};

} // namespace zpaq
