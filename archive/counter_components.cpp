// Tables of the counter components (CM, SSE); their per-bit steps are in
// counter_components.h.
#include "archive/counter_components.h"

namespace zpaq {

namespace {

CounterSteps buildSteps()
{
    CounterSteps t{};
    for (int n = 0; n < 1024; ++n)
        t.dt[n] = 2 * ((1 << 17) / (2 * n + 3));
    return t;
}

const CounterSteps &counterSteps()
{
    static const CounterSteps table = buildSteps();
    return table;
}

} // namespace

const CounterSteps &kCounterSteps = counterSteps();

void initCm(ComponentState &c)
{
    c.table.assign(std::size_t(1) << c.spec.p[0], 0x80000000u);
    c.mask = std::uint32_t((std::uint64_t(1) << c.spec.p[0]) - 1);
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

} // namespace zpaq
