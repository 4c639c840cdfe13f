// File creation and positioned writes of extracted files.
#include "output_files.h"

#include "decode_error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace zpaq {

namespace {
constexpr std::size_t kMaxOpenPerWorker = 32;
}

int createFresh(const std::string &path)
{
    // A new inode: an existing hard link to a file elsewhere is left alone.
    ::unlink(path.c_str());
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
}

std::size_t OutputFiles::create(const std::string &path, std::uint64_t size)
{
    const int fd = createFresh(path);
    if (fd < 0)
        fail("cannot create \"%s\": %s", path.c_str(), std::strerror(errno));
    const bool sized = ::ftruncate(fd, off_t(size)) == 0;
    const int err = errno;
    ::close(fd);
    if (!sized)
        fail("cannot give \"%s\" its size of %llu bytes: %s", path.c_str(),
             static_cast<unsigned long long>(size), std::strerror(err));
    m_paths.push_back(path);
    return m_paths.size() - 1;
}

FileWriterCache::~FileWriterCache()
{
    for (const Entry &e : m_open)
        ::close(e.fd);
}

int FileWriterCache::handle(std::size_t index)
{
    for (const Entry &e : m_open)
        if (e.index == index)
            return e.fd;
    const std::string &path = m_files.path(index);
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        fail("cannot open \"%s\": %s", path.c_str(), std::strerror(errno));
    if (m_open.size() < kMaxOpenPerWorker) {
        m_open.push_back({index, fd});
    } else {
        Entry &victim = m_open[m_nextVictim++ % m_open.size()];
        ::close(victim.fd);
        victim = {index, fd};
    }
    return fd;
}

void FileWriterCache::write(std::size_t index, std::uint64_t offset, const std::uint8_t *data,
                            std::size_t size)
{
    const int fd = handle(index);
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, size, off_t(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail("cannot write \"%s\": %s", m_files.path(index).c_str(),
                 n < 0 ? std::strerror(errno) : "nothing written");
        data += n;
        size -= std::size_t(n);
        offset += std::uint64_t(n);
    }
}

void writeAll(int fd, const std::uint8_t *data, std::size_t size, const std::string &path)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail("cannot write \"%s\": %s", path.c_str(),
                 n < 0 ? std::strerror(errno) : "nothing written");
        data += n;
        size -= std::size_t(n);
    }
}

} // namespace zpaq
