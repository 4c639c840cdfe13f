// The EMCY unit's error slots: one per error raised and not yet cleared.
#pragma once

#include <cstdint>

constexpr int kEmcyErrorSlots = 8;

struct EmcyErrorSlot {
    uint16_t errorCode = 0;
    uint8_t registerMask = 0;
    uint8_t active = 0;
};
