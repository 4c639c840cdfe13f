// Per-bit steps of the components that combine earlier predictions: AVG
// (fixed weights), MIX2 (one adaptive weight between two inputs) and MIX (a
// weight vector over a range of inputs, chosen by context). Inline so that a
// block's pipeline runs them without calls.
#pragma once

#include "archive/components.h"
#include "archive/mix_kernel.h"
#include "archive/squash_stretch.h"
#include "archive/zpaq_choices.h"

namespace zpaq {

inline int predictAvg(const ComponentState &c, const int *P)
{
    const int wt = c.spec.p[2];
    return (P[c.spec.p[0]] * wt + P[c.spec.p[1]] * (256 - wt)) >> 8;
}

inline int predictMix2(ComponentState &c, std::uint32_t h, const BitContext &bc, const int *P)
{
    c.index = (h + (bc.c8 & c.spec.p[4])) & c.mask;
    const std::int64_t w = c.weights16[c.index];
    c.output = int((w * P[c.spec.p[1]] + (65536 - w) * P[c.spec.p[2]]) >> 16);
    return c.output;
}

inline void updateMix2(ComponentState &c, int y, const int *P)
{
    const std::int64_t err = (std::int64_t((y << 15) - y - squash(c.output)) * c.spec.p[3]) >>
                             kMix2ErrShift;
    const std::int64_t step =
        (err * (P[c.spec.p[1]] - P[c.spec.p[2]]) + (std::int64_t(1) << (kMix2StepShift - 1))) >>
        kMix2StepShift;
    std::int64_t w = c.weights16[c.index] + step;
    w = w < 0 ? 0 : w > 65535 ? 65535 : w;
    c.weights16[c.index] = std::uint16_t(w);
}

/// Offset of the weight row MIX `c` uses in context `h` with partial byte `c8`.
inline std::size_t mixRowOffset(const ComponentState &c, std::uint32_t h, std::uint32_t c8)
{
    return std::size_t((h + (c8 & c.spec.p[4])) & c.mask) * c.spec.p[2];
}

/// Starts loading the weight rows MIX may choose for the next bit, one of
/// two known partial bytes `c8next` and `c8next + 1`.
inline void prefetchMix(const ComponentState &c, std::uint32_t h, std::uint32_t c8next)
{
    const std::int32_t *w = c.weights.data();
    __builtin_prefetch(w + mixRowOffset(c, h, c8next));
    __builtin_prefetch(w + mixRowOffset(c, h, c8next + 1) + c.spec.p[2] - 1);
}

/// MIX's training error for output `output` (`target`: the bit scaled to 0
/// or 32767). |err| < 2^19 and |input| < 2^11: their product fits 32 bits.
inline std::int32_t mixError(int target, int output, int rate)
{
    return ((target - squashInRange(output)) * rate) >> 4;
}

inline int predictMix(ComponentState &c, std::uint32_t h, const BitContext &bc, const int *P)
{
    const int m = c.spec.p[2];
    c.index = std::uint32_t(mixRowOffset(c, h, bc.c8));
    const std::int32_t dot = mixDot(&c.weights[c.index], P + c.spec.p[1], m);
    const int out = clamp2k(dot >> 8);
    c.output = out;
    return out;
}

inline void updateMix(ComponentState &c, int y, const int *P)
{
    const int m = c.spec.p[2];
    mixTrain(&c.weights[c.index], P + c.spec.p[1], m, mixError((y << 15) - y, c.output, c.spec.p[3]));
}

} // namespace zpaq
