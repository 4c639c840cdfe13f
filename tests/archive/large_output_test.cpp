// Archives of a few kilobytes that expand to hundreds of megabytes: output
// must stream to disk, so the extractor's peak memory stays far below the
// size of what it writes.
#include "archive/archive_extractor.h"
#include "components.h"
#include "context_model.h"
#include "extraction_run.h"
#include "journal_blocks.h"
#include "journal_writer.h"
#include "shared_model.h"
#include "zpaql.h"

#include <QCryptographicHash>
#include <QFile>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

using namespace zpaqtest;

namespace {

#ifdef VEQ_SANITIZE
// Sanitizer builds are many times slower, and their shadow memory and
// quarantine make the resident size say nothing about the extractor.
constexpr int kMegabytes = 24;
constexpr bool kMeasureMemory = false;
#else
constexpr int kMegabytes = 200;
constexpr bool kMeasureMemory = true;
#endif
constexpr qint64 kMiB = 1 << 20;
constexpr qint64 kPeakLimitKb = 64 * 1024;

long statusKb(const char *field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(line.find(':') + 1));
    }
    return -1;
}

// Sets the peak resident size back to the current one.
void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

QByteArray zeroSha1(qint64 size)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    const QByteArray zeros(kMiB, '\0');
    for (qint64 done = 0; done < size; done += kMiB)
        hash.addData(zeros.constData(), static_cast<int>(qMin(kMiB, size - done)));
    return hash.result();
}

// Extracts, then checks the one output file is `size` zero bytes and, where it
// means something, that the peak resident size grew by far less than that.
void expectZerosExtracted(const QByteArray &archive, const QString &name, qint64 size)
{
    ExtractionRun run;
    resetPeak();
    const long before = statusKb("VmRSS:");
    ASSERT_EQ(run.extract(archive), 0) << qPrintable(run.errorText());
    const long growth = statusKb("VmHWM:") - before;
    if (kMeasureMemory) {
        EXPECT_LT(growth, kPeakLimitKb) << "peak grew by " << growth << " kB";
    }
    QFile out(run.outDir() + QLatin1Char('/') + name);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    ASSERT_EQ(out.size(), size);
    const QByteArray zeros(kMiB, '\0');
    for (qint64 done = 0; done < size; done += kMiB)
        ASSERT_EQ(out.read(kMiB), zeros.left(static_cast<int>(qMin(kMiB, size - done)))) << done;
    EXPECT_EQ(run.strayEntries(), QStringList());
}

TEST(LargeOutput, PostProcessorExpansionStreamsToDisk)
{
    using namespace zpaqtest::zpaql;
    // Each input byte becomes 65536 zero bytes:
    // 0: A>255  2: JT +13  4: A=1  6: A<<=16  8: C=A
    // 9: A=0  10: OUT  11: C--  12: A=C  13: A==0  15: JF -8  17: HALT
    Program p;
    p.yn(GT, 255).jump(JT, 17).yn(SET_A, 1).yn(SHL, 16).y(SET_C, A);
    p.op(A_ZERO).op(OUT).op(C_DEC).y(SET_A, C).yn(EQ, 0).jump(JF, 9).op(HALT);
    ASSERT_EQ(p.size(), 18);
    const qint64 size = kMegabytes * kMiB;
    SegmentSpec seg = fileSegment("zeros.bin", QByteArray());
    seg.comment = QByteArray::number(size);
    seg.coded = QByteArray(static_cast<int>(size / 65536), 'x');
    seg.outputSha1 = zeroSha1(size);
    const QByteArray archive = storedBlock({seg}, true, p.bytes());
    ASSERT_LT(archive.size(), 8 * 1024);
    expectZerosExtracted(archive, QStringLiteral("zeros.bin"), size);
}

TEST(LargeOutput, RepeatedFragmentsStreamToDisk)
{
    // One modelled megabyte of zeros, listed kMegabytes times in the index.
    JournalWriter w(static_cast<int>(kMiB), 1);
    const BlockSpec model = contextModel({{comp::icm(4)}, {comp::isse(6, 0), Context::Order1}});
    w.setDataBlockWriter([&model](const SegmentSpec &seg) { return modelledBlock(model, {seg}); });
    w.beginVersion(20240901000000);
    w.putRepeatedFile("big/zeros.bin", QByteArray(kMiB, '\0'), kMegabytes);
    w.commit();
    ASSERT_LT(w.bytes().size(), 8 * 1024);
    expectZerosExtracted(w.bytes(), QStringLiteral("big/zeros.bin"), kMegabytes * kMiB);
}

// An index that keeps asking for memory: sixteen i blocks, each a few bytes
// of archive whose post-processor writes one record of millions of
// references to fragment 1 (each its own run). The journal's budget stops it
// with an error; peak memory stays under the documented bound.
TEST(LargeOutput, IndexMemoryIsBoundedAcrossIndexBlocks)
{
    using namespace zpaqtest::zpaql;
    constexpr quint64 kDate = 20241001000000ull;
#ifdef VEQ_SANITIZE
    constexpr int kCalls = 1; // 16 MiB per index block
    constexpr std::uint64_t kBudget = 8 << 20;
#else
    constexpr int kCalls = 3; // 48 MiB per index block
    constexpr std::uint64_t kBudget = zpaq::kIndexMemoryBudget;
#endif
    constexpr qint64 kBoundKb = 400 * 1024; // the README's bound for the index
    constexpr int kIdsPerCall = (1 << 22) - 16;
    const QVector<QByteArray> fragments{"ab", "cd"};
    const QByteArray d = storedBlock({journalSegment(kDate, 'd', 1, dContent(fragments))});
    QByteArray archive = storedBlock({journalSegment(kDate, 'c', 1, cContent(d.size()))}) + d +
                         storedBlock({journalSegment(kDate, 'h', 1, hContent(d.size(), fragments))});
    for (int block = 0; block < 16; ++block) {
        // First call: date 1, name "f<block>", no attributes, the count; then
        // every call writes kIdsPerCall ids "1" (C counts them down).
        Program p;
        p.yn(GT, 255).jump(JT, 0); // patched below to the HALT
        const int haltJump = p.size() - 1;
        p.op(A_LOAD_R, 0).yn(EQ, 0).jump(JF, 0);
        const int skipHeader = p.size() - 1;
        QByteArray header;
        header += QByteArray("\x01\0\0\0\0\0\0\0", 8) + "f" + QByteArray::number(block) + '\0';
        header += QByteArray(4, '\0');
        const quint32 count = quint32(kCalls) * kIdsPerCall;
        for (int i = 0; i < 4; ++i)
            header += char((count >> (8 * i)) & 0xFF);
        for (char c : header)
            p.yn(SET_A, static_cast<uint8_t>(c)).op(OUT);
        p.op(A_INC).op(R_STORE_A, 0);
        const int loop = p.size();
        QByteArray code = p.bytes();
        code[skipHeader] = static_cast<char>(loop - (skipHeader + 1));
        Program rest;
        // C = kIdsPerCall via A: A = 64; A <<= 16; A -= 16 (kIdsPerCall = 2^22 - 16).
        rest.yn(SET_A, 64).yn(SHL, 16).yn(SUB, 16).y(SET_C, A);
        const int top = loop + rest.size();
        rest.yn(SET_A, 1).op(OUT).op(A_ZERO).op(OUT).op(OUT).op(OUT);
        rest.op(C_DEC).y(SET_A, C).yn(EQ, 0);
        const int jf = loop + rest.size();
        rest.op(JF, (top - (jf + 2)) & 0xFF);
        const int halt = loop + rest.size();
        rest.op(HALT);
        code += rest.bytes();
        code[haltJump] = static_cast<char>(halt - (haltJump + 1));
        SegmentSpec seg;
        seg.name = journalName(kDate, 'i', 1);
        seg.comment = QByteArray::number(header.size() + qint64(count) * 4);
        seg.coded = QByteArray(kCalls, 'x');
        seg.trailer = Trailer::NoSha1;
        archive += storedBlock({seg}, true, code);
    }
    ASSERT_LT(archive.size(), 8 * 1024);
    ExtractionRun run;
    zpaq::ExtractOptions options;
    options.indexMemory = kBudget;
    resetPeak();
    const long before = statusKb("VmRSS:");
    const zpaq::ExtractReport r = run.extractWith(archive, options);
    const long growth = statusKb("VmHWM:") - before;
    EXPECT_EQ(r.result, 2);
    EXPECT_NE(r.error.find("need more than"), std::string::npos) << r.error;
    if (kMeasureMemory) {
        EXPECT_LT(growth, kBoundKb) << "peak grew by " << growth << " kB";
    }
}

// Many tiny streamed blocks: their layouts count against the same budget.
TEST(LargeOutput, BlockLayoutsCountAgainstTheIndexMemory)
{
    QByteArray archive;
    for (int i = 0; i < 2000; ++i)
        archive += storedBlock({fileSegment("f" + QByteArray::number(i), "x")});
    ExtractionRun run;
    zpaq::ExtractOptions options;
    options.indexMemory = 64 * 1024;
    const zpaq::ExtractReport r = run.extractWith(archive, options);
    EXPECT_EQ(r.result, 2);
    EXPECT_NE(r.error.find("block list need more than"), std::string::npos) << r.error;
    EXPECT_EQ(run.files(), (QMap<QString, QByteArray>()));
}

} // namespace
