// Reading of c, d, h and i blocks and the file table they build.
#include "journal.h"

#include "byte_reader.h"
#include "decode_error.h"
#include "zpaq_choices.h"

#include <cstring>

namespace zpaq {

namespace {

bool allDigits(const std::string &s, std::size_t from, std::size_t count)
{
    for (std::size_t i = from; i < from + count; ++i)
        if (s[i] < '0' || s[i] > '9')
            return false;
    return true;
}

} // namespace

bool parseJournalName(const std::string &name, JournalName &out)
{
    if (name.size() != 28 || name.compare(0, 3, "jDC") != 0 || !allDigits(name, 3, 14) ||
        !allDigits(name, 18, 10))
        return false;
    const char type = name[17];
    if (type != 'c' && type != 'd' && type != 'h' && type != 'i')
        return false;
    const unsigned long long number = std::stoull(name.substr(18));
    if (number > 0xFFFFFFFFull)
        return false;
    out.date = name.substr(3, 14);
    out.type = type;
    out.number = std::uint32_t(number);
    return true;
}

void Journal::requireTransaction(const JournalName &name) const
{
    ZPAQ_CHECK(m_inTransaction, "journaling %c block %u comes before any transaction header",
               name.type, name.number);
}

void Journal::closeTransaction()
{
    if (!m_inTransaction)
        return;
    ZPAQ_CHECK(std::uint64_t(m_csize) == m_dataBytes,
               "transaction %s at offset %zu declares %lld bytes of data blocks but has %llu "
               "(archive truncated or damaged)",
               m_date.c_str(), m_transactionOffset, static_cast<long long>(m_csize),
               static_cast<unsigned long long>(m_dataBytes));
    ZPAQ_CHECK(m_dataBlockCount == m_hashBlockCount,
               "transaction %s at offset %zu has %zu data blocks but %zu hash blocks "
               "(archive truncated or damaged)",
               m_date.c_str(), m_transactionOffset, m_dataBlockCount, m_hashBlockCount);
    m_inTransaction = false;
}

bool Journal::addTransaction(const JournalName &name, const std::vector<std::uint8_t> &data,
                             std::size_t offset)
{
    closeTransaction();
    ByteReader in(data.data(), data.size());
    const std::int64_t csize = std::int64_t(in.inU64le("transaction header"));
    if (csize < 0 && kStopAtNegativeCsize)
        return false;
    ++m_version;
    m_inTransaction = true;
    m_date = name.date;
    m_csize = csize;
    m_dataBytes = 0;
    m_dataBlockCount = 0;
    m_hashBlockCount = 0;
    m_transactionOffset = offset;
    return true;
}

void Journal::addDataBlock(const JournalName &name, std::size_t blockIndex,
                           std::size_t archiveBytes)
{
    requireTransaction(name);
    m_dataBlockByNumber[name.number] = blockIndex;
    m_dataBytes += archiveBytes;
    ++m_dataBlockCount;
}

void Journal::addHashBlock(const JournalName &name, const std::vector<std::uint8_t> &data)
{
    requireTransaction(name);
    ZPAQ_CHECK(data.size() >= 4 && (data.size() - 4) % 24 == 0,
               "hash block %u has %zu bytes, not 4 + 24 per fragment", name.number, data.size());
    const std::size_t count = (data.size() - 4) / 24;
    ++m_hashBlockCount;
    ZPAQ_CHECK(std::uint64_t(name.number) + count <= 0x100000000ull,
               "hash block %u numbers fragments past 2^32", name.number);
    const auto block = m_dataBlockByNumber.find(name.number);
    DataBlockContents *contents = nullptr;
    if (block != m_dataBlockByNumber.end()) {
        contents = &m_dataBlocks[block->second];
        ZPAQ_CHECK(contents->fragments.empty(), "data block %u is described by two hash blocks",
                   name.number);
    }
    ByteReader in(data.data(), data.size());
    in.inU32le("hash block");
    std::uint64_t offset = 0;
    for (std::size_t t = 0; t < count; ++t) {
        Fragment f;
        std::memcpy(f.sha1, in.inBytes(20, "fragment hash"), 20);
        f.size = in.inU32le("fragment size");
        f.offset = offset;
        f.block = contents ? block->second : Fragment::kNoBlock;
        offset += f.size;
        const std::uint32_t index = std::uint32_t(m_fragments.size());
        m_fragments.push_back(f);
        m_fragmentById[std::uint32_t(name.number + t)] = index;
        if (contents)
            contents->fragments.push_back(index);
    }
    if (contents)
        contents->dataSize = offset;
}

void Journal::addIndexBlock(const JournalName &name, const std::vector<std::uint8_t> &data)
{
    requireTransaction(name);
    ByteReader in(data.data(), data.size());
    while (!in.inEnd()) {
        const std::uint64_t date = in.inU64le("index record");
        std::string fileName;
        for (std::uint8_t c = in.inNext("file name"); c != 0; c = in.inNext("file name"))
            fileName.push_back(char(c));
        ++m_indexRecords;
        if (date == 0) {
            m_files.erase(fileName);
            continue;
        }
        FileVersion file;
        file.name = fileName;
        file.date = date;
        file.version = m_version;
        file.directory = !fileName.empty() && fileName.back() == '/';
        const std::uint32_t attributes = in.inU32le("attribute size");
        in.inBytes(attributes, "attributes");
        const std::uint32_t count = in.inU32le("fragment count");
        ZPAQ_CHECK(std::uint64_t(count) * 4 <= in.remaining(),
                   "index record of \"%s\" lists %u fragments past the end of its block",
                   fileName.c_str(), count);
        file.fragments.reserve(count);
        for (std::uint32_t k = 0; k < count; ++k) {
            const std::uint32_t id = in.inU32le("fragment id");
            const auto found = m_fragmentById.find(id);
            ZPAQ_CHECK(found != m_fragmentById.end(), "file \"%s\" refers to fragment %u, which is never defined",
                       fileName.c_str(), id);
            file.fragments.push_back(found->second);
            file.size += m_fragments[found->second].size;
        }
        m_totalVersionBytes += file.size;
        m_files[fileName] = std::move(file);
    }
}

void Journal::finish() { closeTransaction(); }

std::vector<const FileVersion *> Journal::latestFiles() const
{
    std::vector<const FileVersion *> files;
    for (const auto &entry : m_files)
        files.push_back(&entry.second);
    return files;
}

} // namespace zpaq
