// The context model most archives use, run by a pipeline of its own: a
// direct or indirect model of the shortest context (CM or ICM), a chain of
// ISSE each refining the one before under a longer context, at most one
// MATCH, and a MIX of them all. Every step is written out for this shape, the
// per-bit state of each component sits in one small record of raw pointers,
// and predict and update are inline in the decoder's bit loop. It predicts
// exactly what Predictor predicts for the same header.
#pragma once

#include "archive/block_header.h"
#include "archive/components.h"
#include "archive/counter_components.h"
#include "archive/history_components.h"
#include "archive/match_component.h"
#include "archive/mix_kernel.h"
#include "archive/mixer_components.h"
#include "archive/squash_stretch.h"
#include "archive/zpaql_machine.h"

#include <cstdint>
#include <vector>

/// The bit loop's own steps: inline even where the compiler judges them too
/// large, so the loop that runs them can be built for more than one processor.
#if defined(__GNUC__)
#define ZPAQ_ALWAYS_INLINE __attribute__((always_inline)) inline
#else
#define ZPAQ_ALWAYS_INLINE inline
#endif

namespace zpaq {

class ChainPredictor
{
public:
    /// Most components such a model may have here; longer ones go to Predictor.
    static constexpr std::size_t kMaxComponents = 16;

    /// Whether `header` has this shape.
    static bool fits(const BlockHeader &header);

    /// Builds the model of a parsed header for which fits() holds.
    explicit ChainPredictor(const BlockHeader &header);

    /// Probability 0..32767 that the next bit is 1.
    int predict();

    /// Learns bit `y`; at a byte's end runs HCOMP (may throw DecodeError).
    void update(int y);

    static std::uint32_t p16(int pr) { return 2u * std::uint32_t(pr) + 1u; }

private:
    /// Per-bit state of an ICM or ISSE: its slot table, the slot of the
    /// current nibble, the state byte of the current bit and its weights.
    struct History
    {
        std::uint8_t *bytes = nullptr;
        std::uint32_t mask = 0;
        unsigned bits = 0;
        std::uint8_t *slot = nullptr;
        std::uint8_t *cell = nullptr;
        int state = 0;
        std::int32_t *weights = nullptr;
    };

    /// Runs HCOMP with a decoded byte and starts loading what the next byte's
    /// first bit will read.
    void runHcomp(std::uint32_t byte);
    /// Takes HCOMP's new contexts once the components have learnt the byte.
    void takeContexts();

    std::vector<ComponentState> m_components; // owns every table
    std::size_t m_count = 0;
    History m_history[kMaxComponents];
    std::size_t m_firstHistory = 0; // 1 when component 0 is a CM
    std::size_t m_chainEnd = 1;     // one past the last ISSE
    // Component 0 as a CM.
    std::uint32_t *m_cm = nullptr;
    std::uint32_t m_cmMask = 0, m_cmIndex = 0;
    int m_cmLimit = 0;
    // MATCH, when there is one.
    ComponentState *m_match = nullptr;
    // The MIX: its weight rows, context selection, inputs and chosen row.
    std::int32_t *m_mixWeights = nullptr;
    std::int32_t *m_mixRow = nullptr;
    int m_mixInputs = 0, m_mixFirst = 0, m_mixRate = 0, m_mixOut = 0;
    bool m_mixesAll = false; // the MIX's inputs are all the other components
    static constexpr std::int32_t kNoRow[kMaxComponents] = {};

    int m_outputs[kMaxComponents + kMixSlack] = {}; // MIX reads a group past its inputs
    std::uint32_t m_contexts[kMaxComponents] = {};
    ZpaqlMachine m_hcomp;
    BitContext m_bits;
};

ZPAQ_ALWAYS_INLINE int ChainPredictor::predict()
{
    const BitContext bits = m_bits;
    const std::size_t low = bits.hmap4 & 15;
    int *const P = m_outputs;
    if (bits.nibbleStart) {
        for (std::size_t i = m_firstHistory; i < m_chainEnd; ++i) {
            History &c = m_history[i];
            c.slot = c.bytes + findHashSlot(c.bytes, c.bits, c.mask, m_contexts[i] + 16 * bits.c8);
        }
    }
    // The MIX row is known before its inputs. When it mixes every component
    // (as it nearly always does) the products are summed as the inputs come,
    // off the chain's path, and the inputs are never read back from memory.
    const std::size_t mix = m_count - 1;
    std::int32_t *const row = m_mixWeights + mixRowOffset(m_components[mix], m_contexts[mix], bits.c8);
    m_mixRow = row;
    // The next bit's row is one of two: start loading both.
    if (bits.c8 < 128)
        prefetchMix(m_components[mix], m_contexts[mix], bits.c8 * 2);
    int x;
    if (m_firstHistory == 0) {
        History &c = m_history[0];
        c.cell = c.slot + low;
        c.state = *c.cell;
        x = stretch(c.weights[c.state] >> 8);
    } else {
        m_cmIndex = (m_contexts[0] ^ bits.hmap4) & m_cmMask;
        x = stretch(int(m_cm[m_cmIndex] >> 17));
    }
    P[0] = x;
    // Inputs are within +-2047 and weights within +-2^19: 32 bits hold the sum.
    // A MIX of fewer inputs sums zeros here instead, and its own row below.
    const std::int32_t *const sumRow = m_mixesAll ? row : kNoRow;
    std::int32_t dot = (sumRow[0] >> 8) * x;
    const std::size_t chainEnd = m_chainEnd;
    for (std::size_t i = 1; i < chainEnd; ++i) {
        History &c = m_history[i];
        c.cell = c.slot + low;
        c.state = *c.cell;
        x = isseRefine(c.weights + 2 * c.state, x);
        P[i] = x;
        dot += (sumRow[i] >> 8) * x;
    }
    if (m_match) {
        x = predictMatch(*m_match);
        P[chainEnd] = x;
        dot += (sumRow[chainEnd] >> 8) * x;
    }
    if (!m_mixesAll)
        dot = mixDot(row, P + m_mixFirst, m_mixInputs);
    m_mixOut = clamp2k(dot >> 8);
    return squashInRange(m_mixOut);
}

ZPAQ_ALWAYS_INLINE void ChainPredictor::update(int y)
{
    const int *const P = m_outputs;
    const int target = (y << 15) - y;
    const std::uint32_t c8 = m_bits.c8 * 2 + std::uint32_t(y);
    // HCOMP reads nothing the updates change: at a byte's end it runs first,
    // so the next byte's slots and rows load while the components learn.
    if (c8 >= 256)
        runHcomp(c8 - 256);
    mixTrain(m_mixRow, P + m_mixFirst, m_mixInputs, mixError(target, m_mixOut, m_mixRate));
    const std::uint8_t(*next)[2] = kStateTable.next;
    if (m_firstHistory == 0) {
        History &c = m_history[0];
        icmTrain(c.weights[c.state], target);
        *c.cell = next[c.state][y];
    } else {
        trainCounter(m_cm[m_cmIndex], y, m_cmLimit);
    }
    // The state byte stores may alias anything: the bound stays in a register.
    const std::size_t chainEnd = m_chainEnd;
    for (std::size_t i = 1; i < chainEnd; ++i) {
        History &c = m_history[i];
        const int state = c.state;
        std::uint8_t *cell = c.cell;
        isseTrain(c.weights + 2 * state, target, P[i], P[i - 1]);
        *cell = next[state][y];
    }
    if (m_match)
        updateMatch(*m_match, y, m_contexts[m_chainEnd]);

    m_bits.advance(c8, y);
    if (c8 >= 256) {
        takeContexts();
    } else if (c8 >= 8 && c8 < 16) {
        // The second nibble's slot is one of two: start loading both.
        for (std::size_t i = m_firstHistory; i < m_chainEnd; ++i) {
            const History &c = m_history[i];
            prefetchHashSlot(c.bytes, c.mask, m_contexts[i] + 32 * c8);
            prefetchHashSlot(c.bytes, c.mask, m_contexts[i] + 32 * c8 + 16);
        }
    }
}

} // namespace zpaq
