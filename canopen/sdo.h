// SDO transfer lines: the client (expedited, segmented and block upload and
// download) and the server for the local dictionary. Everything runs under
// the stack lock; each line in progress is guarded by a 50 ms time-out alarm.
#pragma once

#include "node_context.h"

#include <cstdint>

constexpr uint32_t kSdoNoClientLine = 0xFFFFFF85;
constexpr uint32_t kSdoBufferTooSmall = 0xFFFFFF8A;

// Starts an upload; 0 started, -1 busy / no free line / wrong NMT state /
// send failure, 254 no client row for the node, 255 no client row at all.
int readRemoteEntry(NodeContext *node, uint8_t nodeId, uint16_t index, uint8_t subIndex, uint8_t dataType,
                    SdoCallback callback, uint8_t blockMode);

// Starts a download of count bytes; as readRemoteEntry, -2 when a buffer for
// more than 32 bytes cannot be allocated.
int writeRemoteEntry(NodeContext *node, uint8_t nodeId, uint16_t index, uint8_t subIndex, uint32_t count,
                     uint8_t dataType, const void *data, SdoCallback callback, uint8_t blockMode);

// Line state in the low byte: 1 finished (data copied, line freed), 0x80
// aborted by the peer, 2 to 5 running; kSdoNoClientLine, kSdoBufferTooSmall.
uint32_t getReadResult(NodeContext *node, uint8_t nodeId, void *buffer, uint32_t *size, uint32_t *abortCode);
uint32_t getWriteResult(NodeContext *node, uint8_t nodeId, uint32_t *abortCode);

// Frees the first taken line of that node and role: 0 freed, 0xFFFFFFFF none,
// kSdoNoClientLine when the node has no client row.
uint32_t closeSdoTransfer(NodeContext *node, uint8_t nodeId, uint8_t role);

// Frames of function codes 11 and 12 while the sdo switch is on.
void processSdoFrame(NodeContext *node, const CanMessage *frame);

// Marks the line aborted and sends the abort frame.
int abortSdo(NodeContext *node, uint8_t channel, uint8_t role, uint16_t index, uint8_t subIndex,
             uint32_t abortCode);

// Frees all lines (the sdo switch went off).
void resetSdo(NodeContext *node);
