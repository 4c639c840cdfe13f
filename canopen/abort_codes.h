// SDO abort codes that the stack itself produces, in one place.
// Every failure of dictionary access and SDO transfer is one of these
// 32-bit values; 0 means success.
#pragma once

#include <cstdint>

namespace SdoAbort {
constexpr uint32_t ToggleNotAlternated = 0x05030000;   // segmented toggle bit wrong
constexpr uint32_t TimedOut = 0x05040000;              // no answer in time
constexpr uint32_t InvalidCommand = 0x05040001;        // command specifier unknown
constexpr uint32_t InvalidBlockSize = 0x05040002;      // block size 0 or 128 and above
constexpr uint32_t OutOfMemory = 0x05040005;           // buffer too small / no memory
constexpr uint32_t WriteOnly = 0x06010001;             // read of a write-only entry
constexpr uint32_t ReadOnly = 0x06010002;              // write of a read-only entry
constexpr uint32_t NoSuchObject = 0x06020000;          // index not in the dictionary
constexpr uint32_t LengthMismatch = 0x06070010;        // data type length does not match
constexpr uint32_t NoSuchSubIndex = 0x06090011;        // subindex past the object's count
constexpr uint32_t ValueRange = 0x06090030;            // value range exceeded
constexpr uint32_t GeneralError = 0x08000000;          // bad frame length, buffer failure
constexpr uint32_t LocalControl = 0x08000021;          // frame fits no transfer, no free line
} // namespace SdoAbort
