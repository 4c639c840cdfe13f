// Starting weights of the adaptive mixers (MIX2, MIX); their per-bit steps
// are in mixer_components.h.
#include "archive/mixer_components.h"

namespace zpaq {

void initMix2(ComponentState &c)
{
    c.weights16.assign(std::size_t(1) << c.spec.p[0], 32768);
    c.mask = std::uint32_t((std::uint64_t(1) << c.spec.p[0]) - 1);
}

void initMix(ComponentState &c)
{
    const int m = c.spec.p[2];
    // The slack lets the vector loops read a whole group past the last row.
    c.weights.assign((std::size_t(1) << c.spec.p[0]) * m + kMixSlack, 65536 / m);
    c.mask = std::uint32_t((std::uint64_t(1) << c.spec.p[0]) - 1);
}

} // namespace zpaq
