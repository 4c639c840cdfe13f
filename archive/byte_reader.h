// The one bounds-checked reader through which every archive byte is read.
// Reading past the end throws DecodeError naming what was being read.
#pragma once

#include "decode_error.h"

#include <cstddef>
#include <cstdint>

namespace zpaq {

class ByteReader
{
public:
    ByteReader(const std::uint8_t *data, std::size_t size, std::size_t base = 0)
        : m_data(data), m_size(size), m_base(base)
    {
    }

    bool inEnd() const { return m_pos >= m_size; }
    std::size_t remaining() const { return m_size - m_pos; }
    std::size_t position() const { return m_pos; }
    /// Position as an offset in the whole archive (for messages).
    std::size_t offset() const { return m_base + m_pos; }
    const std::uint8_t *here() const { return m_data + m_pos; }
    int peek() const { return inEnd() ? -1 : m_data[m_pos]; }

    /// Next byte; `what` names the field for the error when none is left.
    std::uint8_t inNext(const char *what)
    {
        if (m_pos >= m_size)
            fail("truncated archive: end of data inside %s at offset %zu", what, offset());
        return m_data[m_pos++];
    }

    /// Pointer to the next `n` bytes, which are then skipped.
    const std::uint8_t *inBytes(std::size_t n, const char *what)
    {
        if (n > m_size - m_pos)
            fail("truncated archive: %s of %zu bytes at offset %zu runs past the end", what, n,
                 offset());
        const std::uint8_t *p = m_data + m_pos;
        m_pos += n;
        return p;
    }

    std::uint32_t inU16le(const char *what)
    {
        const std::uint8_t *p = inBytes(2, what);
        return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8;
    }

    std::uint32_t inU32le(const char *what)
    {
        const std::uint8_t *p = inBytes(4, what);
        return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
               std::uint32_t(p[3]) << 24;
    }

    std::uint32_t inU32be(const char *what)
    {
        const std::uint8_t *p = inBytes(4, what);
        return std::uint32_t(p[3]) | std::uint32_t(p[2]) << 8 | std::uint32_t(p[1]) << 16 |
               std::uint32_t(p[0]) << 24;
    }

    std::uint64_t inU64le(const char *what)
    {
        const std::uint8_t *p = inBytes(8, what);
        std::uint64_t v = 0;
        for (int i = 7; i >= 0; --i)
            v = v << 8 | p[i];
        return v;
    }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_base;
    std::size_t m_pos = 0;
};

} // namespace zpaq
