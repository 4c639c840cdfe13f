// Journaling archives written version by version: the latest version of every
// file comes out, updates replace, deletions remove, shared fragments are
// stored once, and an unfinished last transaction is left out.
#include "extract_expectations.h"
#include "journal_writer.h"
#include "sample_data.h"

#include <gtest/gtest.h>

using namespace zpaqtest;

namespace {

constexpr quint64 kMay1 = 20240501080000, kMay2 = 20240502080000, kMay3 = 20240503080000,
                  kMay4 = 20240504080000, kMay5 = 20240505080000;

TEST(JournalRoundTrip, OneVersionWithFoldersEmptyFilesAndSharedFragments)
{
    JournalWriter w(64, 3);
    const QByteArray big = mixedBytes(1000, 11);
    const QByteArray repeated = QByteArray(64, 'r').repeated(9) + "tail";
    w.beginVersion(kMay1);
    w.putFile("big.bin", big);
    w.putFile("copy/of/big.bin", big); // every fragment shared with big.bin
    w.putFile("repeated.txt", repeated); // one fragment listed nine times
    w.putFile("empty.txt", "");
    w.putDirectory("folder/only/");
    w.commit();
    ExtractionRun run;
    ASSERT_EQ(run.extract(w.bytes()), 0) << qPrintable(run.errorText());
    EXPECT_EQ(run.files(), (Files{{"big.bin", big},
                                  {"copy/of/big.bin", big},
                                  {"repeated.txt", repeated},
                                  {"empty.txt", ""}}));
    EXPECT_TRUE(run.dirs().contains(QStringLiteral("folder/only")));
    EXPECT_EQ(run.strayEntries(), QStringList());
}

TEST(JournalRoundTrip, LatestVersionAfterUpdatesAndDeletions)
{
    JournalWriter w(100, 2);
    const QByteArray a1 = mixedBytes(950, 21);
    QByteArray a2 = a1;
    a2.replace(300, 50, QByteArray(50, 'X')); // most fragments unchanged
    const QByteArray d5 = mixedBytes(333, 23);
    w.beginVersion(kMay1);
    w.putFile("a.txt", a1);
    w.putFile("sub/c.txt", mixedBytes(420, 22));
    w.putFile("gone.txt", "short-lived");
    w.commit();
    w.beginVersion(kMay2);
    w.putFile("a.txt", a2);
    w.putFile("d.txt", "first d");
    w.deleteFile("gone.txt");
    w.commit();
    w.beginVersion(kMay3);
    w.deleteFile("sub/c.txt");
    w.commit();
    w.beginVersion(kMay4); // a version that only deletes: c then i, csize 0
    w.deleteFile("d.txt");
    w.commit();
    w.beginVersion(kMay5);
    w.putFile("d.txt", d5);
    w.commit();
    expectExtracts(w.bytes(), {{"a.txt", a2}, {"d.txt", d5}});
}

TEST(JournalRoundTrip, ManyDataBlocksInOneTransaction)
{
    JournalWriter w(50, 4); // 40 fragments in 10 d blocks and 10 h blocks
    Files files;
    w.beginVersion(kMay1);
    for (int i = 0; i < 8; ++i) {
        const QByteArray name = "n/" + QByteArray::number(i) + ".bin";
        const QByteArray content = mixedBytes(250, 100 + static_cast<uint32_t>(i));
        w.putFile(name, content);
        files.insert(QString::fromLatin1(name), content);
    }
    w.commit();
    expectExtracts(w.bytes(), files);
}

TEST(JournalRoundTrip, LaterVersionReusesEarlierFragmentsInAnyOrder)
{
    // Twelve pieces in six d blocks; the second version stores no data at all
    // (csize 0) and lists the old fragments backwards and twice.
    JournalWriter w(64, 2);
    QVector<QByteArray> pieces;
    QByteArray forward, backward;
    for (int i = 0; i < 12; ++i) {
        pieces.append(mixedBytes(64, 200 + static_cast<uint32_t>(i)));
        forward += pieces.last();
    }
    for (int i = 11; i >= 0; --i)
        backward += pieces[i];
    w.beginVersion(kMay1);
    w.putFile("forward.bin", forward);
    w.commit();
    w.beginVersion(kMay2);
    w.putFile("backward.bin", backward + backward);
    w.commit();
    expectExtracts(w.bytes(), {{"forward.bin", forward}, {"backward.bin", backward + backward}});
}

TEST(JournalRoundTrip, UnfinishedLastTransactionIsIgnored)
{
    JournalWriter w(64, 4);
    const QByteArray kept = mixedBytes(200, 31);
    w.beginVersion(kMay1);
    w.putFile("kept.txt", kept);
    w.commit();
    w.beginVersion(kMay2); // csize -1: the update never finished
    w.putFile("kept.txt", "overwritten by a broken update");
    w.putFile("new.txt", "from the broken update");
    w.commitIncomplete();
    ExtractionRun run;
    const int result = run.extract(w.bytes());
    EXPECT_TRUE(result == 0 || result == 1) << result << qPrintable(run.errorText());
    EXPECT_EQ(run.files(), (Files{{"kept.txt", kept}}));
    EXPECT_EQ(run.strayEntries(), QStringList());
}

TEST(JournalRoundTrip, JoinedArchivesRestartingFragmentNumbersAreNotMixed)
{
    // Two separately written one-version archives joined: both number their
    // fragments from 1. Each index must bind to the fragments of its own
    // transaction; refusing the archive is acceptable, mixing them is not.
    const QByteArray first = mixedBytes(300, 41), second = mixedBytes(300, 42);
    JournalWriter w(100, 8);
    w.beginVersion(kMay1);
    w.putFile("a.txt", first);
    w.putFile("b.txt", first.left(100));
    w.commit();
    w.restartFragmentIds();
    w.beginVersion(kMay2);
    w.putFile("a.txt", second);
    w.commit();
    ExtractionRun run;
    const int result = run.extract(w.bytes());
    if (result == 0) {
        EXPECT_EQ(run.files(), (Files{{"a.txt", second}, {"b.txt", first.left(100)}}));
    } else {
        EXPECT_EQ(result, 2);
    }
    EXPECT_EQ(run.strayEntries(), QStringList());
}

} // namespace
