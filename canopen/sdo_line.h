// Transfer lines as the SDO client and server share them: the received frame
// as the handler tables see it, taking and freeing lines, the 50 ms time-out,
// and ending or aborting a transfer. Internal to the SDO unit.
#pragma once

#include "canopen/node_context.h"
#include "canopen/sdo.h"
#include "canopen/sdo_buffer.h"
#include "canopen/sdo_channel.h"
#include "canopen/sdo_frame.h"

#include <cstdint>

constexpr uint32_t kSdoTimeoutMs = 50;
constexpr uint32_t kSdoServerReadLimit = 0x20000; // largest entry the server reads

// One received frame on a line, as the handler tables see it. line is null
// when no transfer of that channel and role is in progress.
struct SdoExchange {
    NodeContext *node;
    SdoTransferLine *line;
    uint8_t channel;
    uint8_t role;
    const uint8_t *bytes; // the frame's 8 data bytes
};

using SdoHandler = void (*)(const SdoExchange &exchange);

inline bool sdoLineRunning(const SdoTransferLine &line)
{
    return line.state >= SdoState::Download && line.state <= SdoState::BlockUpload;
}
inline uint8_t sdoLineNumber(const NodeContext *node, const SdoTransferLine *line)
{
    return static_cast<uint8_t>(line - node->sdoLines);
}

// State 0, alarm deleted, buffer freed, every field cleared.
void freeSdoLine(SdoTransferLine *line);
// Prepares a free line for a new transfer (the abort code is kept) and arms
// its time-out; false when no alarm was free, and the line then has none.
bool setUpSdoLine(NodeContext *node, SdoTransferLine *line, uint8_t channel, uint8_t role, uint8_t state,
                  uint16_t index, uint8_t subIndex);
// Re-arms the 50 ms time-out of a line whose alarm is running.
void restartSdoTimeout(NodeContext *node, SdoTransferLine *line);

// Ends a client transfer: the alarm is deleted, the state set, and the
// callback runs with the peer's node id. Nothing of the line is touched after
// the callback, which may free or reuse it.
void finishSdoClientLine(NodeContext *node, SdoTransferLine *line, uint8_t state);
// Aborts the transfer on a line after a local failure: the abort frame goes
// to the peer; a server line is freed; a client line is marked 0x85 with the
// code, its callback runs, and the line is freed afterwards unless the
// callback freed or reused it.
void failSdoLine(NodeContext *node, SdoTransferLine *line, uint32_t code);
// failSdoLine without the abort frame.
void abortSdoLineHere(NodeContext *node, SdoTransferLine *line, uint32_t code);
// failSdoLine for the exchange's line, or only the abort frame (index and
// subindex 0) when none runs.
void failSdoExchange(const SdoExchange &exchange, uint32_t code);

// Handlers shared by both roles' tables.
void sdoInvalidCommand(const SdoExchange &exchange); // 0x05040001
void sdoNoSuchTransfer(const SdoExchange &exchange); // 0x08000021
void sdoIgnoreFrame(const SdoExchange &exchange);
