// Line management of the SDO unit: finding a line's parameter row, taking,
// arming and freeing lines, the receive buffer that grows in 128 KiB steps up
// to the transfer limit, and sending on the line's COB-ID.
#include "sdo_line.h"

#include "abort_codes.h"
#include "alarm.h"
#include "port.h"

#include <cstdlib>
#include <cstring>

void sdoFormatFrame(uint8_t out[8], uint8_t command, uint16_t index, uint8_t subIndex, uint32_t value)
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

uint8_t sdoPeerNodeId(const NodeContext *node, const SdoTransferLine *line)
{
    if (line->role != SdoRole::Client)
        return kNoNodeId;
    const OdIndexEntry *row = sdoParameterRow(node, SdoRole::Client, line->channel);
    if (row == nullptr || row->count < 4)
        return kNoNodeId;
    return static_cast<uint8_t>(sdoRowValue(row, 3));
}

SdoTransferLine *findRunningSdoLine(NodeContext *node, uint8_t channel, uint8_t role)
{
    for (SdoTransferLine &line : node->sdoLines) {
        if (line.role == role && line.channel == channel && sdoLineRunning(line))
            return &line;
    }
    return nullptr;
}

void freeSdoLine(SdoTransferLine *line)
{
    deleteAlarm(line->alarmId);
    std::free(line->dynamicData);
    *line = SdoTransferLine();
}

bool setUpSdoLine(NodeContext *node, SdoTransferLine *line, uint8_t channel, uint8_t role, uint8_t state,
                  uint16_t index, uint8_t subIndex)
{
    const uint32_t keptAbortCode = line->abortCode;
    freeSdoLine(line);
    line->abortCode = keptAbortCode;
    line->channel = channel;
    line->role = role;
    line->state = state;
    line->index = index;
    line->subIndex = subIndex;
    line->alarmId = setAlarm(node, sdoLineNumber(node, line), processSdoTimeout, kSdoTimeoutMs, 0);
    return line->alarmId != kNoAlarm;
}

void restartSdoTimeout(NodeContext *node, SdoTransferLine *line)
{
    if (line->alarmId == kNoAlarm)
        return;
    deleteAlarm(line->alarmId);
    line->alarmId = setAlarm(node, sdoLineNumber(node, line), processSdoTimeout, kSdoTimeoutMs, 0);
}

uint8_t *sdoLineBytes(SdoTransferLine *line)
{
    return line->dynamicData != nullptr && line->dynamicDataSize != 0 ? line->dynamicData : line->data;
}

uint32_t sdoAnnouncedSize(const SdoTransferLine *line)
{
    return line->count != 0 ? line->count : line->blockObjectSize;
}

uint32_t appendSdoBytes(SdoTransferLine *line, const uint8_t *bytes, uint32_t n)
{
    const uint64_t total = static_cast<uint64_t>(line->offset) + n;
    if (total > kSdoMaxTransferSize)
        return SdoAbort::OutOfMemory;
    const uint32_t announced = sdoAnnouncedSize(line);
    if (announced != 0 && total > announced)
        return SdoAbort::LocalControl;
    if (line->dynamicData == nullptr && total <= kSdoInlineSize) {
        std::memcpy(line->data + line->offset, bytes, n);
        line->offset = static_cast<uint32_t>(total);
        return 0;
    }
    if (line->dynamicData == nullptr || total > line->dynamicDataSize) {
        uint64_t capacity = line->dynamicData != nullptr ? line->dynamicDataSize : 0;
        while (capacity < total)
            capacity += kSdoBufferStep;
        void *grown = std::realloc(line->dynamicData, static_cast<size_t>(capacity));
        if (grown == nullptr)
            return SdoAbort::GeneralError;
        if (line->dynamicData == nullptr)
            std::memcpy(grown, line->data, line->offset);
        line->dynamicData = static_cast<uint8_t *>(grown);
        line->dynamicDataSize = static_cast<uint32_t>(capacity);
    }
    std::memcpy(line->dynamicData + line->offset, bytes, n);
    line->offset = static_cast<uint32_t>(total);
    return 0;
}

uint32_t takeSdoSegment(NodeContext *node, SdoTransferLine *line, const uint8_t *bytes)
{
    if (!sdoToggleMatches(line, bytes))
        return SdoAbort::ToggleNotAlternated;
    restartSdoTimeout(node, line);
    const uint32_t code = appendSdoBytes(line, bytes + 1, 7u - ((bytes[0] >> 1) & 7u));
    if (code != 0)
        return code;
    // Ending short of the announced size would pass on bytes that never came.
    if ((bytes[0] & SdoCmd::LastSegmentBit) && line->count != 0 && line->offset != line->count)
        return SdoAbort::LocalControl;
    return 0;
}

uint32_t nextSdoSegment(SdoTransferLine *line, uint8_t out[8], bool *last)
{
    if (line->offset > line->count)
        return SdoAbort::GeneralError;
    if (line->count > kSdoInlineSize && line->dynamicData == nullptr)
        return SdoAbort::GeneralError;
    const uint32_t remaining = line->count - line->offset;
    *last = remaining < 8;
    const uint32_t n = *last ? remaining : 7;
    std::memset(out, 0, 8);
    out[0] = static_cast<uint8_t>(line->toggle ? SdoCmd::ToggleBit : 0);
    if (*last)
        out[0] = static_cast<uint8_t>(out[0] + (7 - n) * 2 + SdoCmd::LastSegmentBit);
    std::memcpy(out + 1, sdoLineBytes(line) + line->offset, n);
    line->offset += n;
    return 0;
}

uint8_t sendSdoFrame(NodeContext *node, uint8_t channel, uint8_t role, const uint8_t data[8])
{
    if (node->nmtState != NmtState::Operational && node->nmtState != NmtState::PreOperational)
        return 1;
    const OdIndexEntry *row = sdoParameterRow(node, role, channel);
    // Client requests leave on subentry 1, server answers on subentry 2.
    const uint8_t sub = role == SdoRole::Server ? 2 : 1;
    if (row == nullptr || row->count <= sub)
        return 1;
    const uint32_t cobId = sdoRowValue(row, sub);
    if (cobId > 0x7FF) // marked invalid, or not an 11-bit identifier
        return 1;
    CanMessage frame{};
    frame.cobId = static_cast<uint16_t>(cobId);
    frame.len = 8;
    std::memcpy(frame.data, data, 8);
    return canSend(node->port, &frame);
}

uint8_t sendSdoLineFrame(NodeContext *node, const SdoTransferLine *line, const uint8_t data[8])
{
    return sendSdoFrame(node, line->channel, line->role, data);
}

uint8_t sendSdoAbortFrame(NodeContext *node, uint8_t channel, uint8_t role, uint16_t index, uint8_t subIndex,
                          uint32_t code)
{
    uint8_t frame[8];
    sdoFormatFrame(frame, SdoCmd::Abort, index, subIndex, code);
    return sendSdoFrame(node, channel, role, frame);
}

void finishSdoClientLine(NodeContext *node, SdoTransferLine *line, uint8_t state)
{
    line->alarmId = deleteAlarm(line->alarmId);
    line->state = state;
    // Copied first: the callback may free the line or start a new transfer on it.
    const SdoCallback callback = line->callback;
    const uint8_t peer = sdoPeerNodeId(node, line);
    if (callback != nullptr)
        callback(node, peer);
}

void abortSdoLineHere(NodeContext *node, SdoTransferLine *line, uint32_t code)
{
    if (line->role != SdoRole::Client) {
        freeSdoLine(line);
        return;
    }
    line->abortCode = code;
    finishSdoClientLine(node, line, SdoState::AbortedLocally);
    // A callback that left the line as it was has no further use for it; one
    // that freed or restarted it owns it now.
    if (line->state == SdoState::AbortedLocally && line->abortCode == code && line->role == SdoRole::Client)
        freeSdoLine(line);
}

void failSdoLine(NodeContext *node, SdoTransferLine *line, uint32_t code)
{
    sendSdoAbortFrame(node, line->channel, line->role, line->index, line->subIndex, code);
    abortSdoLineHere(node, line, code);
}

void failSdoExchange(const SdoExchange &exchange, uint32_t code)
{
    if (exchange.line != nullptr)
        failSdoLine(exchange.node, exchange.line, code);
    else
        sendSdoAbortFrame(exchange.node, exchange.channel, exchange.role, 0, 0, code);
}

void sdoInvalidCommand(const SdoExchange &exchange)
{
    failSdoExchange(exchange, SdoAbort::InvalidCommand);
}

void sdoNoSuchTransfer(const SdoExchange &exchange)
{
    failSdoExchange(exchange, SdoAbort::LocalControl);
}

void sdoIgnoreFrame(const SdoExchange &)
{
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

uint8_t findFreeSdoLine(NodeContext *node)
{
    for (int i = 0; i < kSdoLineCount; ++i) {
        if (node->sdoLines[i].state == SdoState::Free)
            return static_cast<uint8_t>(i);
    }
    return kSdoNoLine;
}

uint8_t findSdoLine(NodeContext *node, uint8_t channel, uint8_t role)
{
    for (int i = 0; i < kSdoLineCount; ++i) {
        const SdoTransferLine &line = node->sdoLines[i];
        if (line.role == role && line.channel == channel && line.state != SdoState::Free &&
            line.state != SdoState::AbortedLocally)
            return static_cast<uint8_t>(i);
    }
    return kSdoNoLine;
}

uint32_t getSdoRemainingBytes(NodeContext *node, uint8_t lineNo)
{
    if (lineNo >= kSdoLineCount)
        return 0;
    const SdoTransferLine &line = node->sdoLines[lineNo];
    return line.count > line.offset ? line.count - line.offset : 0;
}

void setSdoCount(NodeContext *node, uint8_t lineNo, uint32_t count)
{
    if (lineNo < kSdoLineCount)
        node->sdoLines[lineNo].count = count;
}
