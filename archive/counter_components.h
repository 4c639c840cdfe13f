// Per-bit steps of the direct context models with adaptive counters: CM (one
// counter per context) and SSE (interpolation between two counters of a
// context row). Inline so that a block's pipeline runs them without calls.
#pragma once

#include "archive/components.h"
#include "archive/squash_stretch.h"
#include "archive/zpaq_choices.h"

namespace zpaq {

/// Step size of a counter that has seen n updates: 2 * floor(2^17 / (2n + 3)).
struct CounterSteps
{
    std::int32_t dt[1024];
};

/// The table, bound once at program start.
extern const CounterSteps &kCounterSteps;

/// A counter: top 22 bits the probability of a 1, low 10 bits its count.
inline void trainCounter(std::uint32_t &counter, int y, int limit)
{
    const int n = int(counter & 1023);
    const int err = (y << 15) - y - int(counter >> 17);
    const std::int64_t step = (std::int64_t(err) * kCounterSteps.dt[n]) & ~std::int64_t(1023);
    counter += std::uint32_t(step) + (n < limit ? 1u : 0u);
}

inline int predictConst(const ComponentState &c) { return 4 * (int(c.spec.p[0]) - 128); }

inline int predictCm(ComponentState &c, std::uint32_t h, const BitContext &bc)
{
    c.index = (h ^ bc.hmap4) & c.mask;
    return stretch(int(c.table[c.index] >> 17));
}

inline void updateCm(ComponentState &c, int y)
{
    trainCounter(c.table[c.index], y, c.spec.p[1] * kCountLimitScale);
}

inline int predictSse(ComponentState &c, std::uint32_t h, const BitContext &bc, const int *P)
{
    int v = P[c.spec.p[1]] + 992;
    v = v < 0 ? 0 : v > 1983 ? 1983 : v;
    const int w = v & 63;
    const std::uint32_t base = ((h + bc.c8) * 32 + std::uint32_t(v >> 6)) & c.mask;
    c.index = base + (w >= 32 ? 1 : 0);
    const std::int64_t mixed =
        std::int64_t(c.table[base] >> 10) * (64 - w) + std::int64_t(c.table[base + 1] >> 10) * w;
    return stretch(int(mixed >> 13));
}

inline void updateSse(ComponentState &c, int y)
{
    trainCounter(c.table[c.index], y, c.spec.p[3] * kCountLimitScale);
}

} // namespace zpaq
