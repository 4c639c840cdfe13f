// Builds the squash and stretch tables once, in double precision.
#include "archive/squash_stretch.h"

#include <cmath>

namespace zpaq {

namespace {

SquashTables buildTables()
{
    SquashTables t{};
    for (int i = 0; i < 4096; ++i) {
        int x = i - 2048;
        if (x < -2047)
            x = -2047;
        t.squash[i] = std::int16_t(std::floor(32768.0 / (1.0 + std::exp(-x / 64.0))));
    }
    for (int p = 0; p < 32768; ++p)
        t.stretch[p] =
            std::int16_t(std::floor(64.0 * std::log((p + 0.5) / (32767.5 - p)) + 0.5));
    return t;
}

} // namespace

const SquashTables &squashTables()
{
    static const SquashTables tables = buildTables();
    return tables;
}

const SquashTables &kSquashTables = squashTables();

} // namespace zpaq
