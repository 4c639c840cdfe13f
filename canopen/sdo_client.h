// The SDO client's starts: uploads and downloads to a server node
// (expedited, segmented or block), the variants that claim a client row or
// run without a callback, and the calls that point a client row at a node and
// tell whether a transfer to it runs. Everything but the two last runs under
// the stack lock.
#pragma once

#include "canopen/node_context.h"

#include <cstdint>

// Results of the channel lookup, passed on by the starts.
constexpr int kSdoNoRowForNode = 254;
constexpr int kSdoNoClientRows = 255;

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

// True while a client line to the server of serverNodeId is downloading,
// uploading or in a block state. Takes the stack lock.
bool isSdoClientTransferRunning(const NodeContext *node, uint8_t serverNodeId);

// Points client row 0x1280 + channel at the server of serverNodeId (request
// COB-ID 0x600 + id, answer COB-ID 0x580 + id, node id) through the dictionary
// write path, under the stack lock. 0 or the abort code of the first refused
// write.
uint32_t setSdoClientChannel(NodeContext *node, uint8_t channel, uint8_t serverNodeId);
