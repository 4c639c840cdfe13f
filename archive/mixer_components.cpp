// Components that combine earlier predictions: AVG (fixed weights), MIX2
// (one adaptive weight between two inputs) and MIX (a weight vector over a
// range of inputs, chosen by context).
#include "components.h"

#include "squash_stretch.h"
#include "zpaq_choices.h"

namespace zpaq {

int predictAvg(ComponentState &c, std::uint32_t, const BitContext &, const int *P)
{
    const int wt = c.spec.p[2];
    return (P[c.spec.p[0]] * wt + P[c.spec.p[1]] * (256 - wt)) >> 8;
}

void initMix2(ComponentState &c)
{
    c.weights16.assign(std::size_t(1) << c.spec.p[0], 32768);
    c.mask = std::uint32_t((std::uint64_t(1) << c.spec.p[0]) - 1);
}

int predictMix2(ComponentState &c, std::uint32_t h, const BitContext &bc, const int *P)
{
    c.index = (h + (bc.c8 & c.spec.p[4])) & c.mask;
    const std::int64_t w = c.weights16[c.index];
    c.output = int((w * P[c.spec.p[1]] + (65536 - w) * P[c.spec.p[2]]) >> 16);
    return c.output;
}

void updateMix2(ComponentState &c, int y, std::uint32_t, const int *P)
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

void initMix(ComponentState &c)
{
    const int m = c.spec.p[2];
    c.weights.assign((std::size_t(1) << c.spec.p[0]) * m, 65536 / m);
    c.mask = std::uint32_t((std::uint64_t(1) << c.spec.p[0]) - 1);
}

int predictMix(ComponentState &c, std::uint32_t h, const BitContext &bc, const int *P)
{
    const int m = c.spec.p[2];
    c.index = ((h + (bc.c8 & c.spec.p[4])) & c.mask) * std::uint32_t(m);
    const std::int32_t *w = &c.weights[c.index];
    const int *in = P + c.spec.p[1];
    // Inputs are within +-2047 and weights within +-2^19, so 32 bits hold
    // the sum of up to 255 products.
    std::int32_t dot = 0;
    for (int t = 0; t < m; ++t)
        dot += (w[t] >> 8) * in[t];
    c.output = clamp2k(dot >> 8);
    return c.output;
}

void updateMix(ComponentState &c, int y, std::uint32_t, const int *P)
{
    const int m = c.spec.p[2];
    // |err| < 2^19 and |input| < 2^11: their product fits 32 bits.
    const std::int32_t err = (((y << 15) - y - squash(c.output)) * c.spec.p[3]) >> 4;
    std::int32_t *w = &c.weights[c.index];
    const int *in = P + c.spec.p[1];
    for (int t = 0; t < m; ++t)
        w[t] = clamp512k(w[t] + ((err * in[t] + 4096) >> 13));
}

} // namespace zpaq
