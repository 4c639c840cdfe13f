// SDO transfer lines: the client (expedited, segmented and block upload and
// download) and the server for the local dictionary. Everything runs under
// the stack lock; each line in progress is guarded by a 50 ms time-out alarm.
//
// Errors follow the stack's convention: starts return a status (0 started,
// negative refusals), getters return the line state, and every protocol
// failure is an SDO abort code (abort_codes.h) sent to the peer and kept in
// the line.
#pragma once

#include "canopen/node_context.h"

#include <cstdint>

// Result of the getters when the node has no client line in progress.
constexpr uint32_t kSdoNoClientLine = 0xFFFFFF85;
// Result of getReadResult when the caller's buffer is smaller than the data.
constexpr uint32_t kSdoBufferTooSmall = 0xFFFFFF8A;
// Result of closeSdoTransfer when no line matched.
constexpr uint32_t kSdoNoLineClosed = 0xFFFFFFFF;

// Results of the channel lookup, passed on by the starts.
constexpr int kSdoNoRowForNode = 254;
constexpr int kSdoNoClientRows = 255;

// Largest transfer a peer may push into one line. A larger announced size, or
// more bytes than this, aborts the transfer with 0x05040005 (out of memory).
constexpr uint32_t kSdoMaxTransferSize = 16u * 1024u * 1024u;

// Starts an upload from the server of nodeId (block transfer when blockMode
// is non-zero). 0 started; -1 busy, no free line, wrong NMT state or send
// failure; 254 no client row for the node; 255 no client row at all.
// callback runs under the stack lock when the transfer ends, is aborted or
// times out; it may be null.
int readRemoteEntry(NodeContext *node, uint8_t nodeId, uint16_t index, uint8_t subIndex, uint8_t dataType,
                    SdoCallback callback, uint8_t blockMode);

// Starts a download of count bytes from data (copied at once). Results as
// readRemoteEntry, and -2 when a buffer for more than 32 bytes cannot be
// allocated.
int writeRemoteEntry(NodeContext *node, uint8_t nodeId, uint16_t index, uint8_t subIndex, uint32_t count,
                     uint8_t dataType, const void *data, SdoCallback callback, uint8_t blockMode);

// As the two above; when the node has no client row (254), the first client
// row whose server node id is 0 is given to the node (COB-IDs 0x600 + id and
// 0x580 + id) and the start is tried again.
int readRemoteEntryAutoChannel(NodeContext *node, uint8_t nodeId, uint16_t index, uint8_t subIndex,
                               uint8_t dataType, SdoCallback callback, uint8_t blockMode);
int writeRemoteEntryAutoChannel(NodeContext *node, uint8_t nodeId, uint16_t index, uint8_t subIndex,
                                uint32_t count, uint8_t dataType, const void *data, SdoCallback callback,
                                uint8_t blockMode);

// The starts without a completion callback; the caller polls the getters.
int readRemoteEntryPolled(NodeContext *node, uint8_t nodeId, uint16_t index, uint8_t subIndex, uint8_t dataType,
                          uint8_t blockMode);
int writeRemoteEntryPolled(NodeContext *node, uint8_t nodeId, uint16_t index, uint8_t subIndex, uint32_t count,
                           uint8_t dataType, const void *data, uint8_t blockMode);

// Outcome of an upload. The line state is in the low byte:
// 1 finished: data copied into buffer, *size set, line freed;
// 0x80 aborted by the peer: *abortCode set, *size 0, the line stays;
// 2 to 5 still running.
// kSdoNoClientLine: no line to the node (*size 0; *abortCode holds the local
// abort code, e.g. 0x05040000, while a line aborted here still exists).
// kSdoBufferTooSmall: *size (the buffer size on entry) is below the data
// size; *size 0 and the line stays.
uint32_t getReadResult(NodeContext *node, uint8_t nodeId, void *buffer, uint32_t *size, uint32_t *abortCode);

// Outcome of a download: 1 finished (line freed), 0x80 aborted (*abortCode
// set), 2 to 5 running, kSdoNoClientLine as for getReadResult.
uint32_t getWriteResult(NodeContext *node, uint8_t nodeId, uint32_t *abortCode);

// Frees the first taken line (aborted ones included) of that node and role
// (2 client): 0 freed, kSdoNoLineClosed none, kSdoNoClientLine when the node
// has no client row.
uint32_t closeSdoTransfer(NodeContext *node, uint8_t nodeId, uint8_t role);

// As closeSdoTransfer for the client line, but a line aborted locally (0x85)
// is left alone.
uint32_t closeSdoTransferUnlessAborted(NodeContext *node, uint8_t nodeId);

// True while a client line to the server of serverNodeId is downloading,
// uploading or in a block state. Takes the stack lock.
bool isSdoClientTransferRunning(const NodeContext *node, uint8_t serverNodeId);

// Points client row 0x1280 + channel at the server of serverNodeId (request
// COB-ID 0x600 + id, answer COB-ID 0x580 + id, node id) through the dictionary
// write path, under the stack lock. 0 or the abort code of the first refused
// write.
uint32_t setSdoClientChannel(NodeContext *node, uint8_t channel, uint8_t serverNodeId);

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
