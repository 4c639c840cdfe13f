// Transfer lines: finding, taking, arming and freeing them, ending a client
// transfer in its callback, and aborting a line after a local failure.
#include "canopen/sdo_line.h"

#include "canopen/abort_codes.h"
#include "canopen/alarm.h"
#include "canopen/sdo_channel.h"
#include "canopen/sdo_frame.h"

#include <cstdlib>

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
    takeSdoRowIdentity(node, line);
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

void finishSdoClientLine(NodeContext *node, SdoTransferLine *line, uint8_t state)
{
    line->alarmId = deleteAlarm(line->alarmId);
    line->state = state;
    // Copied first: the callback may free the line or start a new transfer on it.
    const SdoCallback callback = line->callback;
    const uint8_t peer = line->peerNodeId;
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
    sendSdoLineAbort(node, line, code);
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
