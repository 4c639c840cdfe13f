// The outcome of a client transfer as its caller fetches it (normally from
// the completion callback): data and size of an upload, the abort code of a
// failed transfer, and closing the line.
#include "canopen/sdo_results.h"

#include "canopen/sdo_line.h"

#include <cstring>

namespace {

// The client line to that server that is neither free nor aborted locally.
// Lines are found by the node they started with: the row may point elsewhere
// by the time a late transfer ends.
SdoTransferLine *clientLine(NodeContext *node, uint8_t nodeId)
{
    for (SdoTransferLine &line : node->sdoLines) {
        if (line.role == SdoRole::Client && line.peerNodeId == nodeId && line.state != SdoState::Free &&
            line.state != SdoState::AbortedLocally)
            return &line;
    }
    return nullptr;
}

// The code of a line to that server aborted here (time-out, protocol error),
// so that a caller learns why its transfer ended; 0 when none.
uint32_t localAbortCode(const NodeContext *node, uint8_t nodeId)
{
    for (const SdoTransferLine &line : node->sdoLines) {
        if (line.role == SdoRole::Client && line.peerNodeId == nodeId && line.state == SdoState::AbortedLocally)
            return line.abortCode;
    }
    return 0;
}

bool hasClientRow(const NodeContext *node, uint8_t nodeId)
{
    uint8_t channel = 0;
    return findSdoClientChannel(node, nodeId, &channel) == 0;
}

} // namespace

uint32_t getReadResult(NodeContext *node, uint8_t nodeId, void *buffer, uint32_t *size, uint32_t *abortCode)
{
    *abortCode = 0;
    SdoTransferLine *line = clientLine(node, nodeId);
    if (line == nullptr) {
        *size = 0;
        *abortCode = localAbortCode(node, nodeId);
        return kSdoNoClientLine;
    }
    switch (line->state) {
    case SdoState::Finished: {
        uint32_t total = line->count != 0 ? line->count : line->offset;
        // Never more than actually arrived, whatever size was announced.
        if (total > line->offset)
            total = line->offset;
        line->count = total;
        if (total > *size || (buffer == nullptr && total != 0)) {
            *size = 0;
            return kSdoBufferTooSmall;
        }
        if (total != 0)
            std::memcpy(buffer, sdoLineBytes(line), total);
        *size = total;
        freeSdoLine(line);
        return SdoState::Finished;
    }
    case SdoState::AbortedByPeer:
        *abortCode = line->abortCode;
        *size = 0;
        return SdoState::AbortedByPeer;
    default:
        return line->state;
    }
}

uint32_t getWriteResult(NodeContext *node, uint8_t nodeId, uint32_t *abortCode)
{
    *abortCode = 0;
    SdoTransferLine *line = clientLine(node, nodeId);
    if (line == nullptr) {
        *abortCode = localAbortCode(node, nodeId);
        return kSdoNoClientLine;
    }
    *abortCode = line->abortCode;
    const uint8_t state = line->state;
    if (state == SdoState::Finished)
        freeSdoLine(line);
    return state;
}

uint32_t closeSdoTransfer(NodeContext *node, uint8_t nodeId, uint8_t role)
{
    if (role == SdoRole::Client) {
        for (SdoTransferLine &line : node->sdoLines) {
            if (line.state != SdoState::Free && line.role == role && line.peerNodeId == nodeId) {
                freeSdoLine(&line);
                return 0;
            }
        }
        return hasClientRow(node, nodeId) ? kSdoNoLineClosed : kSdoNoClientLine;
    }
    // Another role's line is named by the channel number of the node's client row.
    uint8_t channel = 0;
    if (findSdoClientChannel(node, nodeId, &channel) != 0)
        return kSdoNoClientLine;
    for (SdoTransferLine &line : node->sdoLines) {
        if (line.state != SdoState::Free && line.channel == channel && line.role == role) {
            freeSdoLine(&line);
            return 0;
        }
    }
    return kSdoNoLineClosed;
}

uint32_t closeSdoTransferUnlessAborted(NodeContext *node, uint8_t nodeId)
{
    SdoTransferLine *line = clientLine(node, nodeId);
    if (line == nullptr)
        return hasClientRow(node, nodeId) ? kSdoNoLineClosed : kSdoNoClientLine;
    freeSdoLine(line);
    return 0;
}
