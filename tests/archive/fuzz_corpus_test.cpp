// Replays the fuzz corpus through the fuzz target as an ordinary test, so
// that every seed (and every crash input added to the corpus) stays fixed.
#include "real_archives.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace {

// Runs one input and every prefix of it: truncated archives are the commonest damage.
void replay(const QString &path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(path);
    const QByteArray bytes = f.readAll();
    SCOPED_TRACE(qPrintable(path));
    const auto *data = reinterpret_cast<const std::uint8_t *>(bytes.constData());
    EXPECT_EQ(LLVMFuzzerTestOneInput(data, std::size_t(bytes.size())), 0);
    // A large archive gets about 500 evenly spread cuts, so the replay stays linear.
    const int stride = std::max(7, int(bytes.size() / 500));
    for (int cut = 1; cut < bytes.size(); cut += stride)
        LLVMFuzzerTestOneInput(data, std::size_t(cut));
}

} // namespace

TEST(FuzzCorpus, EverySeedRunsThroughTheExtractor)
{
    const QDir corpus(QStringLiteral(VEQ_ZPAQ_CORPUS_DIR));
    const QStringList seeds = corpus.entryList(QDir::Files);
    ASSERT_GE(seeds.size(), 6);
    for (const QString &seed : seeds) {
        if (!seed.endsWith(".py"))
            replay(corpus.filePath(seed));
    }
}

// The archives made by real archivers are seeds too; they are read from their
// own folder rather than copied into the corpus.
TEST(FuzzCorpus, RealArchivesRunThroughTheExtractor)
{
    const QDir real(zpaqtest::realArchive());
    const QStringList archives = real.entryList({QStringLiteral("*.zpaq")}, QDir::Files);
    ASSERT_GE(archives.size(), 2) << qPrintable(real.path());
    for (const QString &name : archives)
        replay(real.filePath(name));
}
