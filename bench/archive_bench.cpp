// Extraction throughput in MB/s of output: the LZ77 blocks of a real
// journaling archive on one thread, the whole archive on all processors, and
// two 16 MB journaling archives with one context-model block per megabyte
// (a small 3-component model, and the 8-component model of a real archive)
// on one thread and on all processors, with the speedup.
//
// Usage: archive_bench [path of a real journaling archive]
//        archive_bench --write-model3 FILE [MB]  writes the 3-component archive (profiling)
//        archive_bench --write-model8 FILE [MB]  writes the 8-component archive
//        archive_bench --time FILE               times FILE on one thread
#include "archive/archive_extractor.h"
#include "archive/archive_input.h"
#include "archive/block_decoder.h"
#include "archive/block_scanner.h"
#include "components.h"
#include "context_model.h"
#include "journal_writer.h"
#include "real_archives.h"
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
#include <cstdlib>
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

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class CountingOutput : public zpaq::BlockOutput
{
public:
    void beginSegment(std::size_t, const zpaq::SegmentLayout &) override {}
    void write(const std::uint8_t *, std::size_t size) override { bytes += size; }
    qint64 bytes = 0;
};

// Decodes, on this thread, every block of `archive` whose stored data starts
// with a post-processor program (the LZ77 blocks of a journaling archive).
bool timeLz77Blocks(const QString &path, double minSeconds, Timing &t)
{
    const zpaq::ArchiveInput data(path.toStdString());
    std::vector<zpaq::BlockLayout> blocks;
    zpaq::BlockScanner scanner(data);
    zpaq::BlockLayout block;
    while (scanner.next(block)) {
        const zpaq::SegmentLayout &first = block.segments[0];
        std::uint8_t flag = 0;
        if (block.header.components.empty() && first.dataEnd - first.dataBegin > 4)
            data.read(first.dataBegin + 4, &flag, 1);
        if (flag == 1)
            blocks.push_back(block);
    }
    if (blocks.empty())
        return false;
    QElapsedTimer clock;
    clock.start();
    do {
        CountingOutput out;
        for (const zpaq::BlockLayout &b : blocks)
            zpaq::decodeBlock(data, b, out);
        t.bytes = out.bytes;
        ++t.runs;
        t.seconds = clock.nsecsElapsed() / 1e9;
    } while (t.seconds < minSeconds);
    return true;
}

// The model of the real streaming archive: ICM, five ISSE, MATCH, MIX and
// its HCOMP, taken from the archive's block header.
BlockSpec realEightComponentModel()
{
    const QByteArray real = readAll(realArchive(QStringLiteral("streaming-context-model.zpaq")));
    BlockSpec spec;
    if (real.size() < 12 || !real.startsWith("zPQ"))
        return spec;
    spec.level = real[3];
    spec.hh = std::uint8_t(real[7]);
    spec.hm = std::uint8_t(real[8]);
    const int hsize = std::uint8_t(real[5]) | std::uint8_t(real[6]) << 8;
    int at = 12;
    for (int i = 0; i < std::uint8_t(real[11]); ++i) {
        const int length = zpaq::componentDescriptorSize(std::uint8_t(real[at]));
        spec.add(real.mid(at, length));
        at += length;
    }
    ++at; // the list's ending 0
    spec.hcomp = real.mid(at, 7 + hsize - at - 1);
    return spec;
}

BlockSpec smallModel()
{
    return contextModel({{comp::icm(16), Context::Order1},
                         {comp::isse(18, 0), Context::Order2},
                         {comp::mix(8, 0, 2, 24, 255), Context::Byte}});
}

// One file of 16 MB of word-like text in 1 MB fragments, each in its own d
// block coded with `model`. The blocks are coded in parallel.
QByteArray contextModelArchive(const BlockSpec &model, int blocks = kBlocks)
{
    const QByteArray content = wordText(blocks * kMiB, 2024);
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

// Times a 16 MB archive of `model` on one thread and on all; false on failure.
bool benchModel(const char *label, const BlockSpec &model, double target, unsigned cores)
{
    QTemporaryDir work;
    const QString path = work.path() + QStringLiteral("/context-model-16mb.zpaq");
    const QByteArray archive = contextModelArchive(model);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(archive) != archive.size())
        return false;
    f.close();
    Timing one, all;
    if (!timeExtraction(path, 1, 3.0, one) || !timeExtraction(path, 0, 3.0, all))
        return false;
    std::printf("%-44s %8.2f MB/s  (target >= %.1f; archive %d bytes)\n",
                qPrintable(QStringLiteral("%1, 1 thread:").arg(QLatin1String(label))),
                one.mbPerSecond(), target, int(archive.size()));
    std::printf("%-44s %8.2f MB/s\n",
                qPrintable(QStringLiteral("%1, %2 threads:").arg(QLatin1String(label)).arg(cores)),
                all.mbPerSecond());
    std::printf("%-44s %8.2f x\n", qPrintable(QStringLiteral("%1, speedup:").arg(QLatin1String(label))),
                all.mbPerSecond() / one.mbPerSecond());
    return true;
}

// The profiling uses of the usage above; 2 for unknown arguments.
int profilingRun(int argc, char **argv)
{
    const QString path = QString::fromLocal8Bit(argv[2]);
    if (qstrcmp(argv[1], "--time") == 0) {
        Timing t;
        if (!timeExtraction(path, 1, 3.0, t))
            return 1;
        std::printf("%s, 1 thread: %.2f MB/s\n", argv[2], t.mbPerSecond());
        return 0;
    }
    const bool three = qstrcmp(argv[1], "--write-model3") == 0;
    if (!three && qstrcmp(argv[1], "--write-model8") != 0) {
        std::fprintf(stderr, "unknown option %s\n", argv[1]);
        return 2;
    }
    const BlockSpec model = three ? smallModel() : realEightComponentModel();
    const int blocks = argc > 3 ? std::max(1, std::atoi(argv[3])) : kBlocks;
    if (model.componentCount == 0)
        return 1;
    const QByteArray archive = contextModelArchive(model, blocks);
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(archive) == archive.size() ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // figures appear as they are measured
    if (argc >= 3 && argv[1][0] == '-' && argv[1][1] == '-')
        return profilingRun(argc, argv);
    const QString journalArchive = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                            : realArchive(QStringLiteral("journal-7-versions.zpaq"));
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());

    Timing lz77;
    if (!timeLz77Blocks(journalArchive, 2.0, lz77))
        return 1;
    std::printf("%-44s %8.1f MB/s  (target >= 20; %lld bytes out, %d runs)\n",
                "LZ77 blocks of journal-7-versions, 1 thread:", lz77.mbPerSecond(),
                static_cast<long long>(lz77.bytes), lz77.runs);
    Timing real;
    if (!timeExtraction(journalArchive, 0, 2.0, real))
        return 1;
    std::printf("%-44s %8.1f MB/s  (%lld bytes out, %d runs)\n", "journal-7-versions.zpaq, all cores:",
                real.mbPerSecond(), static_cast<long long>(real.bytes), real.runs);

    const BlockSpec small = smallModel();
    const BlockSpec eight = realEightComponentModel();
    if (eight.componentCount != 8 || !benchModel("3-component model 16 MB", small, 1.5, cores) ||
        !benchModel("8-component model 16 MB", eight, 1.8, cores))
        return 1;
    // Other work on the machine skews the speedup above all; show how busy it was.
    QFile load(QStringLiteral("/proc/loadavg"));
    if (load.open(QIODevice::ReadOnly))
        std::printf("%-44s %s", "load average (1, 5, 15 min, ...):", load.readLine().constData());
    return 0;
}
