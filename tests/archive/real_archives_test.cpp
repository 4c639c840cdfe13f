// End-to-end extraction of archives written by real archivers: every
// segment and fragment SHA-1 verifies, the journaled file's latest version
// is an intact PNG, streamed segments become the files they name, and any
// damaged copy is refused without a crash.
#include "archive/archive_extractor.h"
#include "archive/extract_archive.h"
#include "real_archives.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

namespace {

using zpaqtest::realArchive;

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::uint32_t crc32(const char *data, int size)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (int i = 0; i < size; ++i) {
        crc ^= std::uint8_t(data[i]);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

std::uint32_t bigEndian(const QByteArray &b, int at)
{
    return std::uint32_t(std::uint8_t(b[at])) << 24 | std::uint32_t(std::uint8_t(b[at + 1])) << 16 |
           std::uint32_t(std::uint8_t(b[at + 2])) << 8 | std::uint8_t(b[at + 3]);
}

// Walks the PNG chunks; returns the number of chunks whose CRC holds, or -1.
int checkPng(const QByteArray &png)
{
    if (!png.startsWith(QByteArray("\x89PNG\r\n\x1a\n", 8)))
        return -1;
    int chunks = 0;
    int at = 8;
    while (at + 12 <= png.size()) {
        const int length = int(bigEndian(png, at));
        if (length < 0 || at + 12 + length > png.size())
            return -1;
        if (crc32(png.constData() + at + 4, length + 4) != bigEndian(png, at + 8 + length))
            return -1;
        ++chunks;
        const bool end = png.mid(at + 4, 4) == "IEND";
        at += 12 + length;
        if (end)
            return at == png.size() ? chunks : -1;
    }
    return -1;
}

QByteArray writeTemp(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath("damaged.zpaq");
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
    return path.toUtf8();
}

} // namespace

TEST(RealJournalArchive, LatestVersionIsOneIntactPng)
{
    QTemporaryDir out;
    const QByteArray archive = realArchive("journal-7-versions.zpaq").toUtf8();
    ASSERT_EQ(extractArchive(archive.constData(), out.path().toUtf8().constData()), 0);
    const QStringList files = QDir(out.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(files.size(), 1);
    const QByteArray png = readFile(out.filePath(files[0]));
    EXPECT_GT(checkPng(png), 2);
}

TEST(RealJournalArchive, EveryBlockSegmentAndFragmentVerifies)
{
    QTemporaryDir out;
    zpaq::ExtractOptions options;
    options.decodeAllBlocks = true;
    const zpaq::ExtractReport r =
        zpaq::extract(realArchive("journal-7-versions.zpaq").toStdString(), out.path().toStdString(), options);
    ASSERT_EQ(r.result, 0) << r.error;
    EXPECT_TRUE(r.journaling);
    EXPECT_EQ(r.blocks, 26u);
    EXPECT_EQ(r.blocksDecoded, 26u);
    EXPECT_EQ(r.versions, 7);
    EXPECT_EQ(r.indexRecords, 7); // the sixth is a deletion
    EXPECT_EQ(r.versionBytes, 205479u);
    EXPECT_EQ(r.filesWritten, 1u);
}

TEST(RealJournalArchive, OneThreadAndAllThreadsWriteTheSameBytes)
{
    QTemporaryDir one, all;
    const std::string archive = realArchive("journal-7-versions.zpaq").toStdString();
    zpaq::ExtractOptions single;
    single.threads = 1;
    single.decodeAllBlocks = true;
    zpaq::ExtractOptions many;
    many.threads = 8;
    many.decodeAllBlocks = true;
    ASSERT_EQ(zpaq::extract(archive, one.path().toStdString(), single).result, 0);
    ASSERT_EQ(zpaq::extract(archive, all.path().toStdString(), many).result, 0);
    const QStringList names = QDir(one.path()).entryList(QDir::Files);
    ASSERT_EQ(names, QDir(all.path()).entryList(QDir::Files));
    for (const QString &name : names)
        EXPECT_EQ(readFile(one.filePath(name)), readFile(all.filePath(name)));
}

TEST(RealJournalArchive, DamagedDataIsRefusedWithItsReason)
{
    const QByteArray original = readFile(realArchive("journal-7-versions.zpaq"));
    ASSERT_EQ(original.size(), 168590);
    struct Case
    {
        int offset;
        const char *reason;
    } cases[] = {
        {150000, "SHA-1 mismatch"},      // stored data of the latest data block
        {168560, "SHA-1 mismatch"},      // inside the last index block's data
        // "zPQ" of the latest data block: the scanner skips to the next tag,
        // and the transaction misses the data block it declares.
        {145770, "declares 22265 bytes of data blocks but has 0"},
        {104 + 17, "unsupported block type 84"},
        {104 + 16, "unsupported block level 87"},
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        QByteArray bytes = original;
        bytes[c.offset] = char(bytes[c.offset] ^ 0x55);
        const zpaq::ExtractReport r =
            zpaq::extract(writeTemp(dir, bytes).toStdString(), dir.filePath("out").toStdString());
        EXPECT_EQ(r.result, 2) << c.offset;
        EXPECT_NE(r.error.find(c.reason), std::string::npos) << c.offset << ": " << r.error;
    }
    // Cut off after the latest data block: its transaction lacks its hash
    // and index blocks.
    QTemporaryDir dir;
    const zpaq::ExtractReport cut = zpaq::extract(writeTemp(dir, original.left(168027)).toStdString(),
                                                  dir.filePath("out").toStdString());
    EXPECT_EQ(cut.result, 2);
    EXPECT_NE(cut.error.find("truncated"), std::string::npos) << cut.error;
}

TEST(RealStreamingArchive, SegmentsBecomeTheFilesTheyName)
{
    QTemporaryDir out;
    const zpaq::ExtractReport r = zpaq::extract(realArchive("streaming-context-model.zpaq").toStdString(),
                                                out.path().toStdString());
    ASSERT_EQ(r.result, 0) << r.error;
    EXPECT_FALSE(r.journaling);
    EXPECT_EQ(r.blocks, 1u);
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files), (QStringList{"t.txt", "t2.txt"}));
    EXPECT_EQ(readFile(out.filePath("t.txt")), "42");
    EXPECT_EQ(readFile(out.filePath("t2.txt")), "42");
}

TEST(RealStreamingArchive, ExistingHardLinkInTheFolderIsReplacedNotWrittenThrough)
{
    QTemporaryDir out, elsewhere;
    const QString outside = elsewhere.filePath("precious.txt");
    {
        QFile f(outside);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep me");
    }
    ASSERT_EQ(::link(outside.toUtf8().constData(), out.filePath("t.txt").toUtf8().constData()), 0);
    const zpaq::ExtractReport r = zpaq::extract(realArchive("streaming-context-model.zpaq").toStdString(),
                                                out.path().toStdString());
    ASSERT_EQ(r.result, 0) << r.error;
    EXPECT_EQ(readFile(out.filePath("t.txt")), "42");
    EXPECT_EQ(readFile(outside), "keep me");
}

TEST(RealStreamingArchive, EveryTruncationAndEveryFlippedDataByteIsAnError)
{
    const QByteArray original = readFile(realArchive("streaming-context-model.zpaq"));
    ASSERT_EQ(original.size(), 159);
    QTemporaryDir dir;
    for (int length = 1; length < original.size(); ++length) {
        const zpaq::ExtractReport r = zpaq::extract(writeTemp(dir, original.left(length)).toStdString(),
                                                    dir.filePath("out").toStdString());
        EXPECT_EQ(r.result, 2) << "length " << length;
    }
    // Coded data, end zeros and SHA-1 of the first segment, header fields.
    for (int offset = 0x55; offset < 0x75; ++offset) {
        QByteArray bytes = original;
        bytes[offset] = char(bytes[offset] ^ 0x01);
        const zpaq::ExtractReport r =
            zpaq::extract(writeTemp(dir, bytes).toStdString(), dir.filePath("out").toStdString());
        EXPECT_EQ(r.result, 2) << "offset " << offset;
    }
}

TEST(ExtractArchiveEntry, MissingEmptyAndForeignFilesAreErrors)
{
    QTemporaryDir dir;
    const QByteArray out = dir.filePath("out").toUtf8();
    testing::internal::CaptureStderr();
    EXPECT_EQ(extractArchive(dir.filePath("missing.zpaq").toUtf8().constData(), out.constData()), 2);
    EXPECT_EQ(extractArchive(writeTemp(dir, QByteArray()).constData(), out.constData()), 2);
    EXPECT_EQ(extractArchive(writeTemp(dir, QByteArray(64, '\x5a')).constData(), out.constData()), 2);
    EXPECT_EQ(extractArchive(nullptr, out.constData()), 2);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("zpaq error: cannot open archive"), std::string::npos) << err;
    EXPECT_NE(err.find("zpaq error: archive "), std::string::npos) << err;
    EXPECT_NE(err.find("zpaq error: archive is encrypted or not in ZPAQ format\n"), std::string::npos)
        << err;
}
