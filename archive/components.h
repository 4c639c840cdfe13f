// State of one context-model component and the set-up of each kind. Outputs
// are stretched probabilities; `P` holds the outputs of the components
// computed so far in this bit.
#pragma once

#include "archive/block_header.h"
#include "archive/hash_slots.h"
#include "archive/zeroed_table.h"

#include <cstdint>
#include <vector>

namespace zpaq {

/// The known bits of the byte being decoded.
struct BitContext
{
    std::uint32_t c8 = 1;    // partial byte with a leading 1
    std::uint32_t hmap4 = 1; // 9-bit nibble form of the same bits
    bool nibbleStart = true; // no bit of the current nibble known yet

    /// Takes bit `y`, with `next` = c8 * 2 + y; at a byte's end (next >= 256)
    /// the bits of the next byte start.
    void advance(std::uint32_t next, int y)
    {
        c8 = next;
        nibbleStart = false;
        if (next >= 256) {
            c8 = 1;
            hmap4 = 1;
            nibbleStart = true;
        } else if (next >= 16 && next < 32) {
            hmap4 = next * 16 + 1;
            nibbleStart = true;
        } else if (next < 16) {
            hmap4 = next;
        } else {
            hmap4 += (hmap4 & 15) + std::uint32_t(y);
        }
    }
};

struct ComponentState
{
    ComponentSpec spec{};
    std::uint32_t index = 0;          // table entry chosen by predict
    std::uint32_t mask = 0;           // low-bits mask of the table size
    std::vector<std::uint32_t> table; // CM/SSE counters
    std::vector<std::int32_t> weights; // MIX rows, ISSE pairs, ICM probabilities
    std::vector<std::uint16_t> weights16; // MIX2
    HashSlots history;                  // ICM, ISSE
    std::size_t slot = 0;             // current slot offset
    int state = 0;                    // bit-history state of the current bit
    int output = 0;                   // own output of this bit
    // MATCH: the last position of each context hash, and the history
    ZeroedTable positions;
    ZeroedTable buffer;
    std::uint32_t bufferMask = 0, pos = 0, len = 0, offset = 0, bitPos = 0;
    int predictedBit = 0;
    int matchStretch[2] = {}; // prediction for a 0 and a 1 at the current length
};

// Tables of each kind with memory (their per-bit steps are inline in
// counter_components.h, history_components.h, mixer_components.h and
// match_component.h).
void initCm(ComponentState &c);
void initSse(ComponentState &c);
void initIcm(ComponentState &c);
void initIsse(ComponentState &c);
void initMix2(ComponentState &c);
void initMix(ComponentState &c);
void initMatch(ComponentState &c);

/// Clamps to the stretched range -2047..2047.
inline int clamp2k(std::int64_t v) { return v < -2047 ? -2047 : v > 2047 ? 2047 : int(v); }
inline int clamp2k(std::int32_t v) { return v < -2047 ? -2047 : v > 2047 ? 2047 : v; }
/// Clamps a 16.16 weight to -2^19..2^19-1.
inline std::int32_t clamp512k(std::int64_t v)
{
    return v < -524288 ? -524288 : v > 524287 ? 524287 : std::int32_t(v);
}
inline std::int32_t clamp512k(std::int32_t v)
{
    return v < -524288 ? -524288 : v > 524287 ? 524287 : v;
}

} // namespace zpaq
