// Entry of SDO frames and time-outs: the frame's COB-ID names the channel and
// the role (a server row's request COB-ID, or a client row's answer COB-ID),
// the length is checked before any byte is read, and the role's handler table
// takes it from there.
#include "canopen/sdo.h"

#include "canopen/abort_codes.h"
#include "canopen/alarm.h"
#include "canopen/od.h"
#include "canopen/sdo_line.h"
#include "canopen/stack_lock.h"

namespace {

// Only a transfer in progress takes frames: a finished result or a peer's
// abort waits for its getter, and a late or stray frame must not turn it into
// something else.
SdoTransferLine *findSdoLineHearing(NodeContext *node, uint32_t cobId)
{
    for (SdoTransferLine &line : node->sdoLines) {
        if (sdoLineRunning(line) && line.receiveCobId == cobId)
            return &line;
    }
    return nullptr;
}

// Finds the channel and role whose incoming COB-ID is cobId.
bool matchSdoChannel(const NodeContext *node, uint16_t cobId, uint8_t *channel, uint8_t *role)
{
    struct Incoming {
        uint8_t role;
        uint8_t cobSub;  // subentry holding the COB-ID the peer sends on
        uint8_t minSubs; // rows with fewer subentries take no part
    };
    static const Incoming kIncoming[] = {
        {SdoRole::Server, 1, 2},
        {SdoRole::Client, 2, 4},
    };
    for (const Incoming &in : kIncoming) {
        for (int c = 0; c <= 0xFF; ++c) {
            const OdIndexEntry *row = sdoParameterRow(node, in.role, static_cast<uint8_t>(c));
            if (row == nullptr)
                break;
            if (row->count >= in.minSubs && sdoRowValue(row, in.cobSub) == cobId) {
                *channel = static_cast<uint8_t>(c);
                *role = in.role;
                return true;
            }
        }
    }
    return false;
}

} // namespace

void processSdoFrame(NodeContext *node, const CanMessage *frame)
{
    if (node == nullptr || frame == nullptr)
        return;
    uint8_t channel = 0;
    uint8_t role = 0;
    // A transfer hears on the COB-ID it started with, even when its row has
    // been pointed elsewhere since; otherwise the rows name channel and role.
    SdoTransferLine *line = findSdoLineHearing(node, frame->cobId);
    if (line != nullptr) {
        channel = line->channel;
        role = line->role;
    } else if (!matchSdoChannel(node, frame->cobId, &channel, &role)) {
        return;
    }
    if (frame->len != 8) {
        uint8_t abortFrame[8];
        sdoFormatFrame(abortFrame, SdoCmd::Abort, 0, 0, SdoAbort::GeneralError);
        if (line == nullptr) {
            sendSdoFrame(node, channel, role, abortFrame);
            return;
        }
        sendSdoLineFrame(node, line, abortFrame);
        abortSdoLineHere(node, line, SdoAbort::GeneralError);
        return;
    }
    const SdoExchange exchange{node, line, channel, role, frame->data};
    if (role == SdoRole::Server)
        processSdoServerFrame(exchange);
    else
        processSdoClientFrame(exchange);
}

int abortSdo(NodeContext *node, uint8_t channel, uint8_t role, uint16_t index, uint8_t subIndex,
             uint32_t abortCode)
{
    const uint8_t lineNo = findSdoLine(node, channel, role);
    if (lineNo != kSdoNoLine) {
        SdoTransferLine &line = node->sdoLines[lineNo];
        if (line.role == SdoRole::Server) {
            freeSdoLine(&line);
        } else {
            line.alarmId = deleteAlarm(line.alarmId);
            line.state = SdoState::AbortedLocally;
            line.abortCode = abortCode;
        }
    }
    return sendSdoAbortFrame(node, channel, role, index, subIndex, abortCode);
}

void processSdoTimeout(NodeContext *node, uint32_t id)
{
    if (node == nullptr || id >= static_cast<uint32_t>(kSdoLineCount))
        return;
    SdoTransferLine *line = &node->sdoLines[id];
    // The alarm that called us is spent; its slot may be handed out again.
    line->alarmId = kNoAlarm;
    if (!sdoLineRunning(*line))
        return;
    // A client line whose row went away has nobody to abort or call back. A
    // server line times out whatever the client rows are, or it would stay
    // taken for good on a node without any.
    if (line->role == SdoRole::Client && sdoParameterRow(node, SdoRole::Client, line->channel) == nullptr)
        return;
    failSdoLine(node, line, SdoAbort::TimedOut);
}

void resetSdo(NodeContext *node)
{
    for (SdoTransferLine &line : node->sdoLines)
        freeSdoLine(&line);
}

bool isSdoClientTransferRunning(const NodeContext *node, uint8_t serverNodeId)
{
    StackLockGuard lock;
    for (const SdoTransferLine &line : node->sdoLines) {
        if (line.role == SdoRole::Client && sdoLineRunning(line) && line.peerNodeId == serverNodeId)
            return true;
    }
    return false;
}

uint32_t setSdoClientChannel(NodeContext *node, uint8_t channel, uint8_t serverNodeId)
{
    constexpr uint16_t kFirstClientRow = 0x1280;
    const uint16_t index = static_cast<uint16_t>(kFirstClientRow + channel);
    uint32_t requestCobId = 0x600u + serverNodeId;
    uint32_t answerCobId = 0x580u + serverNodeId;
    uint8_t nodeId = serverNodeId;
    StackLockGuard lock; // the timer and receive threads read the row
    uint32_t size = sizeof requestCobId;
    if (const uint32_t code = setOdEntry(node, index, 1, &requestCobId, &size, 0))
        return code;
    size = sizeof answerCobId;
    if (const uint32_t code = setOdEntry(node, index, 2, &answerCobId, &size, 0))
        return code;
    size = sizeof nodeId;
    return setOdEntry(node, index, 3, &nodeId, &size, 0);
}
