// ZPAQL: decoding the program once, then running it. Opcodes below 64 form
// rows (target register or cell) by columns (operation); from 64 up the
// column picks the operand Y and the row the operation.
#include "zpaql_machine.h"

#include "decode_error.h"
#include "zpaq_choices.h"

#include <utility>

namespace zpaq {

namespace {

// Kinds of decoded entries besides the opcodes themselves (kind 0 stands for
// ERROR and every undefined opcode, which is kept in the operand).
constexpr std::uint16_t kOutside = 256;
constexpr std::uint16_t kNoOperand = 257;
constexpr std::uint16_t kShortLongJump = 258;

// Bytes OUT gathers before they are handed on.
constexpr std::size_t kOutputPiece = 64 * 1024;

bool defined(std::uint8_t op)
{
    if (op < 64) {
        const int column = op & 7;
        if (op >= 56)
            return op == 56 || op == 57 || op == 59 || op == 60 || op == 63;
        return op != 0 && column != 5 && column != 6;
    }
    return !(op >= 120 && op < 128) && !(op >= 240 && op < 255);
}

bool isJump(std::uint8_t op) { return op == 39 || op == 47 || op == 63; }

} // namespace

ZpaqlMachine::ZpaqlMachine(unsigned hbits, unsigned mbits, std::vector<std::uint8_t> code)
    : m_h(std::size_t(1) << hbits, 0),
      m_m(std::size_t(1) << mbits, 0),
      m_hmask(std::uint32_t((std::uint64_t(1) << hbits) - 1)),
      m_mmask(std::uint32_t((std::uint64_t(1) << mbits) - 1)),
      m_credit(kInstructionBudget),
      m_perCall(kInstructionsPerCall),
      m_perOutput(kInstructionsPerOutput)
{
    decode(code);
}

void ZpaqlMachine::decode(const std::vector<std::uint8_t> &code)
{
    const std::uint32_t length = std::uint32_t(code.size());
    m_code.assign(std::size_t(length) + 1, Instruction{kOutside, 0, length, length});
    for (std::uint32_t pc = 0; pc < length; ++pc) {
        Instruction &i = m_code[pc];
        const std::uint8_t op = code[pc];
        i.kind = defined(op) ? op : 0;
        i.n = op;
        i.next = pc + 1;
        i.target = length;
        if (!defined(op))
            continue;
        if (op == 255) {
            if (length - pc < 3) {
                i.kind = kShortLongJump;
                continue;
            }
            const std::uint32_t target = std::uint32_t(code[pc + 1]) | std::uint32_t(code[pc + 2]) << 8;
            i.next = pc + 3;
            i.target = target < length ? target : length;
        } else if ((op & 7) == 7) {
            if (length - pc < 2) {
                i.kind = kNoOperand;
                continue;
            }
            i.n = code[pc + 1];
            i.next = pc + 2;
            if (isJump(op)) {
                const std::int64_t target = std::int64_t(pc) + 2 + std::int8_t(i.n);
                i.target = target >= 0 && target < std::int64_t(length) ? std::uint32_t(target) : length;
            }
        }
    }
}

void ZpaqlMachine::stop(const Instruction &i, std::uint32_t pc)
{
    switch (i.kind) {
    case kOutside: fail("ZPAQL program counter outside the program of %zu bytes", m_code.size() - 1);
    case kNoOperand: fail("ZPAQL operand byte past the end of the program");
    case kShortLongJump: fail("ZPAQL long jump past the end of the program");
    default:
        if (i.n == 0)
            fail("ZPAQL ERROR instruction at %u", pc);
        fail("undefined ZPAQL opcode %u at %u", unsigned(i.n), pc);
    }
}

void ZpaqlMachine::flushOutput()
{
    if (m_outputUsed == 0)
        return;
    const std::size_t used = m_outputUsed;
    m_outputUsed = 0;
    m_out(m_output.data(), used);
}

void ZpaqlMachine::run(std::uint32_t input)
{
    // Registers live in locals: stores into M could otherwise alias them.
    std::uint32_t a = input, b = m_b, c = m_c, d = m_d;
    bool f = m_f;
    std::uint32_t *const R = m_r;
    std::uint8_t *const M = m_m.data();
    std::uint32_t *const H = m_h.data();
    const std::uint32_t mm = m_mmask, hm = m_hmask;
    const Instruction *const code = m_code.data();
    const bool writes = bool(m_out);
    if (writes && m_output.size() < kOutputPiece)
        m_output.resize(kOutputPiece);
    const std::uint64_t allowance = m_credit + m_perCall;
    std::uint64_t steps = 0, outputs = 0;
    std::uint32_t pc = 0;
    auto save = [&] {
        m_a = a;
        m_b = b;
        m_c = c;
        m_d = d;
        m_f = f;
    };
#define CHECK_BUDGET()                                                                             \
    if (steps > allowance + outputs * m_perOutput) {                                               \
        save();                                                                                    \
        fail("ZPAQL program did not halt within its instruction budget (%llu instructions "       \
             "run in this block)",                                                                 \
             static_cast<unsigned long long>(m_executed + allowance + outputs * m_perOutput));     \
    }
    for (;;) {
        const Instruction &i = code[pc];
        ++steps;
        pc = i.next;
        switch (i.kind) {
        case 1: ++a; break;
        case 2: --a; break;
        case 3: a = ~a; break;
        case 4: a = 0; break;
        case 7: a = R[i.n]; break;
        case 8: std::swap(b, a); break;
        case 9: ++b; break;
        case 10: --b; break;
        case 11: b = ~b; break;
        case 12: b = 0; break;
        case 15: b = R[i.n]; break;
        case 16: std::swap(c, a); break;
        case 17: ++c; break;
        case 18: --c; break;
        case 19: c = ~c; break;
        case 20: c = 0; break;
        case 23: c = R[i.n]; break;
        case 24: std::swap(d, a); break;
        case 25: ++d; break;
        case 26: --d; break;
        case 27: d = ~d; break;
        case 28: d = 0; break;
        case 31: d = R[i.n]; break;
        case 32: { const std::uint8_t old = M[b & mm]; M[b & mm] = std::uint8_t(a); a = (a & ~0xFFu) | old; } break;
        case 33: ++M[b & mm]; break;
        case 34: --M[b & mm]; break;
        case 35: M[b & mm] = std::uint8_t(~M[b & mm]); break;
        case 36: M[b & mm] = 0; break;
        case 39: if (f) { CHECK_BUDGET(); pc = i.target; } break;
        case 40: { const std::uint8_t old = M[c & mm]; M[c & mm] = std::uint8_t(a); a = (a & ~0xFFu) | old; } break;
        case 41: ++M[c & mm]; break;
        case 42: --M[c & mm]; break;
        case 43: M[c & mm] = std::uint8_t(~M[c & mm]); break;
        case 44: M[c & mm] = 0; break;
        case 47: if (!f) { CHECK_BUDGET(); pc = i.target; } break;
        case 48: std::swap(H[d & hm], a); break;
        case 49: ++H[d & hm]; break;
        case 50: --H[d & hm]; break;
        case 51: H[d & hm] = ~H[d & hm]; break;
        case 52: H[d & hm] = 0; break;
        case 55: R[i.n] = a; break;
        case 64: a = a; break;
        case 65: a = b; break;
        case 66: a = c; break;
        case 67: a = d; break;
        case 68: a = std::uint32_t(M[b & mm]); break;
        case 69: a = std::uint32_t(M[c & mm]); break;
        case 70: a = H[d & hm]; break;
        case 71: a = std::uint32_t(i.n); break;
        case 72: b = a; break;
        case 73: b = b; break;
        case 74: b = c; break;
        case 75: b = d; break;
        case 76: b = std::uint32_t(M[b & mm]); break;
        case 77: b = std::uint32_t(M[c & mm]); break;
        case 78: b = H[d & hm]; break;
        case 79: b = std::uint32_t(i.n); break;
        case 80: c = a; break;
        case 81: c = b; break;
        case 82: c = c; break;
        case 83: c = d; break;
        case 84: c = std::uint32_t(M[b & mm]); break;
        case 85: c = std::uint32_t(M[c & mm]); break;
        case 86: c = H[d & hm]; break;
        case 87: c = std::uint32_t(i.n); break;
        case 88: d = a; break;
        case 89: d = b; break;
        case 90: d = c; break;
        case 91: d = d; break;
        case 92: d = std::uint32_t(M[b & mm]); break;
        case 93: d = std::uint32_t(M[c & mm]); break;
        case 94: d = H[d & hm]; break;
        case 95: d = std::uint32_t(i.n); break;
        case 96: M[b & mm] = std::uint8_t(a); break;
        case 97: M[b & mm] = std::uint8_t(b); break;
        case 98: M[b & mm] = std::uint8_t(c); break;
        case 99: M[b & mm] = std::uint8_t(d); break;
        case 100: M[b & mm] = std::uint8_t(std::uint32_t(M[b & mm])); break;
        case 101: M[b & mm] = std::uint8_t(std::uint32_t(M[c & mm])); break;
        case 102: M[b & mm] = std::uint8_t(H[d & hm]); break;
        case 103: M[b & mm] = std::uint8_t(std::uint32_t(i.n)); break;
        case 104: M[c & mm] = std::uint8_t(a); break;
        case 105: M[c & mm] = std::uint8_t(b); break;
        case 106: M[c & mm] = std::uint8_t(c); break;
        case 107: M[c & mm] = std::uint8_t(d); break;
        case 108: M[c & mm] = std::uint8_t(std::uint32_t(M[b & mm])); break;
        case 109: M[c & mm] = std::uint8_t(std::uint32_t(M[c & mm])); break;
        case 110: M[c & mm] = std::uint8_t(H[d & hm]); break;
        case 111: M[c & mm] = std::uint8_t(std::uint32_t(i.n)); break;
        case 112: H[d & hm] = a; break;
        case 113: H[d & hm] = b; break;
        case 114: H[d & hm] = c; break;
        case 115: H[d & hm] = d; break;
        case 116: H[d & hm] = std::uint32_t(M[b & mm]); break;
        case 117: H[d & hm] = std::uint32_t(M[c & mm]); break;
        case 118: H[d & hm] = H[d & hm]; break;
        case 119: H[d & hm] = std::uint32_t(i.n); break;
        case 128: a += (a); break;
        case 129: a += (b); break;
        case 130: a += (c); break;
        case 131: a += (d); break;
        case 132: a += (std::uint32_t(M[b & mm])); break;
        case 133: a += (std::uint32_t(M[c & mm])); break;
        case 134: a += (H[d & hm]); break;
        case 135: a += (std::uint32_t(i.n)); break;
        case 136: a -= (a); break;
        case 137: a -= (b); break;
        case 138: a -= (c); break;
        case 139: a -= (d); break;
        case 140: a -= (std::uint32_t(M[b & mm])); break;
        case 141: a -= (std::uint32_t(M[c & mm])); break;
        case 142: a -= (H[d & hm]); break;
        case 143: a -= (std::uint32_t(i.n)); break;
        case 144: a *= (a); break;
        case 145: a *= (b); break;
        case 146: a *= (c); break;
        case 147: a *= (d); break;
        case 148: a *= (std::uint32_t(M[b & mm])); break;
        case 149: a *= (std::uint32_t(M[c & mm])); break;
        case 150: a *= (H[d & hm]); break;
        case 151: a *= (std::uint32_t(i.n)); break;
        case 152: { const std::uint32_t y = (a); a = y ? a / y : 0; } break;
        case 153: { const std::uint32_t y = (b); a = y ? a / y : 0; } break;
        case 154: { const std::uint32_t y = (c); a = y ? a / y : 0; } break;
        case 155: { const std::uint32_t y = (d); a = y ? a / y : 0; } break;
        case 156: { const std::uint32_t y = (std::uint32_t(M[b & mm])); a = y ? a / y : 0; } break;
        case 157: { const std::uint32_t y = (std::uint32_t(M[c & mm])); a = y ? a / y : 0; } break;
        case 158: { const std::uint32_t y = (H[d & hm]); a = y ? a / y : 0; } break;
        case 159: { const std::uint32_t y = (std::uint32_t(i.n)); a = y ? a / y : 0; } break;
        case 160: { const std::uint32_t y = (a); a = y ? a % y : 0; } break;
        case 161: { const std::uint32_t y = (b); a = y ? a % y : 0; } break;
        case 162: { const std::uint32_t y = (c); a = y ? a % y : 0; } break;
        case 163: { const std::uint32_t y = (d); a = y ? a % y : 0; } break;
        case 164: { const std::uint32_t y = (std::uint32_t(M[b & mm])); a = y ? a % y : 0; } break;
        case 165: { const std::uint32_t y = (std::uint32_t(M[c & mm])); a = y ? a % y : 0; } break;
        case 166: { const std::uint32_t y = (H[d & hm]); a = y ? a % y : 0; } break;
        case 167: { const std::uint32_t y = (std::uint32_t(i.n)); a = y ? a % y : 0; } break;
        case 168: a &= (a); break;
        case 169: a &= (b); break;
        case 170: a &= (c); break;
        case 171: a &= (d); break;
        case 172: a &= (std::uint32_t(M[b & mm])); break;
        case 173: a &= (std::uint32_t(M[c & mm])); break;
        case 174: a &= (H[d & hm]); break;
        case 175: a &= (std::uint32_t(i.n)); break;
        case 176: a &= ~(a); break;
        case 177: a &= ~(b); break;
        case 178: a &= ~(c); break;
        case 179: a &= ~(d); break;
        case 180: a &= ~(std::uint32_t(M[b & mm])); break;
        case 181: a &= ~(std::uint32_t(M[c & mm])); break;
        case 182: a &= ~(H[d & hm]); break;
        case 183: a &= ~(std::uint32_t(i.n)); break;
        case 184: a |= (a); break;
        case 185: a |= (b); break;
        case 186: a |= (c); break;
        case 187: a |= (d); break;
        case 188: a |= (std::uint32_t(M[b & mm])); break;
        case 189: a |= (std::uint32_t(M[c & mm])); break;
        case 190: a |= (H[d & hm]); break;
        case 191: a |= (std::uint32_t(i.n)); break;
        case 192: a ^= (a); break;
        case 193: a ^= (b); break;
        case 194: a ^= (c); break;
        case 195: a ^= (d); break;
        case 196: a ^= (std::uint32_t(M[b & mm])); break;
        case 197: a ^= (std::uint32_t(M[c & mm])); break;
        case 198: a ^= (H[d & hm]); break;
        case 199: a ^= (std::uint32_t(i.n)); break;
        case 200: a <<= ((a) & 31); break;
        case 201: a <<= ((b) & 31); break;
        case 202: a <<= ((c) & 31); break;
        case 203: a <<= ((d) & 31); break;
        case 204: a <<= ((std::uint32_t(M[b & mm])) & 31); break;
        case 205: a <<= ((std::uint32_t(M[c & mm])) & 31); break;
        case 206: a <<= ((H[d & hm]) & 31); break;
        case 207: a <<= ((std::uint32_t(i.n)) & 31); break;
        case 208: a >>= ((a) & 31); break;
        case 209: a >>= ((b) & 31); break;
        case 210: a >>= ((c) & 31); break;
        case 211: a >>= ((d) & 31); break;
        case 212: a >>= ((std::uint32_t(M[b & mm])) & 31); break;
        case 213: a >>= ((std::uint32_t(M[c & mm])) & 31); break;
        case 214: a >>= ((H[d & hm]) & 31); break;
        case 215: a >>= ((std::uint32_t(i.n)) & 31); break;
        case 216: f = a == (a); break;
        case 217: f = a == (b); break;
        case 218: f = a == (c); break;
        case 219: f = a == (d); break;
        case 220: f = a == (std::uint32_t(M[b & mm])); break;
        case 221: f = a == (std::uint32_t(M[c & mm])); break;
        case 222: f = a == (H[d & hm]); break;
        case 223: f = a == (std::uint32_t(i.n)); break;
        case 224: f = a < (a); break;
        case 225: f = a < (b); break;
        case 226: f = a < (c); break;
        case 227: f = a < (d); break;
        case 228: f = a < (std::uint32_t(M[b & mm])); break;
        case 229: f = a < (std::uint32_t(M[c & mm])); break;
        case 230: f = a < (H[d & hm]); break;
        case 231: f = a < (std::uint32_t(i.n)); break;
        case 232: f = a > (a); break;
        case 233: f = a > (b); break;
        case 234: f = a > (c); break;
        case 235: f = a > (d); break;
        case 236: f = a > (std::uint32_t(M[b & mm])); break;
        case 237: f = a > (std::uint32_t(M[c & mm])); break;
        case 238: f = a > (H[d & hm]); break;
        case 239: f = a > (std::uint32_t(i.n)); break;

        case 56: // HALT
            CHECK_BUDGET();
            save();
            m_credit = allowance + outputs * m_perOutput - steps;
            m_executed += steps;
            if (writes)
                flushOutput();
            return;
        case 57: // OUT
            if (writes) {
                if (++outputs > kMaxOutputPerCall) {
                    save();
                    flushOutput();
                    fail("ZPAQL program writes more than %llu bytes in one call",
                         static_cast<unsigned long long>(kMaxOutputPerCall));
                }
                m_output[m_outputUsed++] = std::uint8_t(a);
                if (m_outputUsed == kOutputPiece)
                    flushOutput();
            }
            break;
        case 59: a = (a + M[b & mm] + kHashAdd) * kHashMul; break;
        case 60: H[d & hm] = (H[d & hm] + a + kHashAdd) * kHashMul; break;
        case 63: // JMP
        case 255: // LJ
            CHECK_BUDGET();
            pc = i.target;
            break;
        default:
            save();
            m_executed += steps;
            stop(i, std::uint32_t(&i - code));
        }
    }
#undef CHECK_BUDGET
}

} // namespace zpaq
