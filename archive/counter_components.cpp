// Direct context models with adaptive counters: CM (one counter per context)
// and SSE (interpolation between two counters of a context row).
#include "components.h"

#include "squash_stretch.h"
#include "zpaq_choices.h"

namespace zpaq {

namespace {

// Step size of a counter that has seen n updates: 2 * floor(2^17 / (2n + 3)).
struct StepTable
{
    std::int32_t dt[1024];
    StepTable()
    {
        for (int n = 0; n < 1024; ++n)
            dt[n] = 2 * ((1 << 17) / (2 * n + 3));
    }
};

const StepTable &steps()
{
    static const StepTable table;
    return table;
}

// A counter: top 22 bits the probability of a 1, low 10 bits its count.
void train(std::uint32_t &counter, int y, int limit)
{
    const int n = int(counter & 1023);
    const int err = (y << 15) - y - int(counter >> 17);
    const std::int64_t step = (std::int64_t(err) * steps().dt[n]) & ~std::int64_t(1023);
    counter += std::uint32_t(step) + (n < limit ? 1u : 0u);
}

} // namespace

void initCm(ComponentState &c)
{
    c.table.assign(std::size_t(1) << c.spec.p[0], 0x80000000u);
    c.mask = std::uint32_t((std::uint64_t(1) << c.spec.p[0]) - 1);
}

int predictConst(ComponentState &c, std::uint32_t, const BitContext &, const int *)
{
    return 4 * (int(c.spec.p[0]) - 128);
}

int predictCm(ComponentState &c, std::uint32_t h, const BitContext &bc, const int *)
{
    c.index = (h ^ bc.hmap4) & c.mask;
    return stretch(int(c.table[c.index] >> 17));
}

void updateCm(ComponentState &c, int y, std::uint32_t, const int *)
{
    train(c.table[c.index], y, c.spec.p[1] * kCountLimitScale);
}

void initSse(ComponentState &c)
{
    const std::size_t rows = std::size_t(1) << c.spec.p[0];
    c.table.resize(rows * 32);
    for (std::size_t r = 0; r < rows; ++r)
        for (int t = 0; t < 32; ++t)
            c.table[r * 32 + t] = std::uint32_t(squash(64 * t - 992)) * 131072u + c.spec.p[2];
    c.mask = std::uint32_t((std::uint64_t(rows) * 32) - 1);
}

int predictSse(ComponentState &c, std::uint32_t h, const BitContext &bc, const int *P)
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

void updateSse(ComponentState &c, int y, std::uint32_t, const int *)
{
    train(c.table[c.index], y, c.spec.p[3] * kCountLimitScale);
}

} // namespace zpaq
