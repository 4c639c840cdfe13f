// The archive file, read with positioned reads into the caller's bounded
// buffers (never mapped: a file that shrinks or fails to read while it is
// extracted must end in an error, not in a signal). Any thread may read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zpaq {

class ArchiveInput
{
public:
    /// Throws DecodeError when the file cannot be opened or is empty.
    explicit ArchiveInput(const std::string &path);
    ~ArchiveInput();
    ArchiveInput(const ArchiveInput &) = delete;
    ArchiveInput &operator=(const ArchiveInput &) = delete;

    /// Size when opened.
    std::size_t size() const { return m_size; }

    /// Reads exactly `size` bytes at `offset`; throws DecodeError when the
    /// archive has become shorter or cannot be read.
    void read(std::uint64_t offset, std::uint8_t *buffer, std::size_t size) const;

private:
    std::string m_path;
    int m_fd = -1;
    std::size_t m_size = 0;
};

} // namespace zpaq
