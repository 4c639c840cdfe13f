// The journaling layer: transactions of c (header), d (fragment data), h
// (fragment hashes and sizes) and i (file index) blocks. It keeps the
// fragment table, binds each file version to its fragments when its index
// record is read, and yields the latest version of every file.
#pragma once

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

struct FileVersion
{
    std::string name;
    std::uint64_t date = 0;
    int version = 0;
    bool directory = false;
    std::uint64_t size = 0;
    std::vector<std::uint32_t> fragments; // indexes into Journal::fragments()
};

/// Fragments a d block holds, in order, as its h block describes them.
struct DataBlockContents
{
    std::vector<std::uint32_t> fragments;
    std::uint64_t dataSize = 0; // sum of the fragment sizes, without the trailer
};

class Journal
{
public:
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

private:
    void requireTransaction(const JournalName &name) const;
    void closeTransaction();

    int m_version = 0;
    bool m_inTransaction = false;
    std::string m_date;
    std::int64_t m_csize = 0;
    std::uint64_t m_dataBytes = 0;
    std::size_t m_dataBlockCount = 0;
    std::size_t m_hashBlockCount = 0;
    std::size_t m_transactionOffset = 0;
    std::map<std::uint32_t, std::size_t> m_dataBlockByNumber;
    std::map<std::uint32_t, std::uint32_t> m_fragmentById; // latest definition wins
    std::vector<Fragment> m_fragments;
    std::map<std::size_t, DataBlockContents> m_dataBlocks;
    std::map<std::string, FileVersion> m_files;
    std::uint64_t m_totalVersionBytes = 0;
    int m_indexRecords = 0;
};

} // namespace zpaq
