// Damaged ZPAQL programs in both roles: the post-processor of a stored block
// and HCOMP of a modelled block. ERROR and undefined opcodes, jumps that leave
// the program, and programs that never halt must all end in a refusal.
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
    hcompCase("hcomp_error", one(ERROR)),
    hcompCase("hcomp_undefined_120", one(120)),
    hcompCase("hcomp_undefined_245", one(245)),
    hcompCase("hcomp_jump_past_end", two(JMP, 100)),
    hcompCase("hcomp_jump_before_start", two(JMP, -100)),
    hcompCase("hcomp_long_jump_past_end", Program().longJump(0xFF00).bytes()),
    hcompCase("hcomp_runs_into_final_zero", one(A_INC)),
    hcompCase("hcomp_endless_loop", two(JMP, -2)),
};

class BadProgram : public testing::TestWithParam<BadCase> {};

TEST_P(BadProgram, IsRefusedWhileItsSoundTwinExtracts)
{
    checkBadCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Archive, BadProgram, testing::ValuesIn(kProgramCases), badCaseName);

} // namespace
