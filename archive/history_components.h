// Per-bit steps of the indirect context models over bit histories: ICM maps
// a context's history state to an adaptive probability; ISSE uses it to
// choose a weight pair that adjusts the prediction of an earlier component.
// Inline so that a block's pipeline runs them without calls.
#pragma once

#include "archive/components.h"
#include "archive/squash_stretch.h"
#include "archive/state_table.h"

namespace zpaq {

/// The state table, bound once at program start.
extern const StateTable &kStateTable;

/// The state of the current bit in context `h` (the slot is looked up at
/// nibble boundaries); the ICM and ISSE steps use it.
inline void lookUpHistory(ComponentState &c, std::uint32_t h, const BitContext &bc)
{
    if (bc.nibbleStart)
        c.slot = c.history.find(h + 16 * bc.c8);
    c.index = std::uint32_t(c.slot + (bc.hmap4 & 15));
    c.state = c.history.at(c.index);
}

inline void advanceHistory(ComponentState &c, int y)
{
    c.history.at(c.index) = kStateTable.next[c.state][y];
}

/// ISSE's refinement of input `x` by the weight pair of its state.
inline int isseRefine(const std::int32_t *pair, int x)
{
    return clamp2k((pair[0] * x + 64 * pair[1]) >> 16);
}

/// Trains an ISSE weight pair after output `output` for input `input`;
/// `target` is the bit scaled to 0 or 32767.
inline void isseTrain(std::int32_t *pair, int target, int output, int input)
{
    const int err = target - squashInRange(output);
    const std::int32_t w0 = clamp512k(pair[0] + ((err * input + 4096) >> 13));
    const std::int32_t w1 = clamp512k(pair[1] + ((err + 16) >> 5));
    pair[0] = w0;
    pair[1] = w1;
}

/// Trains an ICM probability towards `target` (the bit scaled to 0 or 32767).
inline void icmTrain(std::int32_t &q, int target) { q += (target - (q >> 8)) >> 2; }

inline int predictIcm(const ComponentState &c) { return stretch(c.weights[c.state] >> 8); }

inline void updateIcm(ComponentState &c, int y)
{
    icmTrain(c.weights[c.state], (y << 15) - y);
    advanceHistory(c, y);
}

/// Predicts the ISSE components `first` .. `first + count - 1`, each of
/// which after the first refines the one before: the running value stays in
/// a register. Weights stay within +-2^19 and inputs within +-2047, so every
/// sum here and in the update fits 32 bits.
inline void predictIsseRun(ComponentState *comps, std::size_t first, std::uint32_t count, int *P)
{
    int x = P[comps[first].spec.p[1]];
    for (std::size_t i = first; i < first + count; ++i) {
        ComponentState &c = comps[i];
        x = isseRefine(c.weights.data() + 2 * c.state, x);
        c.output = x;
        P[i] = x;
    }
}

inline void updateIsse(ComponentState &c, int y, const int *P)
{
    isseTrain(c.weights.data() + 2 * c.state, (y << 15) - y, c.output, P[c.spec.p[1]]);
    advanceHistory(c, y);
}

} // namespace zpaq
