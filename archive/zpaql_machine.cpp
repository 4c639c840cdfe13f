// ZPAQL interpreter. Opcodes below 64 form rows (target register or cell)
// by columns (operation); from 64 up the column picks the operand Y and the
// row the operation.
#include "zpaql_machine.h"

#include "decode_error.h"
#include "zpaq_choices.h"

#include <utility>

namespace zpaq {

ZpaqlMachine::ZpaqlMachine(unsigned hbits, unsigned mbits, std::vector<std::uint8_t> code)
    : m_code(std::move(code)),
      m_h(std::size_t(1) << hbits, 0),
      m_m(std::size_t(1) << mbits, 0),
      m_hmask(std::uint32_t((std::uint64_t(1) << hbits) - 1)),
      m_mmask(std::uint32_t((std::uint64_t(1) << mbits) - 1)),
      m_credit(kInstructionBudget),
      m_perCall(kInstructionsPerCall),
      m_perOutput(kInstructionsPerOutput)
{
}

std::uint32_t ZpaqlMachine::operand(int column, std::uint32_t immediate)
{
    switch (column) {
    case 0: return m_a;
    case 1: return m_b;
    case 2: return m_c;
    case 3: return m_d;
    case 4: return mb();
    case 5: return mc();
    case 6: return hd();
    default: return immediate;
    }
}

void ZpaqlMachine::run(std::uint32_t input)
{
    m_a = input;
    m_halted = false;
    m_callOutput = 0;
    m_credit += m_perCall;
    std::uint32_t pc = 0;
    const std::size_t length = m_code.size();
    while (!m_halted) {
        if (m_credit == 0)
            fail("ZPAQL program did not halt within its instruction budget (%llu instructions "
                 "run in this block)",
                 static_cast<unsigned long long>(m_executed));
        --m_credit;
        ++m_executed;
        if (pc >= length)
            fail("ZPAQL program counter %u outside the program of %zu bytes", pc, length);
        const std::uint8_t op = m_code[pc++];
        execute(op, pc, length);
    }
}

namespace {

[[noreturn]] void undefinedOpcode(std::uint8_t op, std::uint32_t at)
{
    if (op == 0)
        fail("ZPAQL ERROR instruction at %u", at);
    fail("undefined ZPAQL opcode %u at %u", unsigned(op), at);
}

// Applies one of the operations of the rows 0..6, columns 1..4, to a 32-bit
// register or (with `bits8`) a memory byte.
template <typename T>
void unary(T &x, int column)
{
    switch (column) {
    case 1: ++x; break;
    case 2: --x; break;
    case 3: x = T(~x); break;
    case 4: x = 0; break;
    default: break;
    }
}

} // namespace

void ZpaqlMachine::execute(std::uint8_t op, std::uint32_t &pc, std::size_t length)
{
    const std::uint32_t at = pc - 1;
    const int column = op & 7;
    std::uint32_t n = 0;
    if (column == 7 && op != 255) {
        if (pc >= length)
            fail("ZPAQL operand byte past the end of the program");
        n = m_code[pc++];
    }
    if (op < 64) {
        const int row = op >> 3;
        if (row == 7) {
            switch (op) {
            case 56: m_halted = true; return;
            case 57:
                if (m_out) {
                    ZPAQ_CHECK(++m_callOutput <= kMaxOutputPerCall,
                               "ZPAQL program writes more than %llu bytes in one call",
                               static_cast<unsigned long long>(kMaxOutputPerCall));
                    m_credit += m_perOutput;
                    m_out(std::uint8_t(m_a));
                }
                return;
            case 59: m_a = (m_a + mb() + kHashAdd) * kHashMul; return;
            case 60: hd() = (hd() + m_a + kHashAdd) * kHashMul; return;
            case 63: pc += std::uint32_t(std::int32_t(std::int8_t(n))); return;
            default: undefinedOpcode(op, at);
            }
        }
        if (column == 5 || column == 6 || op == 0)
            undefinedOpcode(op, at);
        if (column == 7) {
            switch (row) {
            case 0: m_a = m_r[n]; return;
            case 1: m_b = m_r[n]; return;
            case 2: m_c = m_r[n]; return;
            case 3: m_d = m_r[n]; return;
            case 4:
                if (m_f)
                    pc += std::uint32_t(std::int32_t(std::int8_t(n)));
                return;
            case 5:
                if (!m_f)
                    pc += std::uint32_t(std::int32_t(std::int8_t(n)));
                return;
            default: m_r[n] = m_a; return;
            }
        }
        if (column == 0) { // swap with A
            switch (row) {
            case 1: std::swap(m_b, m_a); return;
            case 2: std::swap(m_c, m_a); return;
            case 3: std::swap(m_d, m_a); return;
            case 4: {
                const std::uint8_t old = mb();
                mb() = std::uint8_t(m_a);
                m_a = (m_a & ~0xFFu) | old;
                return;
            }
            case 5: {
                const std::uint8_t old = mc();
                mc() = std::uint8_t(m_a);
                m_a = (m_a & ~0xFFu) | old;
                return;
            }
            default: std::swap(hd(), m_a); return;
            }
        }
        switch (row) {
        case 0: unary(m_a, column); return;
        case 1: unary(m_b, column); return;
        case 2: unary(m_c, column); return;
        case 3: unary(m_d, column); return;
        case 4: unary(mb(), column); return;
        case 5: unary(mc(), column); return;
        default: unary(hd(), column); return;
        }
    }
    if (op == 255) {
        if (length - pc < 2)
            fail("ZPAQL long jump past the end of the program");
        pc = std::uint32_t(m_code[pc]) | std::uint32_t(m_code[pc + 1]) << 8;
        return;
    }
    if ((op >= 120 && op < 128) || op >= 240)
        undefinedOpcode(op, at);
    const std::uint32_t y = operand(column, n);
    switch ((op - 64) >> 3) {
    case 0: m_a = y; return;
    case 1: m_b = y; return;
    case 2: m_c = y; return;
    case 3: m_d = y; return;
    case 4: mb() = std::uint8_t(y); return;
    case 5: mc() = std::uint8_t(y); return;
    case 6: hd() = y; return;
    case 8: m_a += y; return;
    case 9: m_a -= y; return;
    case 10: m_a *= y; return;
    case 11: m_a = y ? m_a / y : 0; return;
    case 12: m_a = y ? m_a % y : 0; return;
    case 13: m_a &= y; return;
    case 14: m_a &= ~y; return;
    case 15: m_a |= y; return;
    case 16: m_a ^= y; return;
    case 17: m_a <<= (y & 31); return;
    case 18: m_a >>= (y & 31); return;
    case 19: m_f = m_a == y; return;
    case 20: m_f = m_a < y; return;
    default: m_f = m_a > y; return;
    }
}

} // namespace zpaq
