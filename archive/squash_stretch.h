// Conversions between probabilities (0..32767, a 1 in units of 2^-15) and
// the stretched domain ln(p/(1-p)) * 64 in which components combine.
#pragma once

#include <cstdint>

namespace zpaq {

struct SquashTables
{
    std::int16_t squash[4096];  // index x + 2048, x in -2048..2047
    std::int16_t stretch[32768];
};

const SquashTables &squashTables();

/// The tables, bound once at program start so the per-bit paths need no
/// initialisation check.
extern const SquashTables &kSquashTables;

/// squash(x) with x clamped to -2047..2047; result 0..32767.
inline int squash(int x)
{
    if (x > 2047)
        x = 2047;
    if (x < -2047)
        x = -2047;
    return kSquashTables.squash[x + 2048];
}

/// squash(x) for x already within -2047..2047.
inline int squashInRange(int x) { return kSquashTables.squash[x + 2048]; }

/// stretch(p) for p in 0..32767; result -710..710.
inline int stretch(int p) { return kSquashTables.stretch[p]; }

} // namespace zpaq
