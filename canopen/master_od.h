// The master's own object dictionary (20 objects with static value storage)
// and the master's NodeContext, the one node record of the process.
#pragma once

#include "canopen/node_context.h"

constexpr uint16_t kMasterObjectCount = 20;

// Rows in index order: 0x1000, 0x1001, 0x1005, 0x1006, 0x1016, 0x1018,
// 0x1280, 0x1400, 0x1600, 0x1800, 0x1A00, 0x2000, 0x200F..0x2016.
extern const OdIndexEntry masterObjectDictionary[kMasterObjectCount];

// Row of the master's SDO client channel (object 0x1280), which
// setSdoClientChannel points at a node before each exchange.
constexpr int kMasterSdoClientRow = 6;

// The master node record, statically initialised.
extern NodeContext masterNode;

// Index lookup of the master's table (NodeContext::scanIndex).
const OdIndexEntry *masterScanIndex(uint16_t index, uint32_t *abortCode, OdWriteCallback **callbacks);

// 0x06090030 when dataType is 0x9F and the value's first byte is 0, else 0.
uint32_t masterValueRangeTest(uint8_t dataType, const void *value);
