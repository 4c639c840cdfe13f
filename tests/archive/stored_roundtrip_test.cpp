// Streaming archives of stored blocks: files from segments, several segments
// and blocks with and without locator tags, chunking, missing checksums, and
// post-processor programs whose output differs from the stored bytes.
#include "block_writer.h"
#include "extract_expectations.h"
#include "extraction_run.h"
#include "journal_writer.h"
#include "sample_data.h"
#include "zpaql.h"

#include <gtest/gtest.h>

using namespace zpaqtest;
using namespace zpaqtest::zpaql;

namespace {

TEST(StoredStreaming, FilesFromSegmentsBlocksAndChunks)
{
    const QByteArray a = mixedBytes(1000, 1), b = mixedBytes(77, 2), c = mixedBytes(5000, 3);
    StoredCoder smallChunks(7);
    BlockSpec untagged;
    untagged.withTag = false;
    // First block at offset 0 without a tag holding two files in 7-byte chunks,
    // a second block straight after its FF, a third behind a tag.
    const QByteArray archive =
        writeBlock(untagged, {fileSegment("a.bin", a), fileSegment("dir/sub/b.bin", b)},
                   smallChunks)
        + storedBlock({fileSegment("c.bin", c)}, false)
        + storedBlock({fileSegment("dir/d.bin", "d")}, true);
    expectExtracts(archive, {{"a.bin", a}, {"dir/sub/b.bin", b}, {"c.bin", c}, {"dir/d.bin", "d"}});
}

TEST(StoredStreaming, EmptyFileAndSegmentWithoutChecksum)
{
    QVector<SegmentSpec> segs = {fileSegment("empty.txt", ""), fileSegment("plain.txt", "no hash")};
    segs[1].trailer = Trailer::NoSha1;
    expectExtracts(storedBlock(segs), {{"empty.txt", ""}, {"plain.txt", "no hash"}});
}

TEST(StoredStreaming, UnnamedSegmentsContinueTheFileBefore)
{
    // Continuation within a block and into the next block.
    const QByteArray archive =
        storedBlock({fileSegment("joined.txt", "one,"), fileSegment("", "two,")})
        + storedBlock({fileSegment("", "three")}) + storedBlock({fileSegment("next.txt", "x")});
    expectExtracts(archive, {{"joined.txt", "one,two,three"}, {"next.txt", "x"}});
}

// One output file named by a journaled file and two streamed segments: the
// journal's file is planned first and kept whole; the others are refused
// with a warning instead of being written into it (possibly at once, from
// other threads).
TEST(StoredStreaming, OneFileNamedTwiceIsWrittenOnceAndWhole)
{
    const QByteArray journaled = mixedBytes(30000, 5);
    JournalWriter writer(4096, 2);
    writer.beginVersion(20240102030405ull);
    writer.putFile("same.txt", journaled);
    writer.commit();
    const QByteArray archive = writer.bytes()
        + storedBlock({fileSegment("same.txt", mixedBytes(20000, 6))})
        + storedBlock({fileSegment("./same.txt", mixedBytes(25000, 7))})
        + storedBlock({fileSegment("other.txt", "x"), fileSegment("/other.txt", "yy")});
    for (int round = 0; round < 5; ++round) {
        ExtractionRun run;
        EXPECT_EQ(run.extract(archive), 1) << qPrintable(run.errorText());
        EXPECT_EQ(run.files().value("same.txt"), journaled);
        EXPECT_EQ(run.files().value("other.txt"), QByteArray("x"));
        EXPECT_EQ(run.errorText().count("extracted already from another name"), 3)
            << qPrintable(run.errorText());
    }
}

TEST(StoredStreaming, BytesBeforeTheFirstTagAreSkipped)
{
    const QByteArray stub = QByteArray("MZ self-extractor stub, not an archive ").repeated(20);
    expectExtracts(stub + storedBlock({fileSegment("a.txt", "payload")}), {{"a.txt", "payload"}});
}

// A stored block whose segments the post-processor turns into the output.
QByteArray transformedBlock(const Program &pcomp, const QVector<QPair<QByteArray, QByteArray>> &outputAndCoded,
                            int pm = 0)
{
    BlockSpec spec;
    spec.pcomp = pcomp.bytes();
    spec.pm = static_cast<uint8_t>(pm);
    QVector<SegmentSpec> segs;
    for (int i = 0; i < outputAndCoded.size(); ++i) {
        SegmentSpec s = fileSegment("f" + QByteArray::number(i), outputAndCoded[i].first);
        s.coded = outputAndCoded[i].second;
        segs.append(s);
    }
    StoredCoder coder(100);
    return writeBlock(spec, segs, coder);
}

TEST(StoredPostProcessor, XorProgramDecodesEveryByte)
{
    // 0: A>255  2: JT +3  4: A^=0x5A  6: OUT  7: HALT
    const Program xorProgram = Program().yn(GT, 255).jump(JT, 7).yn(XOR, 0x5A).op(OUT).op(HALT);
    const QByteArray out = mixedBytes(700, 4);
    QByteArray coded = out;
    for (char &ch : coded)
        ch = static_cast<char>(ch ^ 0x5A);
    expectExtracts(transformedBlock(xorProgram, {{out, coded}}), {{"f0", out}});
}

TEST(StoredPostProcessor, RegistersKeepTheirValuesAcrossCallsAndSegments)
{
    // Delta decoding: B holds the running sum. 0: A>255  2: JT +3  4: A+=B  5: B=A  6: OUT  7: HALT
    const Program sum = Program().yn(GT, 255).jump(JT, 7).y(ADD, B).y(SET_B, A).op(OUT).op(HALT);
    const QByteArray first = mixedBytes(300, 5), second = mixedBytes(200, 6);
    unsigned char previous = 0;
    auto deltas = [&previous](const QByteArray &out) {
        QByteArray coded;
        for (char ch : out) {
            coded.append(static_cast<char>(static_cast<unsigned char>(ch) - previous));
            previous = static_cast<unsigned char>(ch);
        }
        return coded;
    };
    const QByteArray codedFirst = deltas(first), codedSecond = deltas(second);
    expectExtracts(transformedBlock(sum, {{first, codedFirst}, {second, codedSecond}}),
                   {{"f0", first}, {"f1", second}});
}

TEST(StoredPostProcessor, LoopsExpandRunsOfBytes)
{
    // Input pairs (count, byte); D is the phase, C the count.
    Program p;
    p.yn(GT, 255).jump(JT, 12);         // 0, 2: the end call does nothing
    p.y(SET_B, A).y(SET_A, D).yn(EQ, 0); // 4, 5, 6
    p.jump(JF, 13);                      // 8: second byte of a pair
    p.y(SET_C, B).op(D_INC).op(HALT);    // 10, 11, 12
    p.y(SET_A, C).yn(EQ, 0).jump(JT, 23); // 13, 14, 16
    p.y(SET_A, B).op(OUT).op(C_DEC).jump(JMP, 13); // 18, 19, 20, 21
    p.op(D_ZERO).op(HALT);               // 23, 24
    ASSERT_EQ(p.size(), 25);
    const QByteArray coded("\x03" "a" "\x00" "b" "\xff" "c" "\x01" "\n", 8);
    const QByteArray out = "aaa" + QByteArray(255, 'c') + "\n";
    expectExtracts(transformedBlock(p, {{out, coded}}), {{"f0", out}});
}

TEST(StoredPostProcessor, MemoryCellsAndTheEndOfSegmentCall)
{
    // Reverses each group of four bytes in M; the end-of-segment call (A = 2^32-1)
    // writes what is left of an unfinished group in order.
    Program p;
    p.yn(GT, 255).jump(JT, 25);                          // 0, 2
    p.y(SET_AT_C, A).op(C_INC).y(SET_A, C).yn(EQ, 4);    // 4, 5, 6, 7
    p.jump(JF, 24).yn(SET_B, 3);                          // 9, 11
    p.y(SET_A, AtB).op(OUT).y(SET_A, B).yn(EQ, 0).jump(JT, 23); // 13, 14, 15, 16, 18
    p.op(B_DEC).jump(JMP, 13);                            // 20, 21
    p.op(C_ZERO).op(HALT);                                // 23, 24
    p.op(B_ZERO).y(SET_A, B).y(EQ, C).jump(JT, 35);       // 25, 26, 27, 28
    p.y(SET_A, AtB).op(OUT).op(B_INC).jump(JMP, 26);      // 30, 31, 32, 33
    p.op(C_ZERO).op(HALT);                                // 35, 36
    ASSERT_EQ(p.size(), 37);
    auto reversedGroups = [](const QByteArray &out) {
        QByteArray coded;
        int at = 0;
        for (; at + 4 <= out.size(); at += 4) {
            for (int i = 3; i >= 0; --i)
                coded.append(out[at + i]);
        }
        return coded + out.mid(at);
    };
    const QByteArray first = mixedBytes(402, 7), second = mixedBytes(13, 8);
    expectExtracts(transformedBlock(p, {{first, reversedGroups(first)}, {second, reversedGroups(second)}}, 2),
                   {{"f0", first}, {"f1", second}});
}

TEST(StoredPostProcessor, DivisionByZeroGivesZero)
{
    // 0: A>255  2: JT +8  4: B=0  5: C=A  6: A/=B  7: OUT  8: A=C  9: A%=B  10: OUT  11: HALT
    Program p;
    p.yn(GT, 255).jump(JT, 11).op(B_ZERO).y(SET_C, A).y(DIV, B).op(OUT).y(SET_A, C).y(MOD, B);
    p.op(OUT).op(HALT);
    const QByteArray coded = "xyz";
    expectExtracts(transformedBlock(p, {{QByteArray(6, '\0'), coded}}), {{"f0", QByteArray(6, '\0')}});
}

} // namespace
