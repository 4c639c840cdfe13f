// The one bounds-checked reader through which every archive byte is read:
// from memory (decoded index blocks, headers), or from a window of the
// archive file through a bounded buffer that is refilled with positioned
// reads. Reading past the end throws DecodeError naming what was being read.
#pragma once

#include "archive/archive_input.h"
#include "archive/decode_error.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

namespace zpaq {

class ByteReader
{
public:
    ByteReader(const std::uint8_t *data, std::size_t size, std::size_t base = 0)
        : m_data(data), m_size(size), m_base(base), m_end(base + size)
    {
    }
    /// Bytes `begin` .. `end` - 1 of the archive file.
    ByteReader(const ArchiveInput &input, std::size_t begin, std::size_t end)
        : m_input(&input), m_base(begin), m_end(std::max(begin, end))
    {
    }
    ByteReader(const ByteReader &) = delete;
    ByteReader &operator=(const ByteReader &) = delete;

    bool inEnd() const { return offset() >= m_end; }
    std::size_t remaining() const { return m_end - offset(); }
    /// Position as an offset in the whole archive (for messages).
    std::size_t offset() const { return m_base + m_pos; }
    /// The next bytes (reading from memory only).
    const std::uint8_t *here() const { return m_data + m_pos; }
    int peek() { return m_pos < m_size || refill(1) ? m_data[m_pos] : -1; }

    /// Next byte; `what` names the field for the error when none is left.
    std::uint8_t inNext(const char *what)
    {
        if (m_pos >= m_size && !refill(1))
            fail("truncated archive: end of data inside %s at offset %zu", what, offset());
        return m_data[m_pos++];
    }

    /// Pointer to the next `n` bytes (at most a header's worth when reading
    /// from the file), which are then skipped.
    const std::uint8_t *inBytes(std::size_t n, const char *what)
    {
        if (n > m_size - m_pos && !refill(n))
            fail("truncated archive: %s of %zu bytes at offset %zu runs past the end", what, n,
                 offset());
        const std::uint8_t *p = m_data + m_pos;
        m_pos += n;
        return p;
    }

    /// The next `n` bytes without taking them, or null when fewer are left.
    const std::uint8_t *ahead(std::size_t n)
    {
        return n <= m_size - m_pos || refill(n) ? m_data + m_pos : nullptr;
    }

    /// Continues at archive offset `offset` (reading from the file).
    void seek(std::size_t offset)
    {
        if (offset >= m_base && offset - m_base <= m_size) {
            m_pos = offset - m_base;
        } else {
            m_base = offset;
            m_pos = m_size = 0;
        }
    }

    /// Skips `n` bytes without reading them.
    void skip(std::size_t n, const char *what)
    {
        if (n > remaining())
            fail("truncated archive: %s of %zu bytes at offset %zu runs past the end", what, n,
                 offset());
        if (n <= m_size - m_pos) {
            m_pos += n;
            return;
        }
        m_base = offset() + n;
        m_pos = m_size = 0;
    }

    /// Up to `most` of the next bytes (at least one), which are then skipped.
    const std::uint8_t *inSome(std::size_t most, std::size_t &got, const char *what)
    {
        if (m_pos >= m_size && !refill(1))
            fail("truncated archive: end of data inside %s at offset %zu", what, offset());
        got = std::min(most, m_size - m_pos);
        const std::uint8_t *p = m_data + m_pos;
        m_pos += got;
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
    static constexpr std::size_t kWindow = 64 * 1024;

    // Makes at least `need` bytes available in the buffer; false when fewer
    // are left before the end.
    bool refill(std::size_t need)
    {
        const std::size_t kept = m_size - m_pos;
        if (!m_input || need > m_end - offset())
            return false;
        const std::size_t capacity = std::max(kWindow, need);
        if (m_capacity < capacity) {
            std::unique_ptr<std::uint8_t[]> bigger(new std::uint8_t[capacity]);
            if (kept > 0)
                std::memcpy(bigger.get(), m_data + m_pos, kept);
            m_buffer = std::move(bigger);
            m_capacity = capacity;
        } else if (kept > 0) {
            std::memmove(m_buffer.get(), m_data + m_pos, kept);
        }
        m_base += m_pos;
        m_pos = 0;
        const std::size_t more = std::min(capacity - kept, m_end - m_base - kept);
        m_input->read(m_base + kept, m_buffer.get() + kept, more);
        m_data = m_buffer.get();
        m_size = kept + more;
        return true;
    }

    const ArchiveInput *m_input = nullptr;
    std::unique_ptr<std::uint8_t[]> m_buffer; // not cleared: always filled before use
    std::size_t m_capacity = 0;
    const std::uint8_t *m_data = nullptr;
    std::size_t m_size = 0; // bytes at m_data
    std::size_t m_base;     // archive offset of m_data[0]
    std::size_t m_end;
    std::size_t m_pos = 0;
};

} // namespace zpaq
