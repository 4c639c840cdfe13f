// The record the PDO unit keeps per transmit PDO (the node's pdoStatus array).
#pragma once

#include "canopen/alarm_id.h"
#include "canopen/can_message.h"

#include <cstdint>

// Bit value 1 of TpdoStatus::flags: inhibit time running, or for type 252 a
// frame held for a remote request. For cyclic types (1 to 240) the flags byte
// counts the SYNCs instead.
constexpr uint8_t kTpdoInhibitOrHeld = 1;

struct TpdoStatus {
    uint8_t flags = 0; // kTpdoInhibitOrHeld, or the SYNC count of a cyclic type
    int16_t eventAlarm = kNoAlarm;
    int16_t inhibitAlarm = kNoAlarm;
    CanMessage lastMessage = {};
};
