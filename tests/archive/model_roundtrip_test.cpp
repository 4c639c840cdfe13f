// Modelled blocks coded by the test-side encoder and extracted by the decoder:
// every component alone and in chains, several segments sharing one model,
// post-processing of coded data, several blocks, and modelled journal data.
#include "components.h"
#include "context_model.h"
#include "extract_expectations.h"
#include "journal_writer.h"
#include "sample_data.h"
#include "shared_model.h"
#include "zpaql.h"

#include <gtest/gtest.h>

using namespace zpaqtest;

namespace {

struct ModelCase {
    const char *name;
    QVector<ModelPart> parts;
};

void PrintTo(const ModelCase &c, std::ostream *os) { *os << c.name; }

// Text, then bytes with no structure, then a long run: predictions that are
// right, wrong and extreme.
QByteArray modelContent()
{
    return wordText(12000, 5) + mixedBytes(2500, 6) + QByteArray(3000, '\0')
           + QByteArray(500, '\xff') + wordText(3000, 5);
}

const ModelCase kModels[] = {
    {"const", {{comp::constant(200)}}},
    {"cm_order1", {{comp::cm(12, 255), Context::Order1}}},
    {"cm_low_limit", {{comp::cm(10, 2), Context::Order1}}},
    {"icm_order1", {{comp::icm(10), Context::Order1}}},
    {"icm_order0", {{comp::icm(4)}}},
    {"match_order2", {{comp::match(12, 16), Context::Order2}}},
    {"avg", {{comp::icm(6)}, {comp::cm(12, 128), Context::Order1}, {comp::avg(0, 1, 100)}}},
    {"mix2",
     {{comp::icm(6)}, {comp::cm(12, 128), Context::Order1}, {comp::mix2(8, 0, 1, 24, 255), Context::Byte}}},
    {"mix",
     {{comp::icm(6)},
      {comp::cm(12, 128), Context::Order1},
      {comp::match(12, 16), Context::Order2},
      {comp::mix(8, 0, 3, 16, 255), Context::Byte}}},
    {"isse_chain",
     {{comp::icm(6)}, {comp::isse(10, 0), Context::Order1}, {comp::isse(14, 1), Context::Order2}}},
    {"sse", {{comp::icm(10), Context::Order1}, {comp::sse(8, 0, 32, 255), Context::Byte}}},
    {"icm_isse_mix",
     {{comp::icm(8), Context::Order1},
      {comp::isse(14, 0), Context::Order2},
      {comp::mix(8, 0, 2, 24, 255), Context::Byte}}},
    {"all_nine",
     {{comp::constant(140)},
      {comp::cm(12, 200), Context::Order1},
      {comp::icm(8), Context::Order1},
      {comp::match(12, 16), Context::Order2},
      {comp::avg(1, 2, 60)},
      {comp::mix2(6, 3, 4, 20, 255), Context::Byte},
      {comp::isse(12, 2), Context::Order2},
      {comp::sse(8, 6, 32, 255), Context::Byte},
      {comp::mix(8, 0, 8, 16, 255), Context::Byte}}},
};

class ModelRoundTrip : public testing::TestWithParam<ModelCase> {};

TEST_P(ModelRoundTrip, SegmentsExtractAndTheModelCompresses)
{
    const BlockSpec spec = contextModel(GetParam().parts);
    const QByteArray first = modelContent(), second = wordText(4000, 9);
    const QByteArray archive = modelledBlock(
        spec, {fileSegment("first.bin", first), fileSegment("", ""), fileSegment("second.txt", second)});
    expectExtracts(archive, {{"first.bin", first}, {"second.txt", second}});
    if (GetParam().parts.size() > 1 || GetParam().parts[0].context != Context::None) {
        EXPECT_LT(archive.size(), first.size() + second.size());
    }
}

INSTANTIATE_TEST_SUITE_P(Archive, ModelRoundTrip, testing::ValuesIn(kModels),
                         [](const testing::TestParamInfo<ModelCase> &info) {
                             return std::string(info.param.name);
                         });

TEST(ModelledBlocks, EmptySegmentsAndExtremeContent)
{
    const BlockSpec spec = contextModel({{comp::icm(8), Context::Order1}}, 2);
    const QByteArray zeros(20000, '\0'), ones(20000, '\xff');
    expectExtracts(modelledBlock(spec, {fileSegment("empty", ""), fileSegment("zeros", zeros),
                                        fileSegment("ones", ones), fileSegment("one", "1")}),
                   {{"empty", ""}, {"zeros", zeros}, {"ones", ones}, {"one", "1"}});
}

TEST(ModelledBlocks, PostProcessorOverCodedData)
{
    using namespace zpaqtest::zpaql;
    BlockSpec spec = contextModel({{comp::icm(8), Context::Order1}, {comp::isse(10, 0), Context::Order2}});
    // 0: A>255  2: JT +3  4: A^=0x3C  6: OUT  7: HALT
    spec.pcomp = Program().yn(GT, 255).jump(JT, 7).yn(XOR, 0x3C).op(OUT).op(HALT).bytes();
    const QByteArray a = wordText(5000, 3), b = mixedBytes(700, 4);
    auto xored = [](QByteArray s) {
        for (char &ch : s)
            ch = static_cast<char>(ch ^ 0x3C);
        return s;
    };
    QVector<SegmentSpec> segs = {fileSegment("a.txt", a), fileSegment("b.bin", b)};
    segs[0].coded = xored(a);
    segs[1].coded = xored(b);
    segs[1].trailer = Trailer::NoSha1;
    expectExtracts(modelledBlock(spec, segs), {{"a.txt", a}, {"b.bin", b}});
}

TEST(ModelledBlocks, SeveralBlocksWithTheirOwnModels)
{
    Files files;
    QByteArray archive;
    for (int i = 0; i < 6; ++i) {
        const ModelCase &model = kModels[(i * 5) % (sizeof kModels / sizeof kModels[0])];
        BlockSpec spec = contextModel(model.parts, 1 + i % 2);
        spec.withTag = i % 3 != 0;
        const QByteArray name = "part" + QByteArray::number(i) + ".txt";
        const QByteArray content = wordText(3000 + 500 * i, static_cast<uint32_t>(i));
        archive += modelledBlock(spec, {fileSegment(name, content)});
        files.insert(QString::fromLatin1(name), content);
    }
    archive += storedBlock({fileSegment("stored.bin", "between modelled ones")});
    files.insert(QStringLiteral("stored.bin"), "between modelled ones");
    expectExtracts(archive, files);
}

TEST(ModelledBlocks, ManyBlocksDecodedInParallelKeepTheirOrder)
{
    // 32 blocks; every fourth starts a file, the others continue it with an
    // unnamed segment, so the parts must be joined in archive order.
    const BlockSpec spec = contextModel({{comp::icm(6), Context::Order1}});
    Files files;
    QByteArray archive;
    QByteArray name;
    for (int i = 0; i < 32; ++i) {
        const QByteArray part = wordText(700 + 37 * i, static_cast<uint32_t>(50 + i));
        if (i % 4 == 0)
            name = "file" + QByteArray::number(i / 4) + ".txt";
        archive += modelledBlock(spec, {fileSegment(i % 4 == 0 ? name : QByteArray(), part)});
        files[QString::fromLatin1(name)] += part;
    }
    expectExtracts(archive, files);
}

TEST(ModelledBlocks, JournalWithModelledDataBlocks)
{
    const BlockSpec model = contextModel(
        {{comp::icm(10), Context::Order1}, {comp::isse(12, 0), Context::Order2}, {comp::mix(6, 0, 2, 20, 255)}});
    JournalWriter w(3000, 2);
    w.setDataBlockWriter([&model](const SegmentSpec &seg) { return modelledBlock(model, {seg}); });
    const QByteArray v1 = wordText(9000, 1), v2 = wordText(9000, 1) + wordText(4000, 2);
    w.beginVersion(20240801000000);
    w.putFile("doc/manual.txt", v1);
    w.putFile("doc/other.txt", mixedBytes(100, 3));
    w.commit();
    w.beginVersion(20240802000000);
    w.putFile("doc/manual.txt", v2);
    w.deleteFile("doc/other.txt");
    w.commit();
    expectExtracts(w.bytes(), {{"doc/manual.txt", v2}});
}

} // namespace
