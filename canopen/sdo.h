// SDO transfer lines: the client (expedited, segmented and block upload and
// download) and the server for the local dictionary. The public header of the
// SDO unit: the client's starts (sdo_client.h) and results (sdo_results.h),
// and here the frame entry, aborts, time-outs and single-line operations.
// Everything runs under the stack lock; each line in progress is guarded by a
// 50 ms time-out alarm.
//
// Errors follow the stack's convention: starts return a status (0 started,
// negative refusals), getters return the line state, and every protocol
// failure is an SDO abort code (abort_codes.h) sent to the peer and kept in
// the line.
#pragma once

#include "canopen/node_context.h"
#include "canopen/sdo_client.h"
#include "canopen/sdo_results.h"

#include <cstdint>

// Largest transfer a peer may push into one line. A larger announced size, or
// more bytes than this, aborts the transfer with 0x05040005 (out of memory).
constexpr uint32_t kSdoMaxTransferSize = 16u * 1024u * 1024u;

// Frames of function codes 11 and 12 while the sdo switch is on.
void processSdoFrame(NodeContext *node, const CanMessage *frame);

// Aborts the line of that channel and role: a server line is freed, a client
// line is marked aborted locally (0x85) with abortCode and its callback is not
// called. The abort frame is sent in any case (NMT states 5 and 127 only).
// 0 when the frame was sent.
int abortSdo(NodeContext *node, uint8_t channel, uint8_t role, uint16_t index, uint8_t subIndex,
             uint32_t abortCode);

// Alarm callback of a line's 50 ms time-out; id is the line number.
void processSdoTimeout(NodeContext *node, uint32_t id);

// Frees all lines (the sdo switch went off).
void resetSdo(NodeContext *node);

// Single-line operations. Line numbers index NodeContext::sdoLines; "none" is
// 0xFF.
constexpr uint8_t kSdoNoLine = 0xFF;

// First free line, or kSdoNoLine.
uint8_t findFreeSdoLine(NodeContext *node);
// The taken line (neither free nor aborted locally) of that channel and role.
uint8_t findSdoLine(NodeContext *node, uint8_t channel, uint8_t role);
// Bytes still to transfer on the line (count minus offset, 0 when past it).
uint32_t getSdoRemainingBytes(NodeContext *node, uint8_t lineNo);
void setSdoCount(NodeContext *node, uint8_t lineNo, uint32_t count);
// Sends 8 bytes on the COB-ID of that channel and role (client: request
// COB-ID, server: answer COB-ID), only in NMT states 5 and 127 and only on a
// configured identifier (1 to 0x7FF). 0 sent.
uint8_t sendSdoFrame(NodeContext *node, uint8_t channel, uint8_t role, const uint8_t data[8]);
