// State of one context-model component and the predict/update functions of
// each kind, all of one shape so that a block's pipeline can call them
// directly. Outputs are stretched probabilities; `P` holds the outputs of
// the components computed so far in this bit.
#pragma once

#include "block_header.h"
#include "hash_slots.h"
#include "zeroed_table.h"

#include <cstdint>
#include <vector>

namespace zpaq {

/// The known bits of the byte being decoded.
struct BitContext
{
    std::uint32_t c8 = 1;    // partial byte with a leading 1
    std::uint32_t hmap4 = 1; // 9-bit nibble form of the same bits
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
};

// Counters (CM, SSE)
void initCm(ComponentState &c);
int predictConst(ComponentState &c, std::uint32_t h, const BitContext &bc, const int *P);
int predictCm(ComponentState &c, std::uint32_t h, const BitContext &bc, const int *P);
void updateCm(ComponentState &c, int y, std::uint32_t h, const int *P);
void initSse(ComponentState &c);
int predictSse(ComponentState &c, std::uint32_t h, const BitContext &bc, const int *P);
void updateSse(ComponentState &c, int y, std::uint32_t h, const int *P);

// Bit histories (ICM, ISSE)
void initIcm(ComponentState &c);
/// The state of the current bit in context `h` (the slot is looked up at
/// nibble boundaries); predictIcm and predictIsse use it.
void lookUpHistory(ComponentState &c, std::uint32_t h, const BitContext &bc);
int predictIcm(ComponentState &c, std::uint32_t h, const BitContext &bc, const int *P);
void updateIcm(ComponentState &c, int y, std::uint32_t h, const int *P);
void initIsse(ComponentState &c);
int predictIsse(ComponentState &c, std::uint32_t h, const BitContext &bc, const int *P);
void updateIsse(ComponentState &c, int y, std::uint32_t h, const int *P);

// Mixers (AVG, MIX2, MIX)
int predictAvg(ComponentState &c, std::uint32_t h, const BitContext &bc, const int *P);
void initMix2(ComponentState &c);
int predictMix2(ComponentState &c, std::uint32_t h, const BitContext &bc, const int *P);
void updateMix2(ComponentState &c, int y, std::uint32_t h, const int *P);
void initMix(ComponentState &c);
int predictMix(ComponentState &c, std::uint32_t h, const BitContext &bc, const int *P);
void updateMix(ComponentState &c, int y, std::uint32_t h, const int *P);

// MATCH
void initMatch(ComponentState &c);
int predictMatch(ComponentState &c, std::uint32_t h, const BitContext &bc, const int *P);
void updateMatch(ComponentState &c, int y, std::uint32_t h, const int *P);
/// Starts loading the index entry the byte that ends with context `h` will use.
inline void prefetchMatch(const ComponentState &c, std::uint32_t h)
{
    __builtin_prefetch(c.positions.data() + std::size_t(h & c.mask) * 4);
}

/// Clamps to the stretched range -2047..2047.
inline int clamp2k(std::int64_t v) { return v < -2047 ? -2047 : v > 2047 ? 2047 : int(v); }
/// Clamps a 16.16 weight to -2^19..2^19-1.
inline std::int32_t clamp512k(std::int64_t v)
{
    return v < -524288 ? -524288 : v > 524287 ? 524287 : std::int32_t(v);
}

} // namespace zpaq
