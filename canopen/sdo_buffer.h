// The bytes of a transfer line: inline up to 32 bytes, beyond that a heap
// buffer growing in 128 KiB steps up to kSdoMaxTransferSize. Results are SDO
// abort codes, 0 to go on. Internal to the SDO unit.
#pragma once

#include "canopen/node_context.h"
#include "canopen/sdo_frame.h"

#include <cstdint>

constexpr uint32_t kSdoInlineSize = 32;      // bytes held in SdoTransferLine::data
constexpr uint32_t kSdoBufferStep = 0x20000; // receive buffers grow by 128 KiB

// Where the line's bytes live: dynamicData when it holds any, else data.
uint8_t *sdoLineBytes(SdoTransferLine *line);
// The size a peer announced for the line (count, else blockObjectSize).
uint32_t sdoAnnouncedSize(const SdoTransferLine *line);
// Appends received bytes. 0, or 0x05040005 past kSdoMaxTransferSize,
// 0x08000021 past the announced size, 0x08000000 when memory runs out.
uint32_t appendSdoBytes(SdoTransferLine *line, const uint8_t *bytes, uint32_t n);

inline bool sdoToggleMatches(const SdoTransferLine *line, const uint8_t *bytes)
{
    return ((bytes[0] & SdoCmd::ToggleBit) != 0) == (line->toggle != 0);
}
// A segment of a segmented transfer towards us (client upload, server
// download): toggle checked, time-out restarted, bytes appended, and with the
// last bit the announced size met.
uint32_t takeSdoSegment(NodeContext *node, SdoTransferLine *line, const uint8_t *bytes);
// Next segment of an outgoing segmented transfer with the line's toggle:
// 7 bytes, or the rest with the last bit; 0x08000000 when the bytes are not there.
uint32_t nextSdoSegment(SdoTransferLine *line, uint8_t out[8], bool *last);
