// The journaling layer on hand-built c, h and i block contents: version
// numbering, deletions, fragment binding at the time an index record is
// read (also when numbering restarts), and every malformed record.
#include "archive/decode_error.h"
#include "archive/journal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zpaq;

namespace {

using Bytes = std::vector<std::uint8_t>;

void putLe(Bytes &b, std::uint64_t v, int n)
{
    for (int i = 0; i < n; ++i)
        b.push_back(std::uint8_t(v >> (8 * i)));
}

JournalName name(char type, std::uint32_t number, const char *date = "20240101120000")
{
    JournalName n;
    n.type = type;
    n.number = number;
    n.date = date;
    return n;
}

Bytes csize(std::int64_t v)
{
    Bytes b;
    putLe(b, std::uint64_t(v), 8);
    return b;
}

// h block: bsize, then per fragment 20 bytes of SHA-1 (all `tag`) and size.
Bytes hashBlock(const std::vector<std::uint32_t> &sizes, std::uint8_t tag = 0)
{
    Bytes b;
    putLe(b, 100, 4);
    for (std::uint32_t s : sizes) {
        b.insert(b.end(), 20, tag);
        putLe(b, s, 4);
    }
    return b;
}

// i record: date, name, 3 attribute bytes, fragment ids.
void record(Bytes &b, const std::string &file, const std::vector<std::uint32_t> &ids,
            std::uint64_t date = 20240101120000ull)
{
    putLe(b, date, 8);
    b.insert(b.end(), file.begin(), file.end());
    b.push_back(0);
    if (date == 0)
        return;
    putLe(b, 3, 4);
    b.insert(b.end(), {'u', 0xA4, 0x81});
    putLe(b, ids.size(), 4);
    for (std::uint32_t id : ids)
        putLe(b, id, 4);
}

std::string errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const DecodeError &e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(JournalName, OnlyWellFormedNamesAreJournaling)
{
    JournalName n;
    ASSERT_TRUE(parseJournalName("jDC20150508060217d0000000003", n));
    EXPECT_EQ(n.type, 'd');
    EXPECT_EQ(n.number, 3u);
    EXPECT_EQ(n.date, "20150508060217");
    EXPECT_TRUE(parseJournalName("jDC20150508060217c4294967295", n));
    EXPECT_FALSE(parseJournalName("jDC20150508060217c4294967296", n)); // above 32 bits
    EXPECT_FALSE(parseJournalName("jDC20150508060217x0000000001", n));
    EXPECT_FALSE(parseJournalName("jDC2015050806021Xc0000000001", n));
    EXPECT_FALSE(parseJournalName("jDC20150508060217c000000001", n));
    EXPECT_FALSE(parseJournalName("JDC20150508060217c0000000001", n));
    EXPECT_FALSE(parseJournalName("t.txt", n));
}

TEST(Journal, LatestRecordWinsAndDeletionsRemoveFiles)
{
    Journal j;
    ASSERT_TRUE(j.addTransaction(name('c', 1), csize(10), 0));
    j.addDataBlock(name('d', 1), 0, 10);
    j.addHashBlock(name('h', 1), hashBlock({5, 7}));
    Bytes index;
    record(index, "a.txt", {1, 2, 1});
    record(index, "b.txt", {2});
    record(index, "dir/", {});
    j.addIndexBlock(name('i', 1), index);
    ASSERT_TRUE(j.addTransaction(name('c', 3, "20240102000000"), csize(0), 50));
    Bytes second;
    record(second, "b.txt", {}, 0);
    record(second, "a.txt", {2});
    j.addIndexBlock(name('i', 1), second);
    j.finish();
    EXPECT_EQ(j.versions(), 2);
    EXPECT_EQ(j.indexRecords(), 5);
    EXPECT_EQ(j.totalVersionBytes(), 5u + 7 + 5 + 7 + 0 + 7);
    const auto files = j.latestFiles();
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0]->name, "a.txt");
    EXPECT_EQ(files[0]->version, 2);
    EXPECT_EQ(files[0]->size, 7u);
    EXPECT_EQ(files[1]->name, "dir/");
    EXPECT_TRUE(files[1]->directory);
    // Fragment 2 sits after fragment 1 in data block 0.
    const Fragment &f = j.fragments()[files[0]->runs[0].first];
    EXPECT_EQ(f.block, 0u);
    EXPECT_EQ(f.offset, 5u);
}

TEST(Journal, RestartedNumberingBindsEachRecordToTheFragmentsOfItsTime)
{
    Journal j;
    ASSERT_TRUE(j.addTransaction(name('c', 1), csize(10), 0));
    j.addDataBlock(name('d', 1), 0, 10);
    j.addHashBlock(name('h', 1), hashBlock({4}, 0xAA));
    Bytes first;
    record(first, "old.txt", {1});
    j.addIndexBlock(name('i', 1), first);
    // A joined archive: the next transaction starts again at fragment 1.
    ASSERT_TRUE(j.addTransaction(name('c', 1), csize(20), 100));
    j.addDataBlock(name('d', 1), 3, 20);
    j.addHashBlock(name('h', 1), hashBlock({9}, 0xBB));
    Bytes second;
    record(second, "new.txt", {1});
    j.addIndexBlock(name('i', 1), second);
    j.finish();
    const auto files = j.latestFiles();
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0]->name, "new.txt");
    EXPECT_EQ(j.fragments()[files[0]->runs[0].first].block, 3u);
    EXPECT_EQ(files[0]->size, 9u);
    EXPECT_EQ(j.fragments()[files[1]->runs[0].first].block, 0u);
    EXPECT_EQ(files[1]->size, 4u);
}

// A later hash block that numbers some ids again takes over just those ids;
// a file's references are kept as runs of consecutive fragments.
TEST(Journal, RenumberedIdsAreTakenOverOneByOneAndReferencesKeptAsRuns)
{
    Journal j;
    ASSERT_TRUE(j.addTransaction(name('c', 1), csize(10), 0));
    j.addDataBlock(name('d', 1), 0, 10);
    j.addHashBlock(name('h', 1), hashBlock({1, 2, 3, 4})); // ids 1..4: fragments 0..3
    ASSERT_TRUE(j.addTransaction(name('c', 2), csize(10), 50));
    j.addDataBlock(name('d', 3), 5, 10);
    j.addHashBlock(name('h', 3), hashBlock({30})); // id 3: fragment 4
    Bytes index;
    record(index, "f", {1, 2, 3, 4, 4});
    j.addIndexBlock(name('i', 1), index);
    j.finish();
    const auto files = j.latestFiles();
    ASSERT_EQ(files.size(), 1u);
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> expected{{0, 2}, {4, 1}, {3, 1}, {3, 1}};
    std::vector<std::pair<std::uint32_t, std::uint32_t>> runs;
    for (const FragmentRun &r : files[0]->runs)
        runs.emplace_back(r.first, r.count);
    EXPECT_EQ(runs, expected);
    EXPECT_EQ(files[0]->size, 1u + 2 + 30 + 4 + 4);
}

// The index memory counts what is held now: records replaced or deleted give
// theirs back, and one record too large for the budget is refused.
TEST(Journal, IndexMemoryBudgetCountsWhatIsHeld)
{
    Journal j(64 * 1024);
    ASSERT_TRUE(j.addTransaction(name('c', 1), csize(10), 0));
    j.addDataBlock(name('d', 1), 0, 10);
    j.addHashBlock(name('h', 1), hashBlock({1}));
    const std::vector<std::uint32_t> ids(1000, 1); // 1000 runs of one fragment
    for (int round = 0; round < 50; ++round) {
        Bytes index;
        record(index, "f", ids);
        record(index, "g", ids);
        record(index, "g", {}, 0);
        ASSERT_NO_THROW(j.addIndexBlock(name('i', 1), index)) << round;
    }
    Bytes tooMuch;
    record(tooMuch, "h", std::vector<std::uint32_t>(8000, 1));
    const std::string error = errorOf([&] { j.addIndexBlock(name('i', 1), tooMuch); });
    EXPECT_NE(error.find("need more than"), std::string::npos) << error;
}

TEST(Journal, NegativeCsizeEndsTheArchive)
{
    Journal j;
    EXPECT_FALSE(j.addTransaction(name('c', 1), csize(-1), 0));
    EXPECT_EQ(j.versions(), 0);
}

TEST(Journal, MalformedContentsAreRefused)
{
    struct Case
    {
        const char *what;
        std::function<void(Journal &)> run;
        const char *reason;
    } cases[] = {
        {"c block shorter than 8 bytes",
         [](Journal &j) { j.addTransaction(name('c', 1), Bytes(7, 0), 0); }, "truncated"},
        {"d block before any c block", [](Journal &j) { j.addDataBlock(name('d', 1), 0, 5); },
         "before any transaction"},
        {"h block of a bad length",
         [](Journal &j) {
             j.addTransaction(name('c', 1), csize(0), 0);
             Bytes h = hashBlock({1});
             h.pop_back();
             j.addHashBlock(name('h', 1), h);
         },
         "not 4 + 24 per fragment"},
        {"two h blocks for one d block",
         [](Journal &j) {
             j.addTransaction(name('c', 1), csize(5), 0);
             j.addDataBlock(name('d', 1), 0, 5);
             j.addHashBlock(name('h', 1), hashBlock({1}));
             j.addHashBlock(name('h', 1), hashBlock({1}));
         },
         "described by two hash blocks"},
        {"undefined fragment",
         [](Journal &j) {
             j.addTransaction(name('c', 1), csize(0), 0);
             Bytes i;
             record(i, "a", {7});
             j.addIndexBlock(name('i', 1), i);
         },
         "fragment 7, which is never defined"},
        {"fragment list past the end",
         [](Journal &j) {
             j.addTransaction(name('c', 1), csize(0), 0);
             Bytes i;
             record(i, "a", {});
             i[i.size() - 4] = 200; // claims 200 ids, holds none
             j.addIndexBlock(name('i', 1), i);
         },
         "lists 200 fragments past the end"},
        {"record cut inside its name",
         [](Journal &j) {
             j.addTransaction(name('c', 1), csize(0), 0);
             Bytes i;
             putLe(i, 1, 8);
             i.push_back('a');
             j.addIndexBlock(name('i', 1), i);
         },
         "file name"},
        {"attributes past the end",
         [](Journal &j) {
             j.addTransaction(name('c', 1), csize(0), 0);
             Bytes i;
             putLe(i, 1, 8);
             i.push_back(0);
             putLe(i, 0xFFFFFFFF, 4);
             j.addIndexBlock(name('i', 1), i);
         },
         "attributes"},
        {"data blocks larger than declared",
         [](Journal &j) {
             j.addTransaction(name('c', 1), csize(5), 0);
             j.addDataBlock(name('d', 1), 0, 6);
             j.addHashBlock(name('h', 1), hashBlock({1}));
             j.finish();
         },
         "declares 5 bytes of data blocks but has 6"},
        {"data block without its hash block",
         [](Journal &j) {
             j.addTransaction(name('c', 1), csize(5), 0);
             j.addDataBlock(name('d', 1), 0, 5);
             j.addTransaction(name('c', 2), csize(0), 9);
         },
         "1 data blocks but 0 hash blocks"},
    };
    for (const Case &c : cases) {
        Journal j;
        const std::string error = errorOf([&] { c.run(j); });
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    }
}
