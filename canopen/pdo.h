// Process data objects: transmit PDOs built from the mapping objects and sent
// on change, on SYNC or on request; receive PDOs unpacked into the dictionary.
// Transmit PDO n is the n-th row of the transmit communication range (object
// 0x1800 + n) with its mapping row; receive PDOs likewise from 0x1400/0x1600.
#pragma once

#include "canopen/node_context.h"

// Number of transmit (receive) PDOs: rows present in both the communication
// and the mapping range.
uint32_t tpdoCount(const NodeContext *node);
uint32_t rpdoCount(const NodeContext *node);

// Registers the parameter-write callbacks of every transmit PDO (subentries
// 2, 3 and 5) and sends the event-driven ones once.
void startPdo(NodeContext *node);
// Deletes every transmit PDO's alarms and forgets the frames last sent.
void stopPdo(NodeContext *node);

// Receive path of function codes 3 to 10. 0 when the frame was handled; 255
// when a mapped write failed, no PDO has that COB-ID, or a request is not
// answered.
uint8_t processPdoFrame(NodeContext *node, const CanMessage *frame);

// Per transmit PDO: on a SYNC (syncFlag 1) or at start (0).
void processPdoCycle(NodeContext *node, uint8_t syncFlag);
void processPdoCycleAtStart(NodeContext *node);

// Builds and sends transmit PDO n unless its inhibit time runs, it is not
// valid, or it equals the frame last sent. 1 when sent.
int transmitPdo(NodeContext *node, uint32_t pdo);
// transmitPdo while the pdo switch is on, else 0.
int transmitPdoIfOn(NodeContext *node, uint32_t pdo);

// Fills frame from the mapping of transmit PDO n: 0, or -1 when a mapped entry
// cannot be read or the mapping exceeds 64 bits.
int buildPdo(NodeContext *node, uint32_t pdo, CanMessage *frame);

// Remote request (length 0) on the COB-ID of the receive PDO whose
// communication object is commIndex (0x1400 + n). 1 sent; 0 while the pdo
// switch is off; -1 for an index outside the receive range or when the driver
// refused the frame (the adapter carries no remote frames).
int requestPdo(NodeContext *node, uint16_t commIndex);

// Copies bitCount bits from src (starting at bit srcOffset) to dest (at bit
// destOffset), bit k of a side lying in byte k / 8 at bit k % 8. A reversed
// side walks its bytes backwards from the pointer given.
void copyBits(uint32_t bitCount, const uint8_t *src, uint32_t srcOffset, bool srcReversed, uint8_t *dest,
              uint32_t destOffset, bool destReversed);
