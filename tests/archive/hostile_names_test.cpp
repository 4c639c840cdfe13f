// Archives that try to make extraction depend on timing or leave damage
// behind: names decided in archive order whatever the thread count, names
// the file system cannot hold, damaged data over an existing file, control
// characters in names, and blocks whose output goes nowhere.
#include "archive/archive_extractor.h"
#include "block_writer.h"
#include "extraction_run.h"
#include "journal_blocks.h"
#include "journal_writer.h"
#include "sample_data.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace zpaqtest;

namespace {

constexpr quint64 kDate = 20240102030405ull;

QByteArray journalWith(const QVector<QPair<QByteArray, QByteArray>> &files,
                       const JournalWriter::DataBlockWriter &dataWriter = nullptr)
{
    JournalWriter w(4096, 8);
    if (dataWriter)
        w.setDataBlockWriter(dataWriter);
    w.beginVersion(kDate);
    for (const auto &f : files)
        w.putFile(f.first, f.second);
    w.commit();
    return w.bytes();
}

// Two streamed blocks naming one file: the first in the archive wins on any
// number of threads, the second is refused with a warning.
TEST(HostileNames, SameStreamedNameGivesTheSameResultOnAnyThreadCount)
{
    const QByteArray first = mixedBytes(300000, 1), second = mixedBytes(200, 2);
    const QByteArray archive = storedBlock({fileSegment("same.bin", first)}) +
                               storedBlock({fileSegment("same.bin", second)});
    for (unsigned threads : {1u, 8u, 1u, 8u}) {
        ExtractionRun run;
        zpaq::ExtractOptions options;
        options.threads = threads;
        const zpaq::ExtractReport r = run.extractWith(archive, options);
        EXPECT_EQ(r.result, 1) << threads;
        EXPECT_EQ(r.blocksDecoded, 1u) << threads; // the refused copy is not decoded
        EXPECT_TRUE(run.files() == (QMap<QString, QByteArray>{{"same.bin", first}})) << threads;
    }
}

// A component too long for the file system, in a journal and in a stream:
// a warning, result 1, the other files whole, nothing unfinished left.
TEST(HostileNames, NameTheFileSystemCannotHoldIsSkipped)
{
    const QByteArray longName = "dir/" + QByteArray(300, 'n') + "/f.txt";
    const QByteArray content = mixedBytes(9000, 3);
    const QByteArray journal =
        journalWith({{"a.txt", content}, {longName, content}, {"z.txt", "last"}});
    for (const QByteArray &archive :
         {journal, storedBlock({fileSegment("a.txt", content), fileSegment(longName, content),
                                fileSegment("z.txt", "last")})}) {
        ExtractionRun run;
        EXPECT_EQ(run.extract(archive), 1) << qPrintable(run.errorText());
        EXPECT_EQ(run.files(), (QMap<QString, QByteArray>{{"a.txt", content}, {"z.txt", "last"}}));
        EXPECT_TRUE(run.errorText().contains("zpaq warning:")) << qPrintable(run.errorText());
        EXPECT_EQ(run.strayEntries(), QStringList());
    }
}

// Damaged data in a file's last fragment, or a streamed file whose second
// segment fails its check: the extraction fails, the copy already in the
// folder stays as it was, no partial file is left.
TEST(HostileNames, DamagedFileLeavesThePreviousCopy)
{
    const QByteArray content = mixedBytes(10000, 4); // fragments of 4096, 4096, 1808
    SegmentSpec damaged = fileSegment("", content);
    damaged.trailer = Trailer::WrongSha1;
    const QByteArray archives[] = {
        journalWith({{"kept.txt", content}},
                    [](const SegmentSpec &seg) {
                        SegmentSpec bad = seg;
                        bad.output[9000] = char(bad.output[9000] ^ 1);
                        bad.trailer = Trailer::NoSha1;
                        return storedBlock({bad});
                    }),
        storedBlock({fileSegment("kept.txt", content), damaged})};
    for (const QByteArray &archive : archives) {
        ExtractionRun run;
        QFile old(run.outDir() + "/kept.txt");
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("previous copy");
        old.close();
        EXPECT_EQ(run.extract(archive), 2);
        EXPECT_TRUE(run.errorText().contains("SHA-1 mismatch")) << qPrintable(run.errorText());
        EXPECT_EQ(run.files(), (QMap<QString, QByteArray>{{"kept.txt", "previous copy"}}));
    }
}

// Control characters in names are replaced by '_' in the file name and shown
// escaped in messages, so an archive cannot print lines of its own.
TEST(HostileNames, ControlCharactersAreReplacedAndEscaped)
{
    const QByteArray fake = "../x\nzpaq error: fake\x1b[2J\x07";
    const QByteArray archive = storedBlock({fileSegment("bell\x07" "a\nb.txt", "ok"),
                                            fileSegment(fake, "evil")});
    ExtractionRun run;
    EXPECT_EQ(run.extract(archive), 1);
    EXPECT_EQ(run.files(), (QMap<QString, QByteArray>{{"bell_a_b.txt", "ok"}}));
    EXPECT_EQ(run.errorText().count('\n'), 1) << qPrintable(run.errorText());
    EXPECT_TRUE(run.errorText().contains("x\\x0Azpaq error: fake\\x1B[2J\\x07"))
        << qPrintable(run.errorText());
    EXPECT_FALSE(run.errorText().contains('\x1b'));
}

// Many blocks whose names are refused, and names too deep, cost no decoding
// and no folder walks.
TEST(HostileNames, BlocksThatWriteNothingAreNotDecoded)
{
    QByteArray archive;
    for (int i = 0; i < 199; ++i)
        archive += storedBlock({fileSegment("../refused.txt", mixedBytes(5000, 5))});
    QByteArray deep;
    for (int i = 0; i < 2000; ++i)
        deep += "d/";
    for (int i = 0; i < 50; ++i)
        archive += storedBlock({fileSegment(deep + QByteArray::number(i), "")});
    archive += storedBlock({fileSegment("fine.txt", "fine")});
    ExtractionRun run;
    const zpaq::ExtractReport r = run.extractWith(archive, zpaq::ExtractOptions());
    EXPECT_EQ(r.result, 1);
    EXPECT_EQ(r.warnings.size(), 249u);
    EXPECT_EQ(r.blocksDecoded, 1u);
    EXPECT_EQ(run.files(), (QMap<QString, QByteArray>{{"fine.txt", "fine"}}));
    EXPECT_EQ(run.dirs(), QStringList());
}

} // namespace
