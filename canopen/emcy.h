// Emergency object: the local error state (error register 0x1001, the error
// history, eight error slots), the emergency frames that announce it, and
// received emergency frames handed to the node's emergency hook.
#pragma once

#include "canopen/node_context.h"

// Clears the error count and watches 0x1003 subentry 0 for writes.
void startEmcy(NodeContext *node);
void stopEmcy(NodeContext *node);
// Write callback of 0x1003 subentry 0: a count of 0 clears the history; 0.
uint32_t onErrorCountWritten(NodeContext *node, const OdIndexEntry *row, uint8_t subIndex);

// Frame on the EMCY COB-ID: the code (little-endian), the register, then up
// to 5 bytes of data; with data null, 8 bytes with five zeros. The send
// result (0 = queued).
uint8_t sendEmcy(NodeContext *node, uint16_t errorCode, uint8_t errorRegister, const uint8_t *data,
                 uint8_t length);

// Raises an error: takes a slot, updates the register and the history and,
// with EMCY on, sends the emergency frame. 0 when sent or already active;
// 1 when no slot is free, EMCY is off (the error is recorded all the same) or
// the frame could not be sent.
uint8_t setEmcyError(NodeContext *node, uint16_t errorCode, uint8_t registerMask, uint16_t additionalInfo);

// Clears an active error; when it was the last one, the error-reset frame is
// sent (EMCY on). 0 when the error was active, 1 when it was not.
uint8_t clearEmcyError(NodeContext *node, uint16_t errorCode);

// Received emergency frame (function code 1, COB-IDs 0x081 to 0x0FF); frames
// of another length than 8 are ignored.
void processEmcy(NodeContext *node, const CanMessage *frame);
