// A small assembler for ZPAQL programs: named opcodes and a builder that keeps
// the byte count, so jump offsets can be worked out from labels.
#pragma once

#include <QByteArray>

#include <cstdint>

namespace zpaqtest::zpaql {

// Operand column of the rows from 64 up (opcode = base + column).
enum Operand : uint8_t { A = 0, B = 1, C = 2, D = 3, AtB = 4, AtC = 5, AtD = 6, N = 7 };

// Rows 0..63.
enum Op : uint8_t {
    ERROR = 0,
    A_INC = 1, A_DEC = 2, A_NOT = 3, A_ZERO = 4, A_LOAD_R = 7,
    B_SWAP_A = 8, B_INC = 9, B_DEC = 10, B_ZERO = 12, B_LOAD_R = 15,
    C_SWAP_A = 16, C_INC = 17, C_DEC = 18, C_ZERO = 20, C_LOAD_R = 23,
    D_SWAP_A = 24, D_INC = 25, D_DEC = 26, D_ZERO = 28, D_LOAD_R = 31,
    AT_B_SWAP_A = 32, AT_B_INC = 33, AT_B_ZERO = 36, JT = 39,
    AT_C_SWAP_A = 40, AT_C_INC = 41, AT_C_ZERO = 44, JF = 47,
    AT_D_SWAP_A = 48, AT_D_INC = 49, AT_D_ZERO = 52, R_STORE_A = 55,
    HALT = 56, OUT = 57, HASH = 59, HASHD = 60, JMP = 63,
    LJ = 255,
};

// Rows 64..255: base of each row.
enum Base : uint8_t {
    SET_A = 64, SET_B = 72, SET_C = 80, SET_D = 88, SET_AT_B = 96, SET_AT_C = 104,
    SET_AT_D = 112, ADD = 128, SUB = 136, MUL = 144, DIV = 152, MOD = 160, AND = 168,
    ANDNOT = 176, OR = 184, XOR = 192, SHL = 200, SHR = 208, EQ = 216, LT = 224, GT = 232,
};

class Program {
public:
    /// A one-byte instruction.
    Program &op(uint8_t code)
    {
        bytes_.append(static_cast<char>(code));
        return *this;
    }
    /// A two-byte instruction (opcode mod 8 = 7) with its operand byte.
    Program &op(uint8_t code, int operand)
    {
        op(code);
        return op(static_cast<uint8_t>(operand & 0xFF));
    }
    /// `base` with operand column `y` (e.g. y(ADD, B) is A+=B).
    Program &y(Base base, Operand col) { return op(static_cast<uint8_t>(base + col)); }
    /// `base` with the immediate operand (e.g. yn(ADD, 5) is A+=5).
    Program &yn(Base base, int value) { return op(static_cast<uint8_t>(base + N), value); }
    /// A relative jump to `target` (a byte position), from the end of the jump.
    Program &jump(Op code, int target)
    {
        const int offset = target - (size() + 2);
        return op(code, offset);
    }
    Program &longJump(int target) { return op(LJ, target & 0xFF).op(uint8_t((target >> 8) & 0xFF)); }

    int size() const { return bytes_.size(); }
    QByteArray bytes() const { return bytes_; }

private:
    QByteArray bytes_;
};

} // namespace zpaqtest::zpaql
