// Positioned writes of extracted files.
#include "archive/output_files.h"

#include "archive/decode_error.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace zpaq {

namespace {
constexpr std::size_t kMaxOpenPerWorker = 32;
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
    const int fd = m_folder.openFile(index);
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
    writeAt(handle(index), offset, data, size, m_folder.name(index));
}

void writeAt(int fd, std::uint64_t offset, const std::uint8_t *data, std::size_t size,
             const std::string &name)
{
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, size, off_t(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail("cannot write \"%s\": %s", name.c_str(),
                 n < 0 ? std::strerror(errno) : "nothing written");
        data += n;
        size -= std::size_t(n);
        offset += std::uint64_t(n);
    }
}

} // namespace zpaq
