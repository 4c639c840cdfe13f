// The ZPAQL virtual machine that runs a block's HCOMP (context computation)
// and PCOMP (post-processing) programs. The program is decoded once, at
// every byte position (a jump may land inside an instruction), with jump
// targets resolved and checked, so running it needs no check per
// instruction: a target outside the program leads to an entry that fails,
// and the instruction budget is charged per straight run of code (up to the
// next jump or HALT) when the run starts. OUT writes into a buffer handed on
// in pieces.
#pragma once

#include "archive/decode_error.h"
#include "archive/zeroed_table.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace zpaq {

class ZpaqlMachine
{
public:
    /// `code` is the whole program including its final 0 byte; H gets
    /// 2^hbits words and M 2^mbits bytes (the caller has checked the sizes).
    ZpaqlMachine(unsigned hbits, unsigned mbits, std::vector<std::uint8_t> code);

    /// Receiver of what OUT writes (PCOMP), in pieces of up to 64 KiB, the
    /// rest when flush() is called; without one OUT does nothing (HCOMP).
    void setOutput(std::function<void(const std::uint8_t *, std::size_t)> out)
    {
        m_out = std::move(out);
    }

    /// Runs the program from PC 0 with A = `input` until HALT. Throws
    /// DecodeError on ERROR, an undefined opcode, PC outside the program,
    /// when the instruction allowance is used up or when one call writes
    /// more than its share of output.
    void run(std::uint32_t input);

    /// Hands on what OUT wrote and is still held.
    void flushOutput();

    std::uint32_t h(std::size_t i) const { return m_h[i & m_hmask]; }
    std::size_t hSize() const { return std::size_t(m_hmask) + 1; }

    // Register access for tests and for the model's context read.
    std::uint32_t a() const { return m_a; }
    std::uint32_t b() const { return m_b; }
    std::uint32_t c() const { return m_c; }
    std::uint32_t d() const { return m_d; }
    bool f() const { return m_f; }
    std::uint32_t r(int i) const { return m_r[i & 255]; }
    std::uint8_t m(std::uint32_t i) const { return m_m[i & m_mmask]; }
    /// Instruction allowance: `initial` now, `perCall` more at every call and
    /// `perOutput` more for every byte OUT writes; unused allowance carries
    /// over from call to call. Each is far below 2^62, so the allowance a
    /// call counts down stays a positive 64-bit signed number.
    void setBudget(std::uint64_t initial, std::uint64_t perCall = 0, std::uint64_t perOutput = 0)
    {
        ZPAQ_ASSERT(initial < (std::uint64_t(1) << 48) && perCall < (std::uint64_t(1) << 32) &&
                    perOutput < (std::uint64_t(1) << 32));
        m_credit = initial;
        m_perCall = perCall;
        m_perOutput = perOutput;
    }
    /// Instructions executed in all calls so far.
    std::uint64_t executed() const { return m_executed; }

private:
    /// One decoded entry, one per byte position of the program. A run of
    /// entries is threaded: `handler` is the code that executes the entry
    /// (filled in by the first run, where the handlers' addresses are known),
    /// and each handler knows how far its instruction reaches, so the next
    /// entry is found without a load.
    struct Instruction
    {
        const void *handler;
        const Instruction *target; // a jump's target (m_code is never resized)
        std::uint32_t cost;        // instructions to the end of the run that starts here
        std::uint16_t kind;        // the opcode, a failing entry or a fused step
        std::uint8_t n;            // operand byte (for a failing entry the opcode)
        std::uint8_t k;            // a fused step's second operand
    };
    void decode(const std::vector<std::uint8_t> &code);
    void fuse(const std::vector<std::uint8_t> &bytes);
    [[noreturn]] void stop(const Instruction &i);

    std::vector<Instruction> m_code; // one per byte, then the "outside" entry
    bool m_threaded = false;         // handlers filled in
    ZeroedTable m_hTable, m_mTable;
    std::uint32_t *m_h;
    std::uint8_t *m_m;
    std::uint32_t m_hmask, m_mmask;
    std::uint32_t m_a = 0, m_b = 0, m_c = 0, m_d = 0;
    bool m_f = false;
    std::uint32_t m_r[256] = {};
    std::uint64_t m_credit;
    std::uint64_t m_perCall;
    std::uint64_t m_perOutput;
    std::uint64_t m_executed = 0;
    std::unique_ptr<std::uint8_t[]> m_output; // not cleared: written before it is read
    std::size_t m_outputUsed = 0;
    std::function<void(const std::uint8_t *, std::size_t)> m_out;
};

} // namespace zpaq
