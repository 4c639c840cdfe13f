// The outcome of a client transfer as its caller fetches it, normally from
// the completion callback under the stack lock: the data and size of an
// upload, the abort code of a failed transfer, and closing the line. Lines are
// found by the server node they started with.
#pragma once

#include "canopen/node_context.h"

#include <cstdint>

// Result of the getters when the node has no client line in progress.
constexpr uint32_t kSdoNoClientLine = 0xFFFFFF85;
// Result of getReadResult when the caller's buffer is smaller than the data.
constexpr uint32_t kSdoBufferTooSmall = 0xFFFFFF8A;
// Result of closeSdoTransfer when no line matched.
constexpr uint32_t kSdoNoLineClosed = 0xFFFFFFFF;

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
// (2 client): 0 freed; when none, kSdoNoClientLine if the node has no client
// row, else kSdoNoLineClosed.
uint32_t closeSdoTransfer(NodeContext *node, uint8_t nodeId, uint8_t role);

// As closeSdoTransfer for the client line, but a line aborted locally (0x85)
// is left alone.
uint32_t closeSdoTransferUnlessAborted(NodeContext *node, uint8_t nodeId);
