// The journaling layer: transactions of c (header), d (fragment data), h
// (fragment hashes and sizes) and i (file index) blocks. It keeps the
// fragment table, binds each file version to its fragments when its index
// record is read, and yields the latest version of every file. All it holds
// is counted against one memory budget for the whole archive.
#pragma once

#include "archive/zpaq_choices.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace zpaq {

/// The parts of a journaling segment name "jDC" + 14-digit date + type +
/// 10-digit number.
struct JournalName
{
    std::string date;
    char type = 0; // 'c', 'd', 'h' or 'i'
    std::uint32_t number = 0;
};

/// False when the name is not a journaling name (a streaming segment).
bool parseJournalName(const std::string &name, JournalName &out);

struct Fragment
{
    static constexpr std::size_t kNoBlock = std::size_t(-1);
    std::size_t block = kNoBlock; // scanned index of the d block holding it
    std::uint64_t offset = 0;     // in that block's decoded data
    std::uint32_t size = 0;
    std::uint8_t sha1[20] = {};
};

/// Consecutive fragments of one d block: indexes first .. first + count - 1
/// into Journal::fragments().
struct FragmentRun
{
    std::uint32_t first;
    std::uint32_t count;
};

struct FileVersion
{
    std::string name;
    std::uint64_t date = 0;
    int version = 0;
    bool directory = false;
    std::uint64_t size = 0;
    std::vector<FragmentRun> runs; // the file's fragments in order
};

/// Fragments a d block holds, in order, as its h block describes them:
/// indexes firstFragment .. firstFragment + count - 1.
struct DataBlockContents
{
    std::uint32_t firstFragment = 0;
    std::uint32_t count = 0;
    std::uint64_t dataSize = 0; // sum of the fragment sizes, without the trailer
    bool described = false;
};

class Journal
{
public:
    explicit Journal(std::uint64_t memoryBudget = kIndexMemoryBudget);

    /// A c block. Returns false when it marks an unfinished transaction, after
    /// which nothing more of the archive is read.
    bool addTransaction(const JournalName &name, const std::vector<std::uint8_t> &data,
                        std::size_t offset);
    /// A d block; `archiveBytes` counts it from its tag to its final byte.
    void addDataBlock(const JournalName &name, std::size_t blockIndex, std::size_t archiveBytes);
    void addHashBlock(const JournalName &name, const std::vector<std::uint8_t> &data);
    void addIndexBlock(const JournalName &name, const std::vector<std::uint8_t> &data);
    /// Checks the last transaction once the archive has been read.
    void finish();

    int versions() const { return m_version; }
    const std::vector<Fragment> &fragments() const { return m_fragments; }
    const std::map<std::size_t, DataBlockContents> &dataBlocks() const { return m_dataBlocks; }
    /// Every file whose latest record is not a deletion, in name order.
    std::vector<const FileVersion *> latestFiles() const;
    /// Sum of the sizes of every file version ever recorded.
    std::uint64_t totalVersionBytes() const { return m_totalVersionBytes; }
    /// Index records read, deletions included.
    int indexRecords() const { return m_indexRecords; }

    /// Counts `bytes` more (or fewer) against the memory budget; throws
    /// DecodeError when the budget is exceeded.
    void charge(std::int64_t bytes);

private:
    struct IdRange
    {
        std::uint32_t count;
        std::uint32_t firstIndex;
    };
    void requireTransaction(const JournalName &name) const;
    void closeTransaction();
    void defineIds(std::uint32_t first, std::uint32_t count, std::uint32_t firstIndex);
    /// Index of fragment `id`, or -1 when it is not defined.
    std::int64_t fragmentOf(std::uint32_t id) const;
    static std::int64_t recordMemory(const std::string &name, const FileVersion &file);

    int m_version = 0;
    bool m_inTransaction = false;
    std::string m_date;
    std::int64_t m_csize = 0;
    std::uint64_t m_dataBytes = 0;
    std::size_t m_dataBlockCount = 0;
    std::size_t m_hashBlockCount = 0;
    std::size_t m_transactionOffset = 0;
    std::map<std::uint32_t, std::size_t> m_dataBlockByNumber;
    std::map<std::uint32_t, IdRange> m_ids; // by first id; the latest definition wins
    std::vector<Fragment> m_fragments;
    std::map<std::size_t, DataBlockContents> m_dataBlocks;
    std::map<std::string, FileVersion> m_files;
    std::uint64_t m_totalVersionBytes = 0;
    int m_indexRecords = 0;
    std::uint64_t m_budget;
    std::uint64_t m_memory = 0;
};

} // namespace zpaq
