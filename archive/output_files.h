// The files a journaling extraction writes: created at their final size
// before decoding starts, then filled at known offsets from any worker
// thread. Each worker keeps a few of them open through a small cache.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zpaq {

class OutputFiles
{
public:
    /// Creates (or truncates) `path` with `size` bytes and returns its index.
    /// Throws DecodeError when the file cannot be created.
    std::size_t create(const std::string &path, std::uint64_t size);
    const std::string &path(std::size_t index) const { return m_paths[index]; }
    std::size_t count() const { return m_paths.size(); }

private:
    std::vector<std::string> m_paths;
};

/// Per-worker open handles on OutputFiles, closed on destruction.
class FileWriterCache
{
public:
    explicit FileWriterCache(const OutputFiles &files) : m_files(files) {}
    ~FileWriterCache();
    FileWriterCache(const FileWriterCache &) = delete;
    FileWriterCache &operator=(const FileWriterCache &) = delete;

    /// Writes `size` bytes at `offset` of file `index`; throws on failure.
    void write(std::size_t index, std::uint64_t offset, const std::uint8_t *data, std::size_t size);

private:
    struct Entry
    {
        std::size_t index;
        int fd;
    };
    int handle(std::size_t index);

    const OutputFiles &m_files;
    std::vector<Entry> m_open;
    std::size_t m_nextVictim = 0;
};

/// Creates `path` as a new empty file (replacing any file there) and
/// returns its descriptor, or -1 with errno set.
int createFresh(const std::string &path);

/// Writes all of `data` at the end of `fd`; throws naming `path` on failure.
void writeAll(int fd, const std::uint8_t *data, std::size_t size, const std::string &path);

} // namespace zpaq
