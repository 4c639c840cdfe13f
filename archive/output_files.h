// Positioned writes into the files of an OutputFolder from any worker
// thread. Each worker keeps a few of them open through a small cache.
#pragma once

#include "archive/output_folder.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zpaq {

/// Per-worker open handles on the folder's files, closed on destruction.
class FileWriterCache
{
public:
    explicit FileWriterCache(OutputFolder &folder) : m_folder(folder) {}
    ~FileWriterCache();
    FileWriterCache(const FileWriterCache &) = delete;
    FileWriterCache &operator=(const FileWriterCache &) = delete;

    /// Writes `size` bytes at `offset` of file `index`; throws on failure.
    void write(std::size_t index, std::uint64_t offset, const std::uint8_t *data, std::size_t size);

    OutputFolder &folder() { return m_folder; }

private:
    struct Entry
    {
        std::size_t index;
        int fd;
    };
    int handle(std::size_t index);

    OutputFolder &m_folder;
    std::vector<Entry> m_open;
    std::size_t m_nextVictim = 0;
};

/// Writes all of `data` at `offset` of `fd`; throws naming `name` on failure.
void writeAt(int fd, std::uint64_t offset, const std::uint8_t *data, std::size_t size,
             const std::string &name);

} // namespace zpaq
