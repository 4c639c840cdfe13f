// The context model of one block: its components, evaluated in order for
// every bit, and the HCOMP machine that computes their contexts after every
// byte. The decoder and the test-side encoder drive it the same way:
//     pr = predict(); code the bit with p16 = 2 * pr + 1; update(bit);
#pragma once

#include "archive/block_header.h"
#include "archive/components.h"
#include "archive/zpaql_machine.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zpaq {

class Predictor
{
public:
    /// Builds the components and HCOMP of a parsed header with at least one
    /// component (the header's memory has been checked by the parser).
    explicit Predictor(const BlockHeader &header);

    /// Probability 0..32767 that the next bit is 1.
    int predict();

    /// Learns bit `y` (0 or 1); after the 8th bit of a byte runs HCOMP with
    /// the byte and takes the new contexts. May throw DecodeError from HCOMP.
    void update(int y);

    /// The coder's probability for a prediction `pr`.
    static std::uint32_t p16(int pr) { return 2u * std::uint32_t(pr) + 1u; }

    /// Stretched output of component `i` for the current bit (tests).
    int output(std::size_t i) const { return m_outputs[i]; }

private:
    void prefetchSlots(std::uint32_t c8);

    std::vector<ComponentState> m_components;
    // Index lists chosen once per block. Components whose prediction reads
    // no other's are predicted first, kind by kind (CONST once, for good);
    // the others in order.
    // Updates touch only their own component, so they go kind by kind.
    std::vector<std::size_t> m_cms, m_icms, m_isses, m_sses, m_mix2s, m_mixes;
    std::vector<std::size_t> m_hashed; // ICM and ISSE, whose slots are looked up per nibble
    std::vector<std::size_t> m_matches;
    /// AVG, MIX2, MIX, ISSE and SSE, in order; a run of ISSE each of which
    /// refines the one before is one step, its value kept in a register.
    struct ChainStep
    {
        ComponentType kind;
        std::uint32_t first;
        std::uint32_t count;
    };
    std::vector<ChainStep> m_chained;
    std::vector<int> m_outputs;
    std::vector<std::uint32_t> m_contexts;
    ZpaqlMachine m_hcomp;
    BitContext m_bits;
};

} // namespace zpaq
