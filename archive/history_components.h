// Per-bit steps of the indirect context models over bit histories: ICM maps
// a context's history state to an adaptive probability; ISSE uses it to
// choose a weight pair that adjusts the prediction of an earlier component.
// Inline so that a block's pipeline runs them without calls.
#pragma once

#include "components.h"
#include "squash_stretch.h"
#include "state_table.h"

namespace zpaq {

/// The state table, bound once at program start.
extern const StateTable &kStateTable;

/// The state of the current bit in context `h` (the slot is looked up at
/// nibble boundaries); the ICM and ISSE steps use it.
inline void lookUpHistory(ComponentState &c, std::uint32_t h, const BitContext &bc)
{
    if (bc.c8 == 1 || (bc.c8 & 0xF0) == 16)
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

inline int predictIsse(ComponentState &c, const int *P)
{
    const int s = c.state;
    c.output = clamp2k((std::int64_t(c.weights[2 * s]) * P[c.spec.p[1]] +
                        64 * std::int64_t(c.weights[2 * s + 1])) >>
                       16);
    return c.output;
}

inline void updateIsse(ComponentState &c, int y, const int *P)
{
    const int err = (y << 15) - y - squash(c.output);
    std::int32_t &w0 = c.weights[2 * c.state];
    std::int32_t &w1 = c.weights[2 * c.state + 1];
    w0 = clamp512k(w0 + ((std::int64_t(err) * P[c.spec.p[1]] + 4096) >> 13));
    w1 = clamp512k(w1 + ((err + 16) >> 5));
    advanceHistory(c, y);
}

} // namespace zpaq
