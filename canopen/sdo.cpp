// Entry of SDO frames and time-outs, and the single-line operations. A frame
// goes to the running line that hears on its COB-ID, else its COB-ID names
// the channel and the role (a server row's request COB-ID, or a client row's
// answer COB-ID); the length is checked before any byte is read, and the
// role's handler table takes it from there.
#include "canopen/sdo.h"

#include "canopen/abort_codes.h"
#include "canopen/alarm.h"
#include "canopen/sdo_client_answers.h"
#include "canopen/sdo_line.h"
#include "canopen/sdo_server.h"

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
    if (lineNo == kSdoNoLine)
        return sendSdoAbortFrame(node, channel, role, index, subIndex, abortCode);
    SdoTransferLine &line = node->sdoLines[lineNo];
    // The abort goes to the line's own peer, whatever the row says by now.
    uint8_t frame[8];
    sdoFormatFrame(frame, SdoCmd::Abort, index, subIndex, abortCode);
    const int sent = sendSdoLineFrame(node, &line, frame);
    if (line.role == SdoRole::Server) {
        freeSdoLine(&line);
    } else {
        line.alarmId = deleteAlarm(line.alarmId);
        line.state = SdoState::AbortedLocally;
        line.abortCode = abortCode;
    }
    return sent;
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

uint8_t sendSdoFrame(NodeContext *node, uint8_t channel, uint8_t role, const uint8_t data[8])
{
    const OdIndexEntry *row = sdoParameterRow(node, role, channel);
    // Client requests leave on subentry 1, server answers on subentry 2.
    const uint8_t sub = role == SdoRole::Server ? 2 : 1;
    if (row == nullptr || row->count <= sub)
        return 1;
    return sendSdoOnCobId(node, sdoRowValue(row, sub), data);
}
