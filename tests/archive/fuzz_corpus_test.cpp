// Replays the fuzz corpus through the fuzz target as an ordinary test, so
// that every seed (and every crash input added to the corpus) stays fixed.
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

TEST(FuzzCorpus, EverySeedRunsThroughTheExtractor)
{
    const QDir corpus(QStringLiteral(VEQ_ZPAQ_CORPUS_DIR));
    const QStringList seeds = corpus.entryList(QDir::Files);
    ASSERT_GE(seeds.size(), 6);
    for (const QString &seed : seeds) {
        if (seed.endsWith(".py"))
            continue;
        QFile f(corpus.filePath(seed));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(seed);
        const QByteArray bytes = f.readAll();
        SCOPED_TRACE(qPrintable(seed));
        EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                                         std::size_t(bytes.size())),
                  0);
        // Every prefix too: truncated archives are the commonest damage.
        for (int cut = 1; cut < bytes.size(); cut += 7)
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                                   std::size_t(cut));
    }
}
