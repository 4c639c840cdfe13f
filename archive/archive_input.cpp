// Opening and positioned reading of the archive file.
#include "archive/archive_input.h"

#include "archive/decode_error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zpaq {

ArchiveInput::ArchiveInput(const std::string &path) : m_path(path)
{
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        fail("cannot open archive \"%s\": %s", path.c_str(), std::strerror(errno));
    struct stat st;
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(m_fd);
        fail("archive \"%s\" is not a file", path.c_str());
    }
    m_size = std::size_t(st.st_size);
    if (m_size == 0) {
        ::close(m_fd);
        fail("archive \"%s\" is empty", path.c_str());
    }
}

ArchiveInput::~ArchiveInput() { ::close(m_fd); }

void ArchiveInput::read(std::uint64_t offset, std::uint8_t *buffer, std::size_t size) const
{
    while (size > 0) {
        const ssize_t n = ::pread(m_fd, buffer, size, off_t(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail("cannot read archive \"%s\" at offset %llu: %s", m_path.c_str(),
                 static_cast<unsigned long long>(offset), std::strerror(errno));
        if (n == 0)
            fail("archive \"%s\" became shorter while it was read (offset %llu)", m_path.c_str(),
                 static_cast<unsigned long long>(offset));
        buffer += n;
        size -= std::size_t(n);
        offset += std::uint64_t(n);
    }
}

} // namespace zpaq
