// Archives of a few kilobytes that expand to hundreds of megabytes: output
// must stream to disk, so the extractor's peak memory stays far below the
// size of what it writes.
#include "components.h"
#include "context_model.h"
#include "extraction_run.h"
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

} // namespace
