// SDO abort codes that the virtual device's server sends, each with its meaning.
#pragma once

#include <cstdint>

namespace veqtest::abort {

constexpr uint32_t ToggleNotAlternated = 0x05030000; // toggle bit not alternated
constexpr uint32_t TimedOut = 0x05040000;            // SDO protocol timed out
constexpr uint32_t InvalidCommand = 0x05040001;      // command specifier not valid or unknown
constexpr uint32_t InvalidBlockSize = 0x05040002;    // block mode: invalid block size
constexpr uint32_t InvalidSequence = 0x05040003;     // block mode: invalid sequence number
constexpr uint32_t OutOfMemory = 0x05040005;         // out of memory
constexpr uint32_t WriteOnly = 0x06010001;           // attempt to read a write-only object
constexpr uint32_t ReadOnly = 0x06010002;            // attempt to write a read-only object
constexpr uint32_t NoSuchObject = 0x06020000;        // object does not exist in the dictionary
constexpr uint32_t WrongLength = 0x06070010;         // data type does not match, length wrong
constexpr uint32_t NoSuchSubindex = 0x06090011;      // subindex does not exist
constexpr uint32_t GeneralError = 0x08000000;        // general error
constexpr uint32_t CannotStore = 0x08000020;         // data cannot be transferred or stored
constexpr uint32_t LocalControl = 0x08000021;        // ... because of local control

} // namespace veqtest::abort
