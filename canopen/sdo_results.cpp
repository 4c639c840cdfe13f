// The outcome of a client transfer as its caller fetches it (normally from
// the completion callback): data and size of an upload, the abort code of a
// failed transfer, and closing the line.
#include "canopen/sdo.h"

#include "canopen/sdo_line.h"

#include <cstring>

namespace {

// The client line to that channel that is neither free nor aborted locally.
SdoTransferLine *clientLine(NodeContext *node, uint8_t channel)
{
    const uint8_t lineNo = findSdoLine(node, channel, SdoRole::Client);
    return lineNo == kSdoNoLine ? nullptr : &node->sdoLines[lineNo];
}

// The code of a line to that channel aborted here (time-out, protocol
// error), so that a caller learns why its transfer ended; 0 when none.
uint32_t localAbortCode(const NodeContext *node, uint8_t channel)
{
    for (const SdoTransferLine &line : node->sdoLines) {
        if (line.role == SdoRole::Client && line.channel == channel && line.state == SdoState::AbortedLocally)
            return line.abortCode;
    }
    return 0;
}

} // namespace

uint32_t getReadResult(NodeContext *node, uint8_t nodeId, void *buffer, uint32_t *size, uint32_t *abortCode)
{
    *abortCode = 0;
    uint8_t channel = 0;
    const bool hasChannel = findSdoClientChannel(node, nodeId, &channel) == 0;
    SdoTransferLine *line = hasChannel ? clientLine(node, channel) : nullptr;
    if (line == nullptr) {
        *size = 0;
        if (hasChannel)
            *abortCode = localAbortCode(node, channel);
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
    uint8_t channel = 0;
    if (findSdoClientChannel(node, nodeId, &channel) != 0)
        return kSdoNoClientLine;
    SdoTransferLine *line = clientLine(node, channel);
    if (line == nullptr) {
        *abortCode = localAbortCode(node, channel);
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
    uint8_t channel = 0;
    if (findSdoClientChannel(node, nodeId, &channel) != 0)
        return kSdoNoClientLine;
    SdoTransferLine *line = clientLine(node, channel);
    if (line == nullptr)
        return kSdoNoLineClosed;
    freeSdoLine(line);
    return 0;
}
