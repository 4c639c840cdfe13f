// The parameter rows behind SDO channels: finding a client channel by its
// server node id, reading and claiming row values, and sending a frame on the
// COB-ID of a channel and role.
#include "canopen/sdo_channel.h"

#include "canopen/port.h"
#include "canopen/sdo_frame.h"

#include <cstring>

const OdIndexEntry *sdoParameterRow(const NodeContext *node, uint8_t role, uint8_t channel)
{
    const int range = role == SdoRole::Server ? OdRange::SdoServer : OdRange::SdoClient;
    if (node->firstIndex == nullptr || node->lastIndex == nullptr || node->objectDictionary == nullptr)
        return nullptr;
    const uint16_t first = node->firstIndex[range];
    if (first == 0)
        return nullptr;
    const uint32_t row = static_cast<uint32_t>(first) + channel;
    if (row > node->lastIndex[range])
        return nullptr;
    if (node->objectCount != nullptr && row >= *node->objectCount)
        return nullptr;
    return &node->objectDictionary[row];
}

uint32_t sdoRowValue(const OdIndexEntry *row, uint8_t subIndex)
{
    if (row == nullptr || subIndex >= row->count || row->subEntries[subIndex].value == nullptr)
        return 0;
    const OdSubEntry &entry = row->subEntries[subIndex];
    switch (entry.size) {
    case 1:
        return *static_cast<const uint8_t *>(entry.value);
    case 2: {
        uint16_t v;
        std::memcpy(&v, entry.value, sizeof v);
        return v;
    }
    case 4: {
        uint32_t v;
        std::memcpy(&v, entry.value, sizeof v);
        return v;
    }
    default:
        return 0;
    }
}

void sdoSetRowValue(const OdIndexEntry *row, uint8_t subIndex, uint32_t value)
{
    if (row == nullptr || subIndex >= row->count || row->subEntries[subIndex].value == nullptr)
        return;
    const OdSubEntry &entry = row->subEntries[subIndex];
    switch (entry.size) {
    case 1:
        *static_cast<uint8_t *>(entry.value) = static_cast<uint8_t>(value);
        break;
    case 2: {
        const uint16_t v = static_cast<uint16_t>(value);
        std::memcpy(entry.value, &v, sizeof v);
        break;
    }
    case 4:
        std::memcpy(entry.value, &value, sizeof value);
        break;
    default:
        break;
    }
}

int findSdoClientChannel(const NodeContext *node, uint8_t nodeId, uint8_t *channel)
{
    for (int c = 0; c <= 0xFF; ++c) {
        const OdIndexEntry *row = sdoParameterRow(node, SdoRole::Client, static_cast<uint8_t>(c));
        if (row == nullptr)
            return c == 0 ? kSdoNoClientRows : kSdoNoRowForNode;
        if (row->count < 4)
            return kSdoNoClientRows;
        if (sdoRowValue(row, 3) == nodeId) {
            *channel = static_cast<uint8_t>(c);
            return 0;
        }
    }
    return kSdoNoRowForNode;
}

void takeSdoRowIdentity(const NodeContext *node, SdoTransferLine *line)
{
    const OdIndexEntry *row = sdoParameterRow(node, line->role, line->channel);
    // A server answers on subentry 2 and hears on 1; a client the other way round.
    const bool server = line->role == SdoRole::Server;
    line->sendCobId = row != nullptr && row->count > 2 ? sdoRowValue(row, server ? 2 : 1) : 0;
    line->receiveCobId = row != nullptr && row->count > 2 ? sdoRowValue(row, server ? 1 : 2) : 0;
    line->peerNodeId = !server && row != nullptr && row->count >= 4 ? static_cast<uint8_t>(sdoRowValue(row, 3))
                                                                     : kNoNodeId;
}

uint8_t sendSdoOnCobId(NodeContext *node, uint32_t cobId, const uint8_t data[8])
{
    if (node->nmtState != NmtState::Operational && node->nmtState != NmtState::PreOperational)
        return 1;
    // Bit 31 marks a row invalid; 0 is an unconfigured row, and on the bus it
    // is the NMT identifier: an abort {0x80, ...} there would send nodes to
    // pre-operational.
    if (cobId == 0 || cobId > 0x7FF)
        return 1;
    CanMessage frame{};
    frame.cobId = static_cast<uint16_t>(cobId);
    frame.len = 8;
    std::memcpy(frame.data, data, 8);
    return canSend(node->port, &frame);
}

uint8_t sendSdoLineFrame(NodeContext *node, const SdoTransferLine *line, const uint8_t data[8])
{
    return sendSdoOnCobId(node, line->sendCobId, data);
}

uint8_t sendSdoAbortFrame(NodeContext *node, uint8_t channel, uint8_t role, uint16_t index, uint8_t subIndex,
                          uint32_t code)
{
    uint8_t frame[8];
    sdoFormatFrame(frame, SdoCmd::Abort, index, subIndex, code);
    return sendSdoFrame(node, channel, role, frame);
}

uint8_t sendSdoLineAbort(NodeContext *node, const SdoTransferLine *line, uint32_t code)
{
    uint8_t frame[8];
    sdoFormatFrame(frame, SdoCmd::Abort, line->index, line->subIndex, code);
    return sendSdoLineFrame(node, line, frame);
}
