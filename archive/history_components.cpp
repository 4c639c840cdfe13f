// Starting tables of the indirect components (ICM, ISSE); their per-bit
// steps are in history_components.h.
#include "archive/history_components.h"

namespace zpaq {

const StateTable &kStateTable = stateTable();

void initIcm(ComponentState &c)
{
    c.history.reset(c.spec.p[0] + 2u);
    c.weights.resize(256);
    for (int s = 0; s < 256; ++s)
        c.weights[s] = s < kStateCount ? std::int32_t(stateTable().initialQ[s]) : 0;
}

void initIsse(ComponentState &c)
{
    c.history.reset(c.spec.p[0] + 2u);
    c.weights.resize(512);
    for (int s = 0; s < 256; ++s) {
        c.weights[2 * s] = 32768;
        c.weights[2 * s + 1] =
            s == 0 || s >= kStateCount
                ? 0
                : clamp512k(1024 * std::int64_t(stretch(int(stateTable().initialQ[s] >> 8))));
    }
}

} // namespace zpaq
