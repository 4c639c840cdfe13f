// Reading of c, d, h and i blocks and the file table they build.
#include "archive/journal.h"

#include "archive/byte_reader.h"
#include "archive/decode_error.h"
#include "archive/zpaq_choices.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace zpaq {

namespace {

// What a map or tree entry costs beyond its contents.
constexpr std::int64_t kMapEntryBytes = 64;

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

Journal::Journal(std::uint64_t memoryBudget) : m_budget(memoryBudget) {}

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
    ZPAQ_CHECK(m_fragments.size() + count < 0xFFFFFFFFull, "more than 2^32 fragments");
    charge(kMapEntryBytes);
    // The table grows by half at a time; what it holds is counted.
    const std::size_t needed = m_fragments.size() + count;
    if (needed > m_fragments.capacity()) {
        const std::size_t capacity = std::max(needed, m_fragments.capacity() * 3 / 2);
        charge(std::int64_t((capacity - m_fragments.capacity()) * sizeof(Fragment)));
        m_fragments.reserve(capacity);
    }
    const auto block = m_dataBlockByNumber.find(name.number);
    DataBlockContents *contents = nullptr;
    if (block != m_dataBlockByNumber.end()) {
        contents = &m_dataBlocks[block->second];
        ZPAQ_CHECK(!contents->described, "data block %u is described by two hash blocks",
                   name.number);
        contents->described = true;
        contents->firstFragment = std::uint32_t(m_fragments.size());
        contents->count = std::uint32_t(count);
    }
    defineIds(name.number, std::uint32_t(count), std::uint32_t(m_fragments.size()));
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
        m_fragments.push_back(f);
    }
    if (contents)
        contents->dataSize = offset;
}

// Fragment ids map to indexes in ranges, one per hash block; a later hash
// block that numbers ids again (archives joined from separate ones) takes
// them over.
void Journal::defineIds(std::uint32_t first, std::uint32_t count, std::uint32_t firstIndex)
{
    const std::uint64_t end = std::uint64_t(first) + count;
    std::vector<std::pair<std::uint32_t, IdRange>> tails;
    auto it = m_ids.upper_bound(first);
    if (it != m_ids.begin()) {
        auto before = std::prev(it);
        const std::uint64_t beforeEnd = std::uint64_t(before->first) + before->second.count;
        if (beforeEnd > end)
            tails.push_back({std::uint32_t(end),
                             {std::uint32_t(beforeEnd - end),
                              before->second.firstIndex + std::uint32_t(end - before->first)}});
        if (beforeEnd > first)
            before->second.count = first - before->first;
        if (before->second.count == 0)
            m_ids.erase(before);
    }
    for (it = m_ids.lower_bound(first); it != m_ids.end() && it->first < end;) {
        const std::uint64_t itEnd = std::uint64_t(it->first) + it->second.count;
        if (itEnd > end)
            tails.push_back({std::uint32_t(end),
                             {std::uint32_t(itEnd - end),
                              it->second.firstIndex + std::uint32_t(end - it->first)}});
        it = m_ids.erase(it);
    }
    for (const auto &tail : tails)
        m_ids.insert(tail);
    if (count > 0)
        m_ids[first] = {count, firstIndex};
}

std::int64_t Journal::fragmentOf(std::uint32_t id) const
{
    auto it = m_ids.upper_bound(id);
    if (it == m_ids.begin())
        return -1;
    --it;
    if (id - it->first >= it->second.count)
        return -1;
    return std::int64_t(it->second.firstIndex) + (id - it->first);
}

void Journal::charge(std::int64_t bytes)
{
    m_memory = std::uint64_t(std::int64_t(m_memory) + bytes);
    ZPAQ_CHECK(m_memory <= m_budget,
               "the archive's index and block list need more than %llu MiB of memory",
               static_cast<unsigned long long>(m_budget >> 20));
}

std::int64_t Journal::recordMemory(const std::string &name, const FileVersion &file)
{
    return std::int64_t(2 * name.size() + sizeof(FileVersion) + kMapEntryBytes +
                        file.runs.capacity() * sizeof(FragmentRun));
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
        const auto old = m_files.find(fileName);
        if (old != m_files.end()) {
            charge(-recordMemory(old->first, old->second));
            m_files.erase(old);
        }
        if (date == 0)
            continue;
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
        // Two passes: count the runs of consecutive fragments of one block,
        // then keep exactly that many, so the budget is checked first.
        for (int pass = 0; pass < 2; ++pass) {
            ByteReader ids(in.here(), std::size_t(count) * 4, in.offset());
            std::size_t runs = 0;
            std::int64_t previous = -2;
            for (std::uint32_t k = 0; k < count; ++k) {
                const std::uint32_t id = ids.inU32le("fragment id");
                const std::int64_t index = fragmentOf(id);
                ZPAQ_CHECK(index >= 0, "file \"%s\" refers to fragment %u, which is never defined",
                           fileName.c_str(), id);
                const Fragment &fragment = m_fragments[std::size_t(index)];
                const bool continues = index == previous + 1 &&
                                       m_fragments[std::size_t(previous)].block == fragment.block;
                previous = index;
                if (pass == 0) {
                    runs += continues ? 0 : 1;
                    continue;
                }
                if (continues)
                    ++file.runs.back().count;
                else
                    file.runs.push_back({std::uint32_t(index), 1});
                file.size += fragment.size;
            }
            if (pass == 0) {
                charge(recordMemory(fileName, file) + std::int64_t(runs * sizeof(FragmentRun)));
                file.runs.reserve(runs);
            }
        }
        in.inBytes(std::size_t(count) * 4, "fragment ids");
        m_totalVersionBytes += file.size;
        m_files.emplace(fileName, std::move(file));
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
