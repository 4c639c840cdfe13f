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

inline int predictIcm(const ComponentState &c) { return stretch(c.weights[c.state] >> 8); }

inline void updateIcm(ComponentState &c, int y)
{
    std::int32_t &q = c.weights[c.state];
    q += ((y << 15) - y - (q >> 8)) >> 2;
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
        const std::int32_t *w = c.weights.data() + 2 * c.state;
        x = clamp2k((w[0] * x + 64 * w[1]) >> 16);
        c.output = x;
        P[i] = x;
    }
}

inline void updateIsse(ComponentState &c, int y, const int *P)
{
    const int err = (y << 15) - y - squashInRange(c.output);
    std::int32_t *w = c.weights.data() + 2 * c.state;
    const std::int32_t w0 = clamp512k(w[0] + ((err * P[c.spec.p[1]] + 4096) >> 13));
    const std::int32_t w1 = clamp512k(w[1] + ((err + 16) >> 5));
    w[0] = w0;
    w[1] = w1;
    advanceHistory(c, y);
}

} // namespace zpaq
