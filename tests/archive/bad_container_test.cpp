// Damaged containers: wrong magic, level, type and header sizes, refused
// component lists, memory requests beyond the cap, broken segment framing,
// encryption, and journaling records that do not add up.
#include "arith_encoder.h"
#include "bad_case.h"
#include "block_writer.h"
#include "components.h"
#include "journal_blocks.h"

#include <gtest/gtest.h>

using namespace zpaqtest;

namespace {

const QByteArray kText = "the quick brown fox\n";
const QMap<QString, QByteArray> kTextFiles{{QStringLiteral("a.txt"), kText}};

QVector<SegmentSpec> textSegment() { return {fileSegment("a.txt", kText)}; }

// tag(13) | "zPQ" level type hsize(2) | hh hm ph pm n | 00 | 00 |
// 01 "a.txt" 00 "20" 00 00 | 00000015 00 <20 bytes> | 00000000 | FD sha1(20) | FF
QByteArray storedArchive(const BlockSpec &spec = BlockSpec())
{
    StoredCoder coder;
    return writeBlock(spec, textSegment(), coder);
}

// Byte offsets in a tagged block.
constexpr int kLevelAt = 16, kTypeAt = 17, kHsizeAt = 18;

QByteArray patched(QByteArray bytes, int at, int value)
{
    bytes[at] = static_cast<char>(value);
    return bytes;
}

// Position of the reserved byte: after the name's and the comment's 00.
int reservedAt(const QByteArray &archive)
{
    return archive.indexOf(QByteArray("a.txt\0" "20\0", 9)) + 9;
}

// A modelled block whose last component is CONST 128, so that it codes every
// bit at 1/2 whatever precedes it. `faultyList` replaces the leading components.
BadCase componentCase(const char *name, QVector<QByteArray> soundList,
                      QVector<QByteArray> faultyList, int expected = 2)
{
    return {name,
            [=](bool faulty) {
                BlockSpec spec;
                spec.level = 1;
                spec.hh = 2;
                spec.hm = 2;
                for (const QByteArray &d : faulty ? faultyList : soundList)
                    spec.add(d);
                spec.add(comp::constant(128));
                spec.hcomp = QByteArray(1, '\x38'); // HALT
                return flatModelledBlock(spec, textSegment());
            },
            expected, kTextFiles};
}

BadCase headerCase(const char *name, std::function<void(BlockSpec &)> fault)
{
    return {name,
            [=](bool faulty) {
                BlockSpec spec;
                if (faulty)
                    fault(spec);
                return storedArchive(spec);
            },
            2, kTextFiles};
}

// A random-looking stream with no "zPQ" in it: the shape of an encrypted archive.
QByteArray noiseWithSalt(unsigned char first)
{
    QByteArray out(1, static_cast<char>(first));
    uint32_t s = 12345;
    while (out.size() < 400) {
        s = s * 1103515245u + 12345u;
        out.append(static_cast<char>(s >> 24));
    }
    return out.replace("zPQ", "zpq");
}

// One version with one file made of two fragments, its parts open to tampering:
// c(csize) | d(frag1 frag2, trailer) | h(bsize, sha1+size x2) | i(greeting.txt: 1 2)
struct JournalParts {
    QVector<QByteArray> fragments{"hello, ", "world\n"};
    QByteArray dBlock;
    QByteArray cData, hData, iData;
};

constexpr quint64 kDate = 20240501120000;

BadCase journalCase(const char *name, std::function<void(JournalParts &)> fault)
{
    return {name,
            [=](bool faulty) {
                JournalParts p;
                p.dBlock = storedBlock({journalSegment(kDate, 'd', 1, dContent(p.fragments))});
                p.cData = cContent(p.dBlock.size());
                p.hData = hContent(static_cast<uint32_t>(p.dBlock.size()), p.fragments);
                p.iData = iContent({{"greeting.txt", kDate, unixAttributes(0100644), {1, 2}}});
                if (faulty)
                    fault(p);
                return storedBlock({journalSegment(kDate, 'c', 1, p.cData)}) + p.dBlock
                       + storedBlock({journalSegment(kDate, 'h', 1, p.hData)})
                       + storedBlock({journalSegment(kDate, 'i', 1, p.iData)});
            },
            2, {{QStringLiteral("greeting.txt"), "hello, world\n"}}};
}

void setLe32(QByteArray &data, int at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        data[at + i] = static_cast<char>(value >> (8 * i));
}

// i record layout: date(8) "greeting.txt\0"(13) na(4) attr(3) ni(4) ids(8).
constexpr int kNaAt = 21, kNiAt = 28;

const BadCase kContainerCases[] = {
    {"not_an_archive",
     [](bool faulty) {
         return faulty ? QByteArray("PK\x03\x04 plainly some other kind of file").repeated(8)
                       : storedArchive();
     },
     2, kTextFiles},
    {"encrypted",
     [](bool faulty) { return faulty ? noiseWithSalt(0x9C) : storedArchive(); }, 2, kTextFiles},
    {"tag_without_magic",
     [](bool faulty) { return faulty ? storedArchive().replace("zPQ", "zPX") : storedArchive(); },
     2, kTextFiles},
    {"level_3",
     [](bool faulty) { return patched(storedArchive(), kLevelAt, faulty ? 3 : 2); }, 2,
     kTextFiles},
    {"level_0",
     [](bool faulty) { return patched(storedArchive(), kLevelAt, faulty ? 0 : 2); }, 2,
     kTextFiles},
    headerCase("level_1_without_components", [](BlockSpec &s) { s.level = 1; }),
    {"type_2",
     [](bool faulty) { return patched(storedArchive(), kTypeAt, faulty ? 2 : 1); }, 2,
     kTextFiles},
    // hsize 6 leaves no room for the component list's and HCOMP's ending zeros.
    {"hsize_too_small",
     [](bool faulty) { return patched(storedArchive(), kHsizeAt, faulty ? 6 : 7); }, 2,
     kTextFiles},
    // hsize 8 swallows the segment's 01 as HCOMP's ending byte.
    {"hsize_too_large",
     [](bool faulty) { return patched(storedArchive(), kHsizeAt, faulty ? 8 : 7); }, 2,
     kTextFiles},
    {"hsize_beyond_file",
     [](bool faulty) {
         QByteArray a = storedArchive();
         return faulty ? patched(patched(a, kHsizeAt, 0xF0), kHsizeAt + 1, 0xFF) : a;
     },
     2, kTextFiles},
    componentCase("unknown_component_10", {comp::icm(4)}, {comp::descriptor({10, 4})}),
    componentCase("unknown_component_255", {comp::icm(4)}, {comp::descriptor({255, 4})}),
    componentCase("isse_reads_itself", {comp::icm(4), comp::isse(4, 0)},
                  {comp::icm(4), comp::isse(4, 1)}),
    componentCase("mix_reads_past_itself", {comp::icm(4), comp::icm(4), comp::mix(4, 0, 2, 16, 255)},
                  {comp::icm(4), comp::icm(4), comp::mix(4, 1, 2, 16, 255)}),
    componentCase("mix_of_no_inputs", {comp::icm(4), comp::mix(4, 0, 1, 16, 255)},
                  {comp::icm(4), comp::mix(4, 0, 0, 16, 255)}),
    componentCase("avg_reads_itself", {comp::constant(100), comp::constant(50), comp::avg(0, 1, 128)},
                  {comp::constant(100), comp::constant(50), comp::avg(0, 2, 128)}),
    componentCase("mix2_reads_itself", {comp::icm(4), comp::icm(4), comp::mix2(4, 0, 1, 16, 255)},
                  {comp::icm(4), comp::icm(4), comp::mix2(4, 0, 2, 16, 255)}),
    componentCase("sse_reads_itself", {comp::icm(4), comp::sse(4, 0, 32, 255)},
                  {comp::icm(4), comp::sse(4, 1, 32, 255)}),
    componentCase("icm_size_27", {comp::icm(4)}, {comp::icm(27)}),
    componentCase("isse_size_27", {comp::icm(4), comp::isse(4, 0)}, {comp::icm(4), comp::isse(27, 0)}),
    // Memory requests far beyond any sane cap: refused before allocation.
    componentCase("memory_icm_4g", {comp::icm(4)}, {comp::icm(26)}),
    componentCase("memory_cm_16g", {comp::cm(4, 255)}, {comp::cm(32, 255)}),
    componentCase("memory_match_10g", {comp::match(4, 8)}, {comp::match(31, 31)}),
    componentCase("memory_match_exponent_40", {comp::match(4, 8)}, {comp::match(4, 40)}),
    componentCase("memory_sse_32g", {comp::icm(4), comp::sse(4, 0, 32, 255)},
                  {comp::icm(4), comp::sse(28, 0, 32, 255)}),
    componentCase("memory_mix_8g", {comp::icm(4), comp::mix(4, 0, 1, 16, 255)},
                  {comp::icm(4), comp::mix(31, 0, 1, 16, 255)}),
    // Each table alone below 2 GiB, together 8 GiB.
    componentCase("memory_sum_8g", {comp::icm(4), comp::icm(4), comp::icm(4), comp::icm(4)},
                  {comp::icm(24), comp::icm(24), comp::icm(24), comp::icm(24), comp::icm(24),
                   comp::icm(24), comp::icm(24), comp::icm(24)}),
    headerCase("memory_hcomp_m_4g", [](BlockSpec &s) { s.hm = 32; }),
    headerCase("memory_hcomp_h_8g", [](BlockSpec &s) { s.hh = 31; }),
    headerCase("memory_pcomp_h_8g", [](BlockSpec &s) { s.ph = 31; }),
    headerCase("memory_pcomp_m_exponent_33", [](BlockSpec &s) { s.pm = 33; }),
    {"reserved_byte_not_zero",
     [](bool faulty) {
         const QByteArray a = storedArchive();
         return faulty ? patched(a, reservedAt(a), 1) : a;
     },
     2, kTextFiles},
    // FD sha1(20) FF at the end: the FD becomes FC.
    {"segment_trailer_fc",
     [](bool faulty) {
         const QByteArray a = storedArchive();
         return faulty ? patched(a, a.size() - 22, 0xFC) : a;
     },
     2, kTextFiles},
    {"block_continuation_02",
     [](bool faulty) {
         const QByteArray a = storedArchive();
         return faulty ? patched(a, a.size() - 1, 0x02) + storedArchive() : a;
     },
     2, kTextFiles},
    {"stored_chunk_length_4g",
     [](bool faulty) {
         QByteArray a = storedArchive();
         const int at = reservedAt(a) + 1;
         if (faulty)
             a.replace(at, 4, QByteArray("\xFF\xFF\xFF\xF0", 4));
         return a;
     },
     2, kTextFiles},
    headerCase("post_processor_flag_2", [](BlockSpec &s) { s.ppHeader = QByteArray("\x02"); }),
    headerCase("post_processor_size_0",
               [](BlockSpec &s) { s.ppHeader = QByteArray("\x01\x00\x00", 3); }),
    // 01 psize=5 and then only one program byte before the segment's data ends.
    {"segment_ends_in_post_processor_header",
     [](bool faulty) {
         BlockSpec spec;
         QVector<SegmentSpec> segs = {fileSegment("a.txt", faulty ? QByteArray() : kText)};
         if (faulty)
             spec.ppHeader = QByteArray("\x01\x05\x00\x38", 4);
         StoredCoder coder;
         return writeBlock(spec, segs, coder);
     },
     2, kTextFiles},
    {"segment_sha1_wrong",
     [](bool faulty) {
         QVector<SegmentSpec> segs = textSegment();
         segs[0].trailer = faulty ? Trailer::WrongSha1 : Trailer::Sha1;
         return storedBlock(segs);
     },
     2, kTextFiles},
    // Coded data ends with four zeros before FD: the last one becomes 01.
    {"coded_data_end_not_zero",
     [](bool faulty) {
         BlockSpec spec;
         spec.level = 1;
         spec.add(comp::constant(128));
         spec.hcomp = QByteArray(1, '\x38'); // HALT
         const QByteArray a = flatModelledBlock(spec, textSegment());
         return faulty ? patched(a, a.size() - 23, 1) : a;
     },
     2, kTextFiles},
    journalCase("journal_c_block_short", [](JournalParts &p) { p.cData.chop(4); }),
    journalCase("journal_h_block_length", [](JournalParts &p) { p.hData += "xyz"; }),
    journalCase("journal_h_fragment_sha1_wrong", [](JournalParts &p) { p.hData[4] = static_cast<char>(p.hData[4] ^ 1); }),
    journalCase("journal_h_fragment_past_d_block",
                [](JournalParts &p) { setLe32(p.hData, 4 + 20 + 24, 600); }),
    journalCase("journal_i_record_cut", [](JournalParts &p) { p.iData.chop(2); }),
    journalCase("journal_i_name_unended", [](JournalParts &p) { p.iData = p.iData.left(15); }),
    journalCase("journal_i_fragment_undefined", [](JournalParts &p) { setLe32(p.iData, kNiAt + 8, 7); }),
    journalCase("journal_i_fragment_zero", [](JournalParts &p) { setLe32(p.iData, kNiAt + 4, 0); }),
    journalCase("journal_i_fragment_count_2g",
                [](JournalParts &p) { setLe32(p.iData, kNiAt, 0x7FFFFFFF); }),
    journalCase("journal_i_attribute_count_4g",
                [](JournalParts &p) { setLe32(p.iData, kNaAt, 0xFFFFFFF0); }),
};

class BadContainer : public testing::TestWithParam<BadCase> {};

TEST_P(BadContainer, IsRefusedWhileItsSoundTwinExtracts)
{
    checkBadCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Archive, BadContainer, testing::ValuesIn(kContainerCases), badCaseName);

} // namespace
