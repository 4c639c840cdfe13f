// Reading and writing the local object dictionary through the node's index
// lookup, with the access, size and value-range checks of the protocol.
#include "canopen/od.h"

#include "canopen/abort_codes.h"
#include "canopen/node_context.h"

#include <cstring>

const OdIndexEntry *lookupOdIndex(NodeContext *node, uint16_t index, uint32_t *abortCode,
                                  OdWriteCallback **callbacks)
{
    *abortCode = 0;
    *callbacks = nullptr;
    return node->scanIndex(index, abortCode, callbacks);
}

namespace {

// Steps shared by reads and writes: the index lookup, then the subindex.
struct FoundEntry {
    const OdIndexEntry *row = nullptr;
    const OdSubEntry *entry = nullptr;
    OdWriteCallback *callbacks = nullptr;
};

uint32_t findEntry(NodeContext *node, uint16_t index, uint8_t subIndex, FoundEntry *found)
{
    uint32_t abortCode = 0;
    found->row = lookupOdIndex(node, index, &abortCode, &found->callbacks);
    if (abortCode != 0)
        return abortCode;
    if (subIndex >= found->row->count)
        return SdoAbort::NoSuchSubIndex;
    found->entry = &found->row->subEntries[subIndex];
    return 0;
}

} // namespace

uint32_t getOdEntry(NodeContext *node, uint16_t index, uint8_t subIndex, void *dest, uint32_t *size,
                    uint8_t *dataType, uint8_t checkAccess)
{
    FoundEntry found;
    if (const uint32_t abortCode = findEntry(node, index, subIndex, &found))
        return abortCode;
    const OdSubEntry &entry = *found.entry;
    if (checkAccess && (entry.access & OdAccess::WriteOnly))
        return SdoAbort::WriteOnly;
    if (dest == nullptr)
        return SdoAbort::GeneralError;
    if (entry.size > *size) {
        *size = entry.size;
        return SdoAbort::OutOfMemory;
    }
    *dataType = entry.dataType;
    if (entry.dataType != OdType::VisibleString) {
        std::memcpy(dest, entry.value, entry.size);
        *size = entry.size;
        return 0;
    }
    // A text ends at its first NUL; the copy is limited by the caller's size
    // (or the entry's size when the caller gave 0) and never runs past the entry.
    uint32_t limit = *size == 0 ? entry.size : *size;
    if (limit > entry.size)
        limit = entry.size;
    const char *text = static_cast<const char *>(entry.value);
    uint32_t n = 0;
    while (n < limit && text[n] != '\0')
        ++n;
    std::memcpy(dest, text, n);
    *size = n;
    return 0;
}

uint32_t setOdEntry(NodeContext *node, uint16_t index, uint8_t subIndex, const void *src, uint32_t *size,
                    uint8_t checkAccess)
{
    FoundEntry found;
    if (const uint32_t abortCode = findEntry(node, index, subIndex, &found))
        return abortCode;
    const OdSubEntry &entry = *found.entry;
    if (checkAccess && (entry.access & ~OdAccess::StoreMark) == OdAccess::ReadOnly)
        return SdoAbort::ReadOnly;
    const uint32_t n = *size;
    if (n != 0 && n != entry.size) {
        const bool shorterText = entry.dataType == OdType::VisibleString && n < entry.size;
        if (!shorterText) {
            *size = entry.size;
            return SdoAbort::LengthMismatch;
        }
    }
    if (n != 0 && src == nullptr)
        return SdoAbort::GeneralError;
    if (node->valueRangeTest != nullptr && src != nullptr) {
        const uint32_t rangeCode = node->valueRangeTest(entry.dataType, src);
        if (rangeCode != 0)
            return rangeCode;
    }
    if (n != 0) {
        std::memcpy(entry.value, src, n);
        if (entry.dataType == OdType::VisibleString && n < entry.size)
            static_cast<char *>(entry.value)[n] = '\0';
    }
    *size = entry.size;
    if (found.callbacks != nullptr && found.callbacks[subIndex] != nullptr) {
        const uint32_t callbackCode = found.callbacks[subIndex](node, found.row, subIndex);
        if (callbackCode != 0)
            return callbackCode;
    }
    if ((entry.access & OdAccess::StoreMark) && node->storeOdSubIndex != nullptr)
        node->storeOdSubIndex(node, index, subIndex);
    return 0;
}

uint32_t registerOdWriteCallback(NodeContext *node, uint16_t index, uint8_t subIndex,
                                 OdWriteCallback callback)
{
    uint32_t abortCode = 0;
    OdWriteCallback *callbacks = nullptr;
    const OdIndexEntry *row = lookupOdIndex(node, index, &abortCode, &callbacks);
    if (abortCode != 0)
        return abortCode;
    if (callbacks != nullptr && subIndex < row->count)
        callbacks[subIndex] = callback;
    return 0;
}

uint32_t idleOdAccess(NodeContext *)
{
    return 0;
}
