// One CAN frame as every unit of the stack passes it around: an 11-bit
// identifier, the remote-request flag, a length and eight data bytes.
#pragma once

#include <cstdint>

struct CanMessage {
    uint16_t cobId;  // 11-bit identifier; cobId >> 7 is the function code
    uint8_t rtr;     // 1 for a remote request (guarding, PDO requests)
    uint8_t len;     // 0 to 8
    uint8_t data[8]; // bytes beyond len are don't-care
};
