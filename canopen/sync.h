// SYNC object: periodic production of the SYNC frame when the node is SYNC
// producer (object 0x1005 bit 30, period in object 0x1006 in microseconds),
// and the SYNC-driven transmit PDOs on every SYNC sent or received.
#pragma once

#include "canopen/node_context.h"

constexpr uint32_t kSyncProducer = 0x40000000;

// Restarts production from 0x1005 and 0x1006 and watches both for writes.
// A period below 1 ms runs at 1 ms.
void startSync(NodeContext *node);
// Stops production and the watch on 0x1005 and 0x1006.
void stopSync(NodeContext *node);
// Write callback of 0x1005 and 0x1006: startSync again; 0.
uint32_t onSyncParamWritten(NodeContext *node, const OdIndexEntry *row, uint8_t subIndex);

// Sends the SYNC frame and runs processSync; the send result (0 = queued).
uint8_t produceSync(NodeContext *node);
// Sends the SYNC frame only.
uint8_t sendSync(NodeContext *node);

// A SYNC was sent or received: post-SYNC hook, then (pdo switch on) the
// SYNC-driven transmit PDOs and the post-transmit-PDO hook.
void processSync(NodeContext *node);
