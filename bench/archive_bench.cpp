// Extraction throughput in MB/s of output: a real journaling archive, a 16 MB
// journaling archive with one context-model block per megabyte, and that
// archive's speedup on all processors against one thread.
//
// Usage: archive_bench [path of a real journaling archive]
#include "archive_extractor.h"
#include "components.h"
#include "context_model.h"
#include "journal_writer.h"
#include "sample_data.h"
#include "shared_model.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <thread>
#include <vector>

using namespace zpaqtest;

namespace {

constexpr int kMiB = 1 << 20;
constexpr int kBlocks = 16;

struct Timing {
    double seconds = 0;
    qint64 bytes = 0; ///< output bytes of one extraction
    int runs = 0;
    double mbPerSecond() const { return bytes * double(runs) / kMiB / seconds; }
};

qint64 bytesBelow(const QString &dir)
{
    qint64 total = 0;
    QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        total += it.fileInfo().size();
    }
    return total;
}

// Extracts `archive` again and again for at least `minSeconds`; false on a failed run.
bool timeExtraction(const QString &archive, unsigned threads, double minSeconds, Timing &t)
{
    zpaq::ExtractOptions options;
    options.threads = threads;
    do {
        QTemporaryDir out;
        QElapsedTimer clock;
        clock.start();
        const zpaq::ExtractReport report =
            zpaq::extract(archive.toStdString(), out.path().toStdString(), options);
        t.seconds += clock.nsecsElapsed() / 1e9;
        if (report.result != 0) {
            std::fprintf(stderr, "extraction of %s failed (%d): %s\n", qPrintable(archive),
                         report.result, report.error.c_str());
            return false;
        }
        t.bytes = bytesBelow(out.path());
        ++t.runs;
    } while (t.seconds < minSeconds);
    return true;
}

// One file of 16 MB of word-like text in 1 MB fragments, each in its own d
// block coded with an ICM -> ISSE -> MIX chain. The blocks are coded in parallel.
QByteArray contextModelArchive()
{
    const BlockSpec model = contextModel({{comp::icm(16), Context::Order1},
                                          {comp::isse(18, 0), Context::Order2},
                                          {comp::mix(8, 0, 2, 24, 255), Context::Byte}});
    const QByteArray content = wordText(kBlocks * kMiB, 2024);
    auto write = [&content](const JournalWriter::DataBlockWriter &dataWriter) {
        JournalWriter w(kMiB, 1);
        w.setDataBlockWriter(dataWriter);
        w.beginVersion(20241001000000);
        w.putFile("bench/text.txt", content);
        w.commit();
        return w.bytes();
    };
    // First pass collects the d segments, then they are coded on all cores.
    std::vector<SegmentSpec> segments;
    write([&segments](const SegmentSpec &seg) {
        segments.push_back(seg);
        return storedBlock({seg});
    });
    std::vector<QByteArray> coded(segments.size());
    std::vector<std::thread> workers;
    for (size_t i = 0; i < segments.size(); ++i)
        workers.emplace_back([&, i] { coded[i] = modelledBlock(model, {segments[i]}); });
    for (std::thread &t : workers)
        t.join();
    QHash<QByteArray, QByteArray> byName;
    for (size_t i = 0; i < segments.size(); ++i)
        byName.insert(segments[i].name, coded[i]);
    return write([&byName](const SegmentSpec &seg) { return byName.value(seg.name); });
}

} // namespace

int main(int argc, char **argv)
{
    const QString realArchive = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                         : QStringLiteral(VEQ_SHARED_DIR "/testdata/zpaq/journal-7-versions.zpaq");
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());

    Timing real;
    if (!timeExtraction(realArchive, 0, 2.0, real))
        return 1;
    std::printf("%-44s %8.1f MB/s  (%lld bytes out, %d runs)\n", "journal-7-versions.zpaq, all cores:",
                real.mbPerSecond(), static_cast<long long>(real.bytes), real.runs);

    QTemporaryDir work;
    const QString path = work.path() + QStringLiteral("/context-model-16mb.zpaq");
    {
        const QByteArray archive = contextModelArchive();
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(archive) != archive.size())
            return 1;
        std::printf("%-44s %8d bytes for %d MB\n", "context-model archive:", int(archive.size()), kBlocks);
    }
    Timing one, all;
    if (!timeExtraction(path, 1, 3.0, one) || !timeExtraction(path, 0, 3.0, all))
        return 1;
    const unsigned counted = std::min(cores, 8u);
    const double speedup = all.mbPerSecond() / one.mbPerSecond();
    std::printf("%-44s %8.2f MB/s  (target >= 1.5)\n", "context-model 16 MB, 1 thread:", one.mbPerSecond());
    std::printf("%-44s %8.2f MB/s\n", qPrintable(QStringLiteral("context-model 16 MB, %1 threads:").arg(cores)),
                all.mbPerSecond());
    std::printf("%-44s %8.2f x     (target >= %.1f = 0.6 x %u cores)\n", "speedup:", speedup,
                0.6 * counted, counted);
    // Other work on the machine skews the speedup above all; show how busy it was.
    QFile load(QStringLiteral("/proc/loadavg"));
    if (load.open(QIODevice::ReadOnly))
        std::printf("%-44s %s", "load average (1, 5, 15 min, ...):", load.readLine().constData());
    return 0;
}
