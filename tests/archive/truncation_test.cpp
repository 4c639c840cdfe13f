// Archives cut short at every byte: inside a tag, a header, HCOMP, a segment's
// name, a chunk length, stored or coded data, the end marker, the SHA-1 or the
// final FF. A cut inside a block is an error with a reason, never a crash.
#include "arith_encoder.h"
#include "archive/block_decoder.h"
#include "archive/block_scanner.h"
#include "block_writer.h"
#include "components.h"
#include "extraction_run.h"
#include "journal_writer.h"
#include "real_archives.h"
#include "sample_data.h"
#include "zpaql.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zpaqtest;

namespace {

// Journal version (c d h i), then a modelled block of two segments and a stored
// block with a post-processor, all tagged; returns the archive and the block starts.
QByteArray compositeArchive(QVector<int> &blockStarts)
{
    JournalWriter w(40, 2);
    w.beginVersion(20240701000000);
    w.putFile("j/one.txt", mixedBytes(90, 1));
    w.putFile("j/two.txt", "two");
    w.commit();

    BlockSpec modelled;
    modelled.level = 1;
    modelled.add(comp::constant(128));
    modelled.hcomp = zpaql::Program().op(zpaql::HALT).bytes();

    using namespace zpaqtest::zpaql;
    const QByteArray identity = Program().yn(GT, 255).jump(JT, 5).op(OUT).op(HALT).bytes();

    const QByteArray archive =
        w.bytes()
        + flatModelledBlock(modelled, {fileSegment("m1.txt", "coded one"), fileSegment("m2.txt", "two")})
        + storedBlock({fileSegment("s1.txt", mixedBytes(30, 2)), fileSegment("s2.txt", "")}, true,
                      identity);
    for (int at = archive.indexOf(locatorTag()); at >= 0; at = archive.indexOf(locatorTag(), at + 1))
        blockStarts.append(at);
    blockStarts.append(archive.size());
    return archive;
}

TEST(Truncation, EveryCutInsideABlockIsAnError)
{
    QVector<int> starts;
    const QByteArray archive = compositeArchive(starts);
    ASSERT_EQ(starts.size(), 9); // c d d h h i, modelled, stored, end
    {
        ExtractionRun whole;
        ASSERT_EQ(whole.extract(archive), 0) << qPrintable(whole.errorText());
        ASSERT_EQ(whole.files().size(), 6);
    }
    constexpr int kTagAndMagic = 16;
    for (int block = 0; block + 1 < starts.size(); ++block) {
        for (int cut = starts[block]; cut < starts[block + 1]; ++cut) {
            ExtractionRun run;
            const int result = run.extract(archive.left(cut));
            const int offset = cut - starts[block];
            // A cut inside a later block's tag leaves bytes a reader may skip.
            const bool mustFail = block == 0 || offset >= kTagAndMagic;
            if (mustFail) {
                EXPECT_EQ(result, 2) << "block " << block << " offset " << offset;
                EXPECT_TRUE(run.hasErrorReason()) << "block " << block << " offset " << offset;
            }
            EXPECT_EQ(run.strayEntries(), QStringList()) << "block " << block << " offset " << offset;
        }
    }
}

TEST(Truncation, RealJournalCutShort)
{
    QFile f(realArchive(QStringLiteral("journal-7-versions.zpaq")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray archive = f.readAll();
    for (int cut : {1000, 12000, archive.size() - 30, archive.size() - 1}) {
        ExtractionRun run;
        EXPECT_EQ(run.extract(archive.left(cut)), 2) << "cut at " << cut;
        EXPECT_TRUE(run.hasErrorReason()) << "cut at " << cut;
        EXPECT_EQ(run.strayEntries(), QStringList());
    }
}

// An archive that becomes shorter after its layout was read (another
// process truncating it): reading what is gone is a clear error, not a
// signal, for stored and modelled data alike.
TEST(Truncation, ArchiveShrinkingWhileReadIsAnError)
{
    QVector<int> starts;
    const QByteArray archive = compositeArchive(starts);
    QTemporaryDir dir;
    QFile f(dir.filePath("a.zpaq"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(archive);
    f.close();
    const zpaq::ArchiveInput input(f.fileName().toStdString());
    zpaq::BlockScanner scanner(input);
    std::vector<zpaq::BlockLayout> blocks(1);
    while (scanner.next(blocks.back()))
        blocks.emplace_back();
    blocks.pop_back();
    ASSERT_GE(blocks.size(), 3u);
    ASSERT_TRUE(f.resize(blocks[blocks.size() - 2].start + 10));
    for (std::size_t i = blocks.size() - 2; i < blocks.size(); ++i) {
        struct : zpaq::BlockOutput {
            void beginSegment(std::size_t, const zpaq::SegmentLayout &) override {}
            void write(const std::uint8_t *, std::size_t) override {}
        } out;
        try {
            zpaq::decodeBlock(input, blocks[i], out);
            ADD_FAILURE() << "block " << i << " decoded from a truncated file";
        } catch (const zpaq::DecodeError &e) {
            EXPECT_NE(std::string(e.what()).find("became shorter"), std::string::npos) << e.what();
        }
    }
}

} // namespace
