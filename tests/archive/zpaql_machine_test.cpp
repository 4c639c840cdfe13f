// The ZPAQL machine instruction by instruction: arithmetic rows against the
// operand columns, the 8-bit memory forms, swaps, jumps, state kept between
// calls, and every way a program must be refused (ERROR, undefined opcodes,
// PC leaving the program, a missing operand, an endless loop).
#include "archive/decode_error.h"
#include "archive/zpaql_machine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using zpaq::DecodeError;
using zpaq::ZpaqlMachine;

namespace {

enum : std::uint8_t {
    ERROR = 0, A_INC = 1, A_DEC = 2, A_NOT = 3, B_SWAP = 8, B_INC = 9, B_DEC = 10,
    MB_SWAP = 32, MB_INC = 33, MB_DEC = 34, MB_NOT = 35, JT = 39, JF = 47,
    MD_SWAP = 48, MD_INC = 49, R_A = 55, HALT = 56, OUT = 57, HASH = 59, HASHD = 60,
    JMP = 63, A_R = 7, A_B = 65, A_C = 66, A_D = 67, A_N = 71, A_MB = 68, A_MC = 69, B_N = 79,
    C_INC = 17, C_A = 80, C_N = 87, D_DEC = 26, D_N = 95, MB_A = 96, MB_N = 103,
    MD_A = 112, MD_N = 119, LJ = 255,
    // Arithmetic rows with the immediate column (base + 7).
    ADD = 135, SUB = 143, MUL = 151, DIV = 159, MOD = 167, AND = 175, ANDNOT = 183,
    OR = 191, XOR = 199, SHL = 207, SHR = 215, EQ = 223, LT = 231, GT = 239,
};

// A machine with 16 H words and 16 M bytes running `code` + HALT + 0.
ZpaqlMachine machine(std::vector<std::uint8_t> code)
{
    code.push_back(HALT);
    code.push_back(0);
    return ZpaqlMachine(4, 4, std::move(code));
}

std::string failure(ZpaqlMachine &vm, std::uint32_t input = 0)
{
    try {
        vm.run(input);
    } catch (const DecodeError &e) {
        return e.what();
    }
    return "no error";
}

struct ArithmeticCase
{
    std::uint8_t op;
    std::uint8_t n;
    std::uint32_t a;
    bool f;
};

} // namespace

TEST(ZpaqlMachine, ArithmeticRowsOnTheImmediateColumn)
{
    // A starts at 200 in every case.
    const ArithmeticCase cases[] = {
        {ADD, 100, 300, false},      {SUB, 201, 0xFFFFFFFFu, false}, {MUL, 3, 600, false},
        {DIV, 7, 28, false},         {DIV, 0, 0, false},             {MOD, 7, 4, false},
        {MOD, 0, 0, false},          {AND, 0x0F, 0x08, false},       {ANDNOT, 0x0F, 0xC0, false},
        {OR, 0x0F, 0xCF, false},     {XOR, 0xFF, 0x37, false},       {SHL, 33, 400, false},
        {SHR, 34, 50, false},        {EQ, 200, 200, true},           {EQ, 201, 200, false},
        {LT, 201, 200, true},        {LT, 200, 200, false},          {GT, 199, 200, true},
        {GT, 200, 200, false},
    };
    for (const ArithmeticCase &c : cases) {
        ZpaqlMachine vm = machine({A_N, 200, c.op, c.n});
        vm.run(0);
        EXPECT_EQ(vm.a(), c.a) << "opcode " << int(c.op) << " N " << int(c.n);
        EXPECT_EQ(vm.f(), c.f) << "opcode " << int(c.op) << " N " << int(c.n);
    }
}

TEST(ZpaqlMachine, ComparisonsAreUnsigned)
{
    ZpaqlMachine vm = machine({A_DEC, GT, 1}); // A = 2^32 - 1
    vm.run(0);
    EXPECT_EQ(vm.a(), 0xFFFFFFFFu);
    EXPECT_TRUE(vm.f());
    ZpaqlMachine lt = machine({A_DEC, LT, 1});
    lt.run(0);
    EXPECT_FALSE(lt.f());
}

TEST(ZpaqlMachine, OperandColumnsReadRegistersAndCells)
{
    // B = 3, *B = 9, D = 5, *D = 7; then A = B + *B + *D via columns 1, 4, 6.
    ZpaqlMachine vm = machine({B_N, 3, MB_N, 9, D_N, 5, MD_N, 7, A_N, 0, 129, 132, 134});
    vm.run(0);
    EXPECT_EQ(vm.a(), 3u + 9u + 7u);
    EXPECT_EQ(vm.m(3), 9);
    EXPECT_EQ(vm.h(5), 7u);
}

TEST(ZpaqlMachine, MemoryCellsWrapAtEightBitsAndIndexesWrapAtTheSize)
{
    // B-- from 0 addresses the last cell (B taken modulo |M|).
    ZpaqlMachine vm = machine({B_DEC, MB_DEC, MB_DEC, MB_NOT});
    vm.run(0);
    EXPECT_EQ(vm.b(), 0xFFFFFFFFu);
    EXPECT_EQ(vm.m(15), 1); // 0 - 2 = 254, NOT = 1
    ZpaqlMachine inc = machine({MB_N, 255, MB_INC, A_MB});
    inc.run(0);
    EXPECT_EQ(inc.a(), 0u);
    // *B = A keeps only the low byte; *D = A all 32 bits.
    ZpaqlMachine store = machine({A_DEC, MB_A, MD_A, MD_INC});
    store.run(0);
    EXPECT_EQ(store.m(0), 255);
    EXPECT_EQ(store.h(0), 0u); // 0xFFFFFFFF + 1 wraps
}

TEST(ZpaqlMachine, SwapsExchangeEightBitsWithMemoryAndThirtyTwoWithH)
{
    // A = 0x1234, *B = 0x56: *B<>A gives A = 0x1256 and *B = 0x34.
    ZpaqlMachine vm = machine({A_N, 0x12, SHL, 8, ADD, 0x34, MB_N, 0x56, MB_SWAP});
    vm.run(0);
    EXPECT_EQ(vm.a(), 0x1256u);
    EXPECT_EQ(vm.m(0), 0x34);
    ZpaqlMachine h = machine({A_N, 0x12, SHL, 8, MD_N, 9, MD_SWAP, B_SWAP});
    h.run(0);
    EXPECT_EQ(h.h(0), 0x1200u);
    EXPECT_EQ(h.b(), 9u);
    EXPECT_EQ(h.a(), 0u);
}

TEST(ZpaqlMachine, HashInstructions)
{
    ZpaqlMachine vm = machine({MB_N, 7, A_N, 3, HASH});
    vm.run(0);
    EXPECT_EQ(vm.a(), (3u + 7u + 512u) * 773u);
    ZpaqlMachine d = machine({MD_N, 5, A_N, 3, HASHD});
    d.run(0);
    EXPECT_EQ(d.h(0), (5u + 3u + 512u) * 773u);
}

TEST(ZpaqlMachine, RegistersRAndStateKeptBetweenCallsExceptA)
{
    ZpaqlMachine vm = machine({B_INC, R_A, 4, A_N, 1, A_R, 4});
    vm.run(42);
    EXPECT_EQ(vm.r(4), 42u);
    EXPECT_EQ(vm.a(), 42u);
    vm.run(43);
    EXPECT_EQ(vm.b(), 2u);
    EXPECT_EQ(vm.r(4), 43u);
}

TEST(ZpaqlMachine, JumpsAreRelativeToTheNextInstructionAndSigned)
{
    // [0] A=0  [2] A++  [3] A<10  [5] JT -5 (to 2)  [7] HALT
    ZpaqlMachine vm = machine({A_N, 0, A_INC, LT, 10, JT, 0xFB});
    vm.run(0);
    EXPECT_EQ(vm.a(), 10u);
    // [0] JMP +1 [2] A++ (skipped) [3] JF +1 with F = 0 [5] A++ (skipped) [6] LJ 9 [9] HALT
    ZpaqlMachine skip = machine({JMP, 1, A_INC, JF, 1, A_INC, LJ, 9, 0});
    skip.run(5);
    EXPECT_EQ(skip.a(), 5u);
}

// A comparison and the conditional jump after it run as one step; F keeps
// the comparison's result, and a jump onto the conditional jump alone still
// sees the F of before.
TEST(ZpaqlMachine, ComparisonWithItsConditionalJump)
{
    // 0: A==7  2: JF +1 (to 5)  4: A++  5: HALT
    ZpaqlMachine pair = machine({EQ, 7, JF, 1, A_INC});
    pair.run(7);
    EXPECT_EQ(pair.a(), 8u);
    EXPECT_TRUE(pair.f());
    pair.run(6);
    EXPECT_EQ(pair.a(), 6u);
    EXPECT_FALSE(pair.f());
    // 0: JMP +2 (to 4)  2: A==7 (skipped)  4: JF +1 (to 7)  6: A++  7: HALT
    ZpaqlMachine into = machine({JMP, 2, EQ, 7, JF, 1, A_INC});
    into.run(7); // F still 0: the jump is taken
    EXPECT_EQ(into.a(), 7u);
    EXPECT_EQ(into.executed(), 3u);
    // With a register load in front: 0: R3=A  2: A=R3  4: A>5  6: JF +1  8: A++  9: HALT
    ZpaqlMachine loaded = machine({R_A, 3, A_R, 3, GT, 5, JF, 1, A_INC});
    for (std::uint32_t input : {9u, 2u, 5u, 6u}) {
        loaded.run(input);
        EXPECT_EQ(loaded.a(), input > 5 ? input + 1 : input) << input;
        EXPECT_EQ(loaded.f(), input > 5) << input;
    }
    EXPECT_EQ(loaded.executed(), 4 * 5u + 2);
}

// The same step with A=B, A=C or A=D in front (one byte shorter than A=R N):
// every comparison and both jumps, each taken and not, must land where the
// separate instructions would, and a jump onto the comparison skips the load.
TEST(ZpaqlMachine, RegisterLoadComparisonAndJump)
{
    const std::uint8_t set[] = {B_N, C_N, D_N};
    const std::uint8_t load[] = {A_B, A_C, A_D};
    for (int r = 0; r < 3; ++r) {
        for (std::uint8_t compare : {EQ, LT, GT}) {
            for (std::uint8_t jump : {JT, JF}) {
                for (std::uint32_t value : {4u, 5u, 6u}) {
                    // 0: X=N value  2: A=X  3: A?5  5: Jcc +1 (to 8)  7: A++  8: HALT
                    ZpaqlMachine vm =
                        machine({set[r], std::uint8_t(value), load[r], compare, 5, jump, 1, A_INC});
                    vm.run(0);
                    const bool f = compare == EQ ? value == 5 : compare == LT ? value < 5 : value > 5;
                    const bool jumped = jump == JT ? f : !f;
                    EXPECT_EQ(vm.f(), f) << r << ' ' << int(compare) << ' ' << value;
                    EXPECT_EQ(vm.a(), jumped ? value : value + 1)
                        << r << ' ' << int(compare) << ' ' << int(jump) << ' ' << value;
                    EXPECT_EQ(vm.executed(), jumped ? 5u : 6u);
                }
            }
        }
    }
    // 0: D=N 9  2: JMP +1 (to 5)  4: A=D (skipped)  5: A>5  7: JF +1  9: A++  10: HALT
    ZpaqlMachine skip = machine({D_N, 9, JMP, 1, A_D, GT, 5, JF, 1, A_INC});
    skip.run(3);
    EXPECT_EQ(skip.a(), 3u);
    EXPECT_FALSE(skip.f());
    skip.run(7);
    EXPECT_EQ(skip.a(), 8u);
    EXPECT_EQ(skip.executed(), 5u + 6u);
}

// A byte-copying loop, whose steps run two instructions at a time, copies,
// writes and counts exactly as the instructions one by one: the same output,
// the same instruction count, and the allowance runs out at the same point.
TEST(ZpaqlMachine, CopyLoopCountsAndSpendsAsItsInstructions)
{
    // 0: *B='a' B++ *B='b' B++ *B='c'  8: B=8  10: D=3
    // 12: A=D  13: A>0  15: JF +8 (to 25)  17: D-- A=*C *B=A C++ B++ OUT  23: JMP -13 (to 12)
    // 25: HALT. Runs: 10 up to the first JF, then 7 and 3 per byte, then HALT.
    const std::vector<std::uint8_t> copy = {MB_N, 'a', B_INC, MB_N, 'b', B_INC, MB_N, 'c', B_N, 8,
                                            D_N, 3, A_D, GT, 0, JF, 8, D_DEC, A_MC, MB_A, C_INC,
                                            B_INC, OUT, JMP, 0xF3};
    ZpaqlMachine vm = machine(copy);
    std::string out;
    vm.setOutput([&](const std::uint8_t *p, std::size_t n) { out.append(reinterpret_cast<const char *>(p), n); });
    vm.setBudget(41);
    vm.run(0);
    vm.flushOutput();
    EXPECT_EQ(out, "abc");
    EXPECT_EQ(vm.executed(), 41u);
    EXPECT_EQ(std::string({char(vm.m(8)), char(vm.m(9)), char(vm.m(10))}), "abc");
    EXPECT_EQ(vm.b(), 11u);
    EXPECT_EQ(vm.c(), 3u);
    EXPECT_EQ(vm.a(), 0u);
    ZpaqlMachine short1 = machine(copy);
    short1.setBudget(40); // HALT's own run is not paid for
    EXPECT_NE(failure(short1).find("did not halt"), std::string::npos);
    // With one instruction earned per byte written the start may be three less.
    for (std::uint64_t initial : {38u, 37u}) {
        ZpaqlMachine earning = machine(copy);
        earning.setOutput([](const std::uint8_t *, std::size_t) {});
        earning.setBudget(initial, 0, 1);
        EXPECT_EQ(failure(earning), initial == 38 ? "no error" : failure(short1)) << initial;
    }
    // Jumps onto the second half of each pair skip the first:
    // 0: A='z'  2: JMP +1  4: A=*C (skipped)  5: *B=A  6: JMP +1  8: C++ (skipped)
    // 9: B++  10: JMP +1  12: OUT (skipped)  13: JMP +0  15: C=200  17: JMP +1
    // 19: A=C (skipped)  20: A>>=3  22: C=A  23: HALT
    ZpaqlMachine halves = machine({A_N, 'z', JMP, 1, A_MC, MB_A, JMP, 1, C_INC, B_INC, JMP, 1, OUT,
                                   JMP, 0, C_N, 200, JMP, 1, A_C, SHR, 3, C_A});
    std::string none;
    halves.setOutput([&](const std::uint8_t *p, std::size_t n) { none.append(reinterpret_cast<const char *>(p), n); });
    halves.run(0);
    halves.flushOutput();
    EXPECT_EQ(none, "");
    EXPECT_EQ(halves.m(0), 'z');
    EXPECT_EQ(halves.b(), 1u);
    EXPECT_EQ(halves.c(), 'z' >> 3);
    // A=C, A>>=N, C=A as a whole.
    ZpaqlMachine shift = machine({C_N, 200, A_C, SHR, 3, C_A});
    shift.run(0);
    EXPECT_EQ(shift.c(), 25u);
    EXPECT_EQ(shift.a(), 25u);
    EXPECT_EQ(shift.executed(), 5u);
}

TEST(ZpaqlMachine, OutputOnlyThroughOut)
{
    // The first instruction of the real LZ77 post-processor: A > 255; JF.
    ZpaqlMachine vm = machine({0xEF, 0xFF, 0x2F, 0x01, HALT, OUT});
    std::string out;
    vm.setOutput([&](const std::uint8_t *p, std::size_t n) { out.append(reinterpret_cast<const char *>(p), n); });
    vm.run('Z');
    vm.run(0xFFFFFFFFu); // end of segment: no output
    vm.run(0x141);       // above 255 as well
    EXPECT_EQ(out, "");  // held until flushed
    vm.flushOutput();
    EXPECT_EQ(out, "Z");
    ZpaqlMachine quiet = machine({OUT}); // without a sink OUT does nothing
    EXPECT_NO_THROW(quiet.run(1));
}

TEST(ZpaqlMachine, ErrorAndUndefinedOpcodesAreRefused)
{
    ZpaqlMachine error = machine({A_INC, ERROR});
    EXPECT_NE(failure(error).find("ERROR"), std::string::npos);
    std::vector<int> undefined = {5, 6, 58, 61, 62};
    for (int row = 1; row < 7; ++row) {
        undefined.push_back(row * 8 + 5);
        undefined.push_back(row * 8 + 6);
    }
    for (int op = 120; op < 128; ++op)
        undefined.push_back(op);
    for (int op = 240; op < 255; ++op)
        undefined.push_back(op);
    for (int op : undefined) {
        ZpaqlMachine vm = machine({std::uint8_t(op), 0});
        EXPECT_NE(failure(vm).find("undefined ZPAQL opcode " + std::to_string(op)),
                  std::string::npos)
            << op;
    }
}

TEST(ZpaqlMachine, ProgramCounterNeverLeavesTheProgram)
{
    ZpaqlMachine forward = machine({JMP, 100});
    EXPECT_NE(failure(forward).find("outside the program"), std::string::npos);
    ZpaqlMachine backward = machine({JMP, 0x80});
    EXPECT_NE(failure(backward).find("outside the program"), std::string::npos);
    ZpaqlMachine longJump = machine({LJ, 0xFF, 0x7F});
    EXPECT_NE(failure(longJump).find("outside the program"), std::string::npos);
    // Running off the end without HALT.
    ZpaqlMachine offEnd(4, 4, {A_INC});
    EXPECT_NE(failure(offEnd).find("outside the program"), std::string::npos);
    // An operand byte missing at the end of the code.
    ZpaqlMachine noOperand(4, 4, {A_N});
    EXPECT_NE(failure(noOperand).find("past the end"), std::string::npos);
    ZpaqlMachine shortLongJump(4, 4, {LJ, 1});
    EXPECT_NE(failure(shortLongJump).find("past the end"), std::string::npos);
}

TEST(ZpaqlMachine, EndlessProgramRunsOutOfItsBudget)
{
    ZpaqlMachine small = machine({JMP, 0xFE});
    small.setBudget(1000);
    EXPECT_NE(failure(small).find("did not halt within its instruction budget (1000 "),
              std::string::npos);
    // The default budget ends an endless loop as well.
    ZpaqlMachine endless = machine({A_INC, JMP, 0xFD});
    EXPECT_NE(failure(endless).find("did not halt"), std::string::npos);
}

TEST(ZpaqlMachine, BudgetIsSharedByTheCallsOfABlock)
{
    // A_INC, HALT: two instructions a call. Each call adds two to the
    // allowance, so the call never fails however often it runs...
    ZpaqlMachine steady = machine({A_INC});
    steady.setBudget(0, 2);
    for (int i = 0; i < 100; ++i)
        ASSERT_NO_THROW(steady.run(0));
    EXPECT_EQ(steady.executed(), 200u);
    // ...while with one less per call the start allowance of 10 is gone
    // after ten calls (10 + 10 - 20) and the eleventh fails.
    ZpaqlMachine starved = machine({A_INC});
    starved.setBudget(10, 1);
    for (int i = 0; i < 10; ++i)
        ASSERT_NO_THROW(starved.run(0));
    EXPECT_NE(failure(starved).find("did not halt"), std::string::npos);
    // Unused allowance carries over: a call that does its work at the end
    // (as an inverse transform does) may spend what the earlier calls saved.
    //   0: A==0   2: JT +3 (to 7)   4: A--   5: JMP -7 (to 0)   7: HALT
    // costs 4 per count plus 3.
    const std::vector<std::uint8_t> countdown = {EQ, 0, JT, 3, A_DEC, JMP, 0xF9};
    ZpaqlMachine saver = machine(countdown);
    saver.setBudget(0, 10);
    for (int i = 0; i < 50; ++i)
        ASSERT_NO_THROW(saver.run(0)); // 3 each, 7 saved each
    EXPECT_NO_THROW(saver.run(80));    // 323 <= 350 + 10
    EXPECT_EQ(saver.a(), 0u);
    ZpaqlMachine spender = machine(countdown);
    spender.setBudget(0, 10);
    EXPECT_NE(failure(spender, 80).find("did not halt"), std::string::npos);
}

TEST(ZpaqlMachine, OutputEarnsAllowanceButOneCallIsBounded)
{
    // 0: OUT  1: JMP -3: writes for ever while every byte pays for its loop.
    ZpaqlMachine writer = machine({OUT, JMP, 0xFD});
    writer.setBudget(0, 2, 4);
    std::uint64_t written = 0;
    writer.setOutput([&](const std::uint8_t *, std::size_t n) { written += n; });
    EXPECT_NE(failure(writer).find("more than 16777216 bytes in one call"), std::string::npos);
    EXPECT_EQ(written, 16777216u);
}
