// Block headers and the model built from them: the observed real headers
// parse, every malformed header is refused before allocation, and a model
// whose components start neutral predicts exactly one half first.
#include "archive/block_header.h"
#include "archive/decode_error.h"
#include "archive/predictor.h"
#include "archive/squash_stretch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zpaq;

namespace {

using Bytes = std::vector<std::uint8_t>;

// "zPQ" level 1 hsize hh hm ph pm n <components> 0 <hcomp> 0
Bytes header(int level, const Bytes &components, int n, const Bytes &hcomp = {56},
             int hh = 2, int hm = 2)
{
    Bytes body = {std::uint8_t(hh), std::uint8_t(hm), 0, 0, std::uint8_t(n)};
    body.insert(body.end(), components.begin(), components.end());
    body.push_back(0);
    body.insert(body.end(), hcomp.begin(), hcomp.end());
    body.push_back(0);
    const std::uint8_t start[7] = {'z', 'P', 'Q', std::uint8_t(level), 1,
                                   std::uint8_t(body.size()), std::uint8_t(body.size() >> 8)};
    Bytes out(start, start + 7);
    for (std::uint8_t b : body)
        out.push_back(b);
    return out;
}

BlockHeader parse(const Bytes &bytes)
{
    ByteReader in(bytes.data(), bytes.size());
    return parseBlockHeader(in);
}

std::string refusal(const Bytes &bytes)
{
    try {
        parse(bytes);
    } catch (const DecodeError &e) {
        return e.what();
    }
    return "accepted";
}

} // namespace

TEST(BlockHeader, ObservedRealHeadersParse)
{
    const Bytes plain = {0x7A, 0x50, 0x51, 0x02, 0x01, 0x07, 0x00, 0, 0, 0, 0, 0, 0, 0};
    BlockHeader h = parse(plain);
    EXPECT_EQ(h.level, 2);
    EXPECT_TRUE(h.components.empty());
    EXPECT_EQ(h.hcomp, Bytes{0});
    const Bytes lz = {0x7A, 0x50, 0x51, 0x02, 0x01, 0x0E, 0x00, 0x09, 0x10, 0x00, 0x14, 0x00,
                      0x00, 1, 2, 3, 4, 5, 6, 7, 0x00};
    h = parse(lz);
    EXPECT_EQ(h.hh, 9u);
    EXPECT_EQ(h.hm, 16u);
    EXPECT_EQ(h.pm, 20u);
    EXPECT_EQ(h.hcomp.size(), 8u);
    EXPECT_EQ(h.memory, 4u * 512 + 65536 + 4 + (1u << 20));
}

TEST(BlockHeader, MalformedHeadersAreRefused)
{
    struct Case
    {
        const char *what;
        Bytes bytes;
        const char *reason;
    } cases[] = {
        {"level 3", header(3, {3, 4}, 1), "unsupported block level 3"},
        {"level 1 without components", header(1, {}, 0), "has no components"},
        {"unknown component", header(1, {10, 4}, 1), "unknown component type 10"},
        {"component type 0", header(1, {0}, 1), "unknown component type 0"},
        {"ISSE reads itself", header(1, {3, 4, 8, 4, 1}, 2), "reads component 1"},
        {"MIX reads a later one", header(1, {3, 4, 7, 2, 0, 2, 24, 255}, 2), "not all earlier"},
        {"MIX of nothing", header(1, {3, 4, 7, 2, 0, 0, 24, 255}, 2), "mixes no inputs"},
        {"AVG of a later one", header(1, {5, 0, 1, 128}, 1), "reads component 0"},
        {"SSE first", header(1, {9, 2, 0, 32, 255}, 1), "reads component 0"},
        {"ICM too large", header(1, {3, 27}, 1), "ICM table exponent 27"},
        {"MATCH above the cap", header(1, {4, 28, 24}, 1), "more than the limit"},
        {"machines above the cap", header(1, {3, 4}, 1, {56}, 30, 2), "more than the limit"},
        {"size exponent above 32", header(1, {2, 33, 4}, 1), "exponent 33"},
        {"header cut inside a descriptor", header(1, {4, 4}, 1), "does not end with 0"},
        {"HCOMP not ending in 0", [] {
             Bytes b = header(1, {3, 4}, 1);
             b.back() = 56;
             return b;
         }(), "does not end with 0"},
    };
    for (const Case &c : cases) {
        const std::string why = refusal(c.bytes);
        EXPECT_NE(why.find(c.reason), std::string::npos) << c.what << ": " << why;
    }
}

TEST(Predictor, NeutralComponentsPredictOneHalfFirst)
{
    const Bytes models[] = {
        {2, 4, 10},                          // CM
        {3, 4},                              // ICM
        {4, 4, 8},                           // MATCH
        {3, 4, 8, 4, 0},                     // ICM, ISSE
        {3, 4, 3, 5, 7, 4, 0, 2, 24, 255},   // ICM, ICM, MIX
        {3, 4, 3, 5, 6, 4, 0, 1, 24, 255},   // ICM, ICM, MIX2
        {3, 4, 3, 5, 5, 0, 1, 77},           // ICM, ICM, AVG
    };
    const int counts[] = {1, 1, 1, 2, 3, 3, 3};
    for (int m = 0; m < 7; ++m) {
        Predictor p(parse(header(1, models[m], counts[m])));
        EXPECT_EQ(p.predict(), 16384) << "model " << m;
        EXPECT_EQ(Predictor::p16(16384), 32769u);
    }
    Predictor constant(parse(header(1, {1, 200}, 1)));
    EXPECT_EQ(constant.predict(), squash(4 * (200 - 128)));
}

TEST(Predictor, LearnsARepeatedByteAndRunsHcompPerByte)
{
    // ICM over the previous byte (HCOMP: *D = A, i.e. h[0] = last byte),
    // ISSE over it, MATCH on the same context, MIX of all three.
    const Bytes comps = {3, 8, 8, 8, 0, 4, 8, 10, 7, 0, 0, 3, 16, 255};
    Predictor p(parse(header(1, comps, 4, {112, 56})));
    int last = 0;
    for (int byte = 0; byte < 200; ++byte) {
        for (int bit = 7; bit >= 0; --bit) {
            const int y = ('A' >> bit) & 1;
            const int pr = p.predict();
            ASSERT_GE(pr, 0);
            ASSERT_LE(pr, 32767);
            if (byte == 199)
                last += y ? pr : 32767 - pr;
            p.update(y);
        }
    }
    // After many repeats every bit of 'A' is predicted with confidence.
    EXPECT_GT(last / 8, 30000);
}
