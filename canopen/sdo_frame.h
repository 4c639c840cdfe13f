// The SDO frame: 8 data bytes, byte 0 the command specifier (its top three
// bits) with its flags, bytes 1-2 the index, byte 3 the subindex, bytes 4-7
// data, size or abort code, all numbers little-endian. Internal to the SDO unit.
#pragma once

#include "canopen/byte_order.h"

#include <cstdint>

// Command bytes and flag bits of byte 0.
namespace SdoCmd {
constexpr uint8_t Abort = 0x80;
constexpr uint8_t ToggleBit = 0x10;
constexpr uint8_t LastSegmentBit = 0x01;
constexpr uint8_t ExpeditedBit = 0x02;
constexpr uint8_t SizeBit = 0x01;
constexpr uint8_t DownloadExpedited = 0x23; // + (4 - n) * 4
constexpr uint8_t DownloadSegmented = 0x21;
constexpr uint8_t UploadInitiate = 0x40;
constexpr uint8_t UploadSegmentRequest = 0x60; // + toggle * 16
constexpr uint8_t DownloadInitiateAck = 0x60;
constexpr uint8_t DownloadSegmentAck = 0x20; // + toggle * 16
constexpr uint8_t UploadExpedited = 0x43;    // + (4 - n) * 4
constexpr uint8_t UploadSegmented = 0x41;
constexpr uint8_t BlockDownloadInitiate = 0xC2;
constexpr uint8_t BlockEnd = 0xC1; // + endEmptyCount * 4
constexpr uint8_t BlockUploadInitiate = 0xA0;
constexpr uint8_t BlockDownloadInitiateAck = 0xA0;
constexpr uint8_t BlockUploadInitiateAnswer = 0xC2;
constexpr uint8_t BlockUploadStart = 0xA3;
constexpr uint8_t BlockAck = 0xA2;
constexpr uint8_t BlockEndAck = 0xA1;
constexpr uint8_t BlockLastSegmentBit = 0x80;
constexpr uint8_t BlockCrcBit = 0x04;
} // namespace SdoCmd

constexpr uint8_t kSdoBlockSegments = 16;   // segments per block we ask for
constexpr uint8_t kSdoBlockSizeLimit = 128; // block sizes from this up are invalid

inline uint8_t sdoSpecifier(const uint8_t *bytes)
{
    return static_cast<uint8_t>(bytes[0] >> 5);
}

inline uint32_t sdoReadU32(const uint8_t *bytes)
{
    return readLe32(bytes);
}

inline uint16_t sdoFrameIndex(const uint8_t *bytes)
{
    return static_cast<uint16_t>(bytes[1] | bytes[2] << 8);
}

// Fills out with {command, index, subindex, value}.
inline void sdoFormatFrame(uint8_t out[8], uint8_t command, uint16_t index, uint8_t subIndex, uint32_t value)
{
    out[0] = command;
    out[1] = static_cast<uint8_t>(index);
    out[2] = static_cast<uint8_t>(index >> 8);
    out[3] = subIndex;
    out[4] = static_cast<uint8_t>(value);
    out[5] = static_cast<uint8_t>(value >> 8);
    out[6] = static_cast<uint8_t>(value >> 16);
    out[7] = static_cast<uint8_t>(value >> 24);
}
