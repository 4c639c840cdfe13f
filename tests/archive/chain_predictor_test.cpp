// The chain model's own pipeline against the general one: the same header
// and the same bits must give the same prediction at every bit, for the real
// archive's model and for the other shapes it takes. The vector MIX loops
// against their plain arithmetic, at the tail lengths and clamp limits.
#include "archive/block_header.h"
#include "archive/byte_reader.h"
#include "archive/chain_predictor.h"
#include "archive/mix_kernel.h"
#include "archive/predictor.h"
#include "real_archives.h"
#include "sample_data.h"

#include <QFile>

#include <gtest/gtest.h>

#include <vector>

using namespace zpaq;

namespace {

ComponentSpec spec(ComponentType type, std::vector<std::uint8_t> p)
{
    ComponentSpec c{type, {}};
    for (std::size_t i = 0; i < p.size(); ++i)
        c.p[i] = p[i];
    return c;
}

// ICM, five ISSE, MATCH and MIX, with the HCOMP that computes their contexts.
BlockHeader realHeader()
{
    QFile f(zpaqtest::realArchive(QStringLiteral("streaming-context-model.zpaq")));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    const int start = bytes.indexOf("zPQ");
    EXPECT_GE(start, 0);
    ByteReader in(reinterpret_cast<const std::uint8_t *>(bytes.constData()) + start,
                  std::size_t(bytes.size() - start));
    return parseBlockHeader(in);
}

BlockHeader withComponents(std::vector<ComponentSpec> comps)
{
    BlockHeader h = realHeader();
    h.components = std::move(comps);
    return h;
}

const ComponentSpec kMix7 = spec(ComponentType::Mix, {16, 0, 7, 24, 255});

// Drives both pipelines with the bits of `text` and compares every prediction.
void expectSamePredictions(const std::vector<BlockHeader> &shapes, const QByteArray &text)
{
    for (std::size_t s = 0; s < shapes.size(); ++s) {
        SCOPED_TRACE(s);
        ASSERT_TRUE(ChainPredictor::fits(shapes[s]));
        ChainPredictor chain(shapes[s]);
        Predictor general(shapes[s]);
        int mismatches = 0;
        for (int i = 0; i < text.size() && mismatches < 3; ++i) {
            for (int b = 7; b >= 0; --b) {
                const int expected = general.predict();
                const int got = chain.predict();
                if (got != expected)
                    ADD_FAILURE() << "byte " << i << " bit " << b << ": " << got << " != " << expected,
                        ++mismatches;
                const int y = (std::uint8_t(text[i]) >> b) & 1;
                general.update(y);
                chain.update(y);
            }
        }
    }
}

} // namespace

TEST(ChainPredictor, PredictsAsTheGeneralPipelineForEveryShape)
{
    using T = ComponentType;
    const BlockHeader real = realHeader();
    ASSERT_EQ(real.components.size(), 8u);
    const std::vector<BlockHeader> shapes = {
        real,
        // A CM first; no MATCH; the MIX on part of the chain with another context mask.
        withComponents({spec(T::Cm, {12, 20}), spec(T::Isse, {10, 0}), spec(T::Isse, {12, 1}),
                        spec(T::Mix, {8, 1, 2, 16, 15})}),
        // The shortest chain; a MIX of more inputs than one vector group.
        withComponents({spec(T::Icm, {8}), spec(T::Mix, {4, 0, 1, 40, 255})}),
        withComponents({spec(T::Icm, {6}), spec(T::Isse, {8, 0}), spec(T::Isse, {8, 1}),
                        spec(T::Isse, {8, 2}), spec(T::Isse, {8, 3}), spec(T::Isse, {8, 4}),
                        spec(T::Isse, {8, 5}), spec(T::Isse, {8, 6}), spec(T::Isse, {8, 7}),
                        spec(T::Match, {16, 18}), spec(T::Mix, {6, 0, 10, 20, 255})}),
    };
    const QByteArray text = zpaqtest::wordText(48 * 1024, 7) + zpaqtest::mixedBytes(8 * 1024, 3);
    expectSamePredictions(shapes, text);
}

TEST(ChainPredictor, PredictsAsTheGeneralPipelineWithTinyTablesAndRandomParameters)
{
    // Small tables make slots collide and be replaced, and the MATCH buffer
    // wrap; the parameters cover every context mask, rate and limit.
    using T = ComponentType;
    std::uint32_t seed = 5;
    auto pick = [&seed](std::uint32_t lo, std::uint32_t hi) {
        return std::uint8_t(lo + zpaqtest::nextRandom(seed) % (hi - lo + 1));
    };
    std::vector<BlockHeader> shapes;
    for (int n = 0; n < 24; ++n) {
        std::vector<ComponentSpec> comps;
        comps.push_back(n % 3 == 0 ? spec(T::Cm, {pick(2, 10), pick(1, 255)}) : spec(T::Icm, {pick(0, 6)}));
        const std::uint8_t isses = pick(0, 6);
        for (std::uint8_t k = 0; k < isses; ++k)
            comps.push_back(spec(T::Isse, {pick(0, 6), std::uint8_t(comps.size() - 1)}));
        if (n % 2 == 0)
            comps.push_back(spec(T::Match, {pick(2, 8), pick(4, 10)}));
        const std::uint8_t first = n % 4 == 1 ? pick(0, std::uint32_t(comps.size() - 1)) : 0;
        comps.push_back(spec(T::Mix, {pick(0, 6), first, std::uint8_t(comps.size() - first),
                                      pick(1, 255), pick(0, 255)}));
        shapes.push_back(withComponents(comps));
    }
    expectSamePredictions(shapes, zpaqtest::wordText(6 * 1024, 11) + zpaqtest::mixedBytes(2 * 1024, 4));
}

TEST(ChainPredictor, OtherShapesAreLeftToTheGeneralPipeline)
{
    using T = ComponentType;
    const ComponentSpec icm = spec(T::Icm, {8});
    const std::vector<std::vector<ComponentSpec>> others = {
        {icm},                                                          // nothing to mix
        {spec(T::Match, {8, 8}), spec(T::Mix, {4, 0, 1, 24, 255})},     // no model first
        {icm, spec(T::Isse, {8, 0}), spec(T::Isse, {8, 0}), kMix7},     // ISSE not on the one before
        {icm, spec(T::Match, {8, 8}), spec(T::Isse, {8, 0}), kMix7},    // MATCH inside the chain
        {icm, spec(T::Match, {8, 8}), spec(T::Match, {8, 8}), kMix7},   // two MATCH
        {icm, kMix7, spec(T::Sse, {8, 1, 32, 255})},                    // something after the MIX
        {icm, spec(T::Mix2, {8, 0, 0, 24, 255})},                       // another mixer
    };
    for (const auto &comps : others)
        EXPECT_FALSE(ChainPredictor::fits(withComponents(comps)));
    std::vector<ComponentSpec> long17(16, spec(T::Isse, {4, 0}));
    long17[0] = icm;
    for (std::size_t i = 1; i < long17.size(); ++i)
        long17[i].p[1] = std::uint8_t(i - 1);
    long17.push_back(spec(T::Mix, {4, 0, 16, 24, 255}));
    EXPECT_FALSE(ChainPredictor::fits(withComponents(long17)));
    long17.erase(long17.begin() + 1);
    for (std::size_t i = 1; i + 1 < long17.size(); ++i)
        long17[i].p[1] = std::uint8_t(i - 1);
    long17.back().p[2] = 15;
    EXPECT_TRUE(ChainPredictor::fits(withComponents(long17)));
}

TEST(MixKernel, MatchesPlainArithmeticAtEveryTailLengthAndLimit)
{
    std::uint32_t seed = 99;
    for (int m = 1; m <= 20; ++m) {
        SCOPED_TRACE(m);
        // Two rows; the second must not change when the first is trained.
        std::vector<std::int32_t> w(2 * m + kMixSlack), expected;
        std::vector<int> in(m + kMixSlack);
        for (int round = 0; round < 50; ++round) {
            for (auto &v : w)
                v = round % 5 == 0 ? ((zpaqtest::nextRandom(seed) & 1) ? 524287 : -524288)
                                   : int(zpaqtest::nextRandom(seed) % 1048576) - 524288;
            for (auto &v : in)
                v = round % 7 == 0 ? ((zpaqtest::nextRandom(seed) & 1) ? 2047 : -2047)
                                   : int(zpaqtest::nextRandom(seed) % 4095) - 2047;
            std::int32_t dot = 0;
            for (int t = 0; t < m; ++t)
                dot += (w[t] >> 8) * in[t];
            EXPECT_EQ(mixDot(w.data(), in.data(), m), dot);

            const std::int32_t err = round % 3 == 0 ? (round & 1 ? 524287 : -524288)
                                                    : int(zpaqtest::nextRandom(seed) % 1048576) - 524288;
            expected = w;
            for (int t = 0; t < m; ++t)
                expected[t] = clamp512k(std::int64_t(w[t]) + ((std::int64_t(err) * in[t] + 4096) >> 13));
            mixTrain(w.data(), in.data(), m, err);
            EXPECT_EQ(w, expected);
        }
    }
}
