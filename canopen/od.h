// Object-dictionary rows and the operations that read and write the local
// dictionary. Results are SDO abort codes (abort_codes.h), 0 on success.
// All of it runs under the stack lock and allocates nothing.
#pragma once

#include <cstdint>

struct NodeContext;

// CiA 301 data-type codes used by the stack.
namespace OdType {
constexpr uint8_t Boolean = 0x01;
constexpr uint8_t Unsigned8 = 0x05;
constexpr uint8_t Unsigned16 = 0x06;
constexpr uint8_t Unsigned32 = 0x07;
constexpr uint8_t VisibleString = 0x09;
constexpr uint8_t Domain = 0x0F;
} // namespace OdType

// Access byte of a subentry; OdStoreMark may be added to any of the three.
namespace OdAccess {
constexpr uint8_t ReadWrite = 0;
constexpr uint8_t WriteOnly = 1;
constexpr uint8_t ReadOnly = 2;
constexpr uint8_t StoreMark = 4;
} // namespace OdAccess

struct OdSubEntry {
    uint8_t access;   // OdAccess value
    uint8_t dataType; // CiA 301 data-type code
    uint32_t size;    // size of the value in bytes
    void *value;      // the value's static storage
};

struct OdIndexEntry {
    const OdSubEntry *subEntries; // subindex = array position
    uint8_t count;                // number of subentries
};

// Runs after setOdEntry stored a value; a non-zero abort code is passed on
// to the writer (the value stays stored).
using OdWriteCallback = uint32_t (*)(NodeContext *node, const OdIndexEntry *row, uint8_t subIndex);

// Maps an index to its row. An unknown index gives null and leaves
// 0x06020000 in *abortCode. *callbacks receives the object's write-callback
// array (one slot per subindex) or null when it has none.
using OdScanIndex = const OdIndexEntry *(*)(uint16_t index, uint32_t *abortCode,
                                            OdWriteCallback **callbacks);

// Reads one entry into dest. *size is the buffer size on entry and the number
// of bytes copied on return (the needed size with 0x05040005). A VISIBLE_STRING
// copies up to its first NUL or *size characters (the entry size when *size is
// 0) and is not NUL-terminated in dest.
uint32_t getOdEntry(NodeContext *node, uint16_t index, uint8_t subIndex, void *dest, uint32_t *size,
                    uint8_t *dataType, uint8_t checkAccess);

// Writes one entry from src. *size is the number of bytes offered (0 stores
// nothing) and the entry's size on return.
uint32_t setOdEntry(NodeContext *node, uint16_t index, uint8_t subIndex, const void *src, uint32_t *size,
                    uint8_t checkAccess);

// Installs a write callback. Returns the lookup's abort code; 0 also when the
// object has no callback array or the subindex is past its count, in which
// case nothing is registered.
uint32_t registerOdWriteCallback(NodeContext *node, uint16_t index, uint8_t subIndex,
                                 OdWriteCallback callback);

// The node's index lookup (NodeContext::scanIndex).
const OdIndexEntry *lookupOdIndex(NodeContext *node, uint16_t index, uint32_t *abortCode,
                                  OdWriteCallback **callbacks);

// The unit's no-op: does nothing and returns 0. Nothing in the program
// calls it; it stays part of the dictionary interface.
uint32_t idleOdAccess(NodeContext *node);
