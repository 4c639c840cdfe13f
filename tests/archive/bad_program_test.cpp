// Damaged ZPAQL programs in both roles: the post-processor of a stored block
// and HCOMP of a modelled block. ERROR and undefined opcodes, jumps that leave
// the program, programs that never halt, programs slow on every byte and
// programs that write past their segment's stated size must all end in a
// refusal.
#include "arith_encoder.h"
#include "bad_case.h"
#include "block_writer.h"
#include "components.h"
#include "zpaql.h"

#include <gtest/gtest.h>

using namespace zpaqtest;
using namespace zpaqtest::zpaql;

namespace {

const QByteArray kText = "jump, halt, out\n";
const QMap<QString, QByteArray> kTextFiles{{QStringLiteral("a.txt"), kText}};

// 0: A>255  2: JT +1  4: OUT  5: HALT  -- copies each byte, ignores the end call.
QByteArray identityPcomp()
{
    return Program().yn(GT, 255).jump(JT, 5).op(OUT).op(HALT).bytes();
}

// Stored block with post-processor header 01 psize(2) <program> 00.
BadCase pcompCase(const char *name, QByteArray faultyProgram)
{
    return {name,
            [=](bool faulty) {
                return storedBlock({fileSegment("a.txt", kText)}, true,
                                   faulty ? faultyProgram : identityPcomp());
            },
            2, kTextFiles};
}

// Modelled block, CONST 128 only; HCOMP runs after the first coded byte.
BadCase hcompCase(const char *name, QByteArray faultyProgram)
{
    return {name,
            [=](bool faulty) {
                BlockSpec spec;
                spec.level = 1;
                spec.add(comp::constant(128));
                spec.hcomp = faulty ? faultyProgram : Program().op(HALT).bytes();
                return flatModelledBlock(spec, {fileSegment("a.txt", kText)});
            },
            2, kTextFiles};
}

QByteArray one(int code) { return Program().op(static_cast<uint8_t>(code)).bytes(); }
QByteArray two(int code, int operand)
{
    return Program().op(static_cast<uint8_t>(code), operand).bytes();
}

// Spins 3 * 2^20 instructions and then HALTs: well inside what one call may
// run, but a block of such calls must not cost 2^20 instructions a byte.
//   0: A=1  2: A<<=20  4: A--  5: A==0  7: JF -5 (to 4)  9: HALT
QByteArray spinningHcomp()
{
    return Program().yn(SET_A, 1).yn(SHL, 20).op(A_DEC).yn(EQ, 0).jump(JF, 4).op(HALT).bytes();
}

// The same spin before copying each byte as the identity program does.
//   0: R0=A  2: A=1  4: A<<=20  6: A--  7: A==0  9: JF -5 (to 6)
//  11: A=R0  13: A>255  15: JT +1 (to 18)  17: OUT  18: HALT
QByteArray spinningPcomp()
{
    return Program().op(R_STORE_A, 0).yn(SET_A, 1).yn(SHL, 20).op(A_DEC).yn(EQ, 0)
        .jump(JF, 6).op(A_LOAD_R, 0).yn(GT, 255).jump(JT, 18).op(OUT).op(HALT).bytes();
}

// Copies each byte and, at the end of the segment, writes zeros for ever.
//   0: A>255  2: JT +2 (to 6)  4: OUT  5: HALT  6: A=0  8: OUT  9: JMP -3 (to 8)
QByteArray endlessWriterPcomp()
{
    return Program().yn(GT, 255).jump(JT, 6).op(OUT).op(HALT).yn(SET_A, 0).op(OUT)
        .jump(JMP, 8).bytes();
}

const BadCase kProgramCases[] = {
    pcompCase("pcomp_error", one(ERROR)),
    pcompCase("pcomp_undefined_5", one(5)),
    pcompCase("pcomp_undefined_14", one(14)),
    pcompCase("pcomp_undefined_53", one(53)),
    pcompCase("pcomp_undefined_58", one(58)),
    pcompCase("pcomp_undefined_62", one(62)),
    pcompCase("pcomp_undefined_120", one(120)),
    pcompCase("pcomp_undefined_127", two(127, 1)),
    pcompCase("pcomp_undefined_240", one(240)),
    pcompCase("pcomp_undefined_254", one(254)),
    pcompCase("pcomp_jump_past_end", two(JMP, 100)),
    pcompCase("pcomp_jump_before_start", two(JMP, -3)),
    pcompCase("pcomp_conditional_jump_past_end",
              Program().yn(GT, 255).jump(JF, 90).op(HALT).bytes()),
    pcompCase("pcomp_long_jump_past_end", Program().longJump(0x1000).bytes()),
    pcompCase("pcomp_runs_into_final_zero", one(A_INC)),
    pcompCase("pcomp_endless_loop", two(JMP, -2)),
    pcompCase("pcomp_endless_long_jump", Program().longJump(0).bytes()),
    // 0: A>255  2: JF +2  4: JMP -2  6: OUT  7: HALT -- loops only on the end call.
    pcompCase("pcomp_endless_at_segment_end",
              Program().yn(GT, 255).jump(JF, 6).jump(JMP, 4).op(OUT).op(HALT).bytes()),
    pcompCase("pcomp_slow_on_every_byte", spinningPcomp()),
    pcompCase("pcomp_writes_past_the_stated_size", endlessWriterPcomp()),
    hcompCase("hcomp_error", one(ERROR)),
    hcompCase("hcomp_undefined_120", one(120)),
    hcompCase("hcomp_undefined_245", one(245)),
    hcompCase("hcomp_jump_past_end", two(JMP, 100)),
    hcompCase("hcomp_jump_before_start", two(JMP, -100)),
    hcompCase("hcomp_long_jump_past_end", Program().longJump(0xFF00).bytes()),
    hcompCase("hcomp_runs_into_final_zero", one(A_INC)),
    hcompCase("hcomp_endless_loop", two(JMP, -2)),
    hcompCase("hcomp_slow_on_every_byte", spinningHcomp()),
};

class BadProgram : public testing::TestWithParam<BadCase> {};

TEST_P(BadProgram, IsRefusedWhileItsSoundTwinExtracts)
{
    checkBadCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Archive, BadProgram, testing::ValuesIn(kProgramCases), badCaseName);

} // namespace

// A segment's comment states its size: output beyond it is refused as soon as
// it appears, before it fills the disk, while a smaller output (a file that
// goes on in later segments) and a comment without a number are accepted.
TEST(StatedSize, OutputBeyondTheCommentsSizeIsRefused)
{
    {
        ExtractionRun run;
        EXPECT_EQ(run.extract(storedBlock({fileSegment("a.txt", kText)}, true,
                                          endlessWriterPcomp())),
                  2);
        EXPECT_TRUE(run.errorText().contains(
            QStringLiteral("\"a.txt\" produces more than the %1 bytes its comment states").arg(kText.size())))
            << qPrintable(run.errorText());
    }
    // Stored data with a correct SHA-1 but a comment of 5 bytes.
    SegmentSpec understated = fileSegment("a.txt", kText);
    understated.comment = "5 with more text";
    {
        ExtractionRun run;
        EXPECT_EQ(run.extract(storedBlock({understated})), 2);
        EXPECT_TRUE(run.errorText().contains(QStringLiteral("more than the 5 bytes")))
            << qPrintable(run.errorText());
        EXPECT_LE(run.files().value(QStringLiteral("a.txt")).size(), 5);
    }
    for (const QByteArray &comment : {QByteArray("1000"), QByteArray(), QByteArray("size?"),
                                      QByteArray("99999999999999999999999")}) {
        SegmentSpec seg = fileSegment("a.txt", kText);
        seg.comment = comment;
        ExtractionRun run;
        EXPECT_EQ(run.extract(storedBlock({seg})), 0) << comment.constData();
        EXPECT_EQ(run.files().value(QStringLiteral("a.txt")), kText);
    }
    // Exactly the stated size is fine, through PCOMP as well.
    ExtractionRun exact;
    EXPECT_EQ(exact.extract(storedBlock({fileSegment("a.txt", kText)}, true, identityPcomp())), 0);
}

// A post-processor that reads without writing cannot keep a tiny archive
// decoding without end: past a slack it must write one byte for every four
// it reads.
TEST(StatedSize, PostProcessorThatOnlyReadsIsStopped)
{
    SegmentSpec seg = fileSegment("a.txt", QByteArray());
    seg.comment.clear();
    seg.coded = QByteArray(3 << 19, 'x'); // 1.5 MiB
    ExtractionRun run;
    EXPECT_EQ(run.extract(storedBlock({seg}, true, Program().op(HALT).bytes())), 2);
    EXPECT_TRUE(run.errorText().contains("writes only 0")) << qPrintable(run.errorText());
    EXPECT_EQ(run.files(), (QMap<QString, QByteArray>()));
}
