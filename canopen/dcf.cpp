// Concise DCF walk. The cursor moves through the node's stored data one entry
// at a time; every read is checked against the end of the data, so a
// truncated or overlong entry ends the walk instead of reading past it.
#include "canopen/dcf.h"

#include "canopen/byte_order.h"
#include "canopen/nmt.h"
#include "canopen/od.h"
#include "canopen/sdo.h"

#include <cstring>
#include <vector>

namespace {

constexpr uint32_t kEntryHeader = 7; // index u16, subindex u8, size u32
constexpr uint8_t kNmtStart = 1;
constexpr uint8_t kNmtResetNode = 129;

// The entry read last, still to be requested.
struct DcfEntry {
    uint16_t index;
    uint8_t subIndex;
};

bool openData(NodeContext *node, uint8_t nodeId)
{
    uint32_t code = 0;
    OdWriteCallback *callbacks = nullptr;
    const OdIndexEntry *row = lookupOdIndex(node, kConciseDcfObject, &code, &callbacks);
    if (row == nullptr || nodeId >= row->count)
        return false;
    const OdSubEntry &sub = row->subEntries[nodeId];
    if (sub.value == nullptr || sub.size < 4)
        return false;
    const uint8_t *data = static_cast<const uint8_t *>(sub.value);
    node->dcfRow = row;
    node->dcfEntryCount = readLe32(data);
    node->dcfCursor = data + 4;
    node->dcfEnd = data + sub.size;
    node->dcfEntriesRead = 0;
    return true;
}

// True when the cursor is at an entry that lies wholly within the data and the
// announced count is not yet reached; an entry whose value runs past the data
// ends the walk as the end of the data does.
bool entryAhead(const NodeContext *node)
{
    const uint8_t *cursor = node->dcfCursor;
    if (cursor == nullptr || static_cast<uint32_t>(node->dcfEnd - cursor) < kEntryHeader ||
        node->dcfEntriesRead >= node->dcfEntryCount)
        return false;
    return readLe32(cursor + 3) <= static_cast<uint32_t>(node->dcfEnd - cursor) - kEntryHeader;
}

bool nextEntry(NodeContext *node, DcfEntry *entry)
{
    if (!entryAhead(node))
        return false;
    const uint8_t *cursor = node->dcfCursor;
    const uint32_t size = readLe32(cursor + 3);
    entry->index = static_cast<uint16_t>(cursor[0] | cursor[1] << 8);
    entry->subIndex = cursor[2];
    node->dcfSize = size;
    node->dcfValue = cursor + kEntryHeader;
    node->dcfCursor = cursor + kEntryHeader + size;
    ++node->dcfEntriesRead;
    return true;
}

// Requests the next entry, an upload while verifying and a download while
// writing. False when no entry is left or the transfer did not start.
bool requestNext(NodeContext *node, uint8_t nodeId, bool verify)
{
    DcfEntry entry;
    if (!nextEntry(node, &entry))
        return false;
    if (verify)
        return readRemoteEntryAutoChannel(node, nodeId, entry.index, entry.subIndex, 0, onDcfSdoDone, 0) == 0;
    return writeRemoteEntryAutoChannel(node, nodeId, entry.index, entry.subIndex, node->dcfSize, 0,
                                       node->dcfValue, onDcfSdoDone, 0) == 0;
}

// The node could not be configured: its state is unknown and the unit is free
// for the next boot-up.
void failNode(NodeContext *node, uint8_t nodeId)
{
    closeSdoTransfer(node, nodeId, SdoRole::Client);
    node->dcfState = DcfState::Idle;
    if (nodeId < kNodeIdCount)
        node->remoteNodeState[nodeId] = NmtState::Unknown;
}

// Starts writing every entry from the first; false when nothing could be written.
bool writeAll(NodeContext *node, uint8_t nodeId)
{
    if (!openData(node, nodeId))
        return false;
    node->dcfState = DcfState::Writing;
    return requestNext(node, nodeId, false);
}

void verified(NodeContext *node, uint8_t nodeId)
{
    // The upload's own size is compared too: a longer value fails the buffer
    // of the kept size plus one and counts as a difference.
    std::vector<uint8_t> buffer(node->dcfSize + 1);
    uint32_t size = static_cast<uint32_t>(buffer.size());
    uint32_t abortCode = 0;
    const uint32_t result = getReadResult(node, nodeId, buffer.data(), &size, &abortCode);
    bool equal = false;
    if (result == SdoState::Finished) {
        equal = size == node->dcfSize && std::memcmp(buffer.data(), node->dcfValue, size) == 0;
    } else if (result == kSdoBufferTooSmall) {
        closeSdoTransfer(node, nodeId, SdoRole::Client);
    } else {
        failNode(node, nodeId);
        return;
    }
    if (!equal) {
        if (!writeAll(node, nodeId))
            failNode(node, nodeId);
        return;
    }
    if (entryAhead(node)) {
        if (!requestNext(node, nodeId, true))
            failNode(node, nodeId);
        return;
    }
    node->dcfState = DcfState::Idle;
    finishDcfNode(node, nodeId);
}

void written(NodeContext *node, uint8_t nodeId)
{
    uint32_t abortCode = 0;
    if (getWriteResult(node, nodeId, &abortCode) != SdoState::Finished) {
        failNode(node, nodeId);
        return;
    }
    if (entryAhead(node)) {
        if (!requestNext(node, nodeId, false))
            failNode(node, nodeId);
        return;
    }
    node->dcfState = DcfState::Idle;
    finishDcfNode(node, nodeId);
}

void saved(NodeContext *node, uint8_t nodeId)
{
    uint32_t abortCode = 0;
    if (getWriteResult(node, nodeId, &abortCode) == SdoState::Finished)
        sendNmtCommand(node, nodeId, kNmtResetNode);
    failNode(node, nodeId); // reset or failed: its state is unknown until it boots again
}

} // namespace

int startDcf(NodeContext *node, uint8_t nodeId)
{
    if (openData(node, nodeId)) {
        node->dcfState = DcfState::Verifying;
        if (requestNext(node, nodeId, true))
            return 2;
        node->dcfState = DcfState::Idle;
    }
    startNodeRemote(node, nodeId);
    return 1;
}

int startDcfIfIdle(NodeContext *node, uint8_t nodeId)
{
    return node->dcfState == DcfState::Idle ? startDcf(node, nodeId) : 0;
}

void finishDcfNode(NodeContext *node, uint8_t nodeId)
{
    startNodeRemote(node, nodeId);
    for (int id = 0; id < kNodeIdCount; ++id) {
        if (node->dcfState != DcfState::Idle)
            return;
        if (node->remoteNodeState[id] == NmtState::Initialisation && startDcf(node, static_cast<uint8_t>(id)) == 2)
            return;
    }
    setNodeState(node, NmtState::Operational);
}

void startNodeRemote(NodeContext *node, uint8_t nodeId)
{
    sendNmtCommand(node, nodeId, kNmtStart);
    if (nodeId < kNodeIdCount)
        node->remoteNodeState[nodeId] = NmtState::Operational;
}

int saveDcfNode(NodeContext *node, uint8_t nodeId)
{
    static const char save[4] = {'s', 'a', 'v', 'e'};
    const int result = writeRemoteEntryAutoChannel(node, nodeId, 0x1010, 1, sizeof save, 0, save, onDcfSdoDone, 0);
    if (result == 0)
        node->dcfState = DcfState::Saving;
    return result;
}

void onDcfSdoDone(NodeContext *node, uint8_t nodeId)
{
    switch (node->dcfState) {
    case DcfState::Verifying:
        verified(node, nodeId);
        break;
    case DcfState::Writing:
        written(node, nodeId);
        break;
    case DcfState::Saving:
        saved(node, nodeId);
        break;
    default:
        closeSdoTransfer(node, nodeId, SdoRole::Client);
        break;
    }
}
