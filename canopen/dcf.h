// Boot-time configuration of booted slaves from the concise device
// configuration in the local dictionary (object 0x1F22, one DOMAIN subentry
// per node id: u32 entry count, then per entry index u16, subindex u8, size
// u32 and the value, little-endian). Each configured value is first verified
// by SDO upload; at the first difference every entry is written; then the
// node is started. A node that fails is marked 15 (state unknown).
#pragma once

#include "canopen/node_context.h"

constexpr uint16_t kConciseDcfObject = 0x1F22;

namespace DcfState {
constexpr uint8_t Idle = 0;
constexpr uint8_t Verifying = 1;
constexpr uint8_t Writing = 2;
constexpr uint8_t Saving = 3;
} // namespace DcfState

// 2 when the node has configuration data and its first entry was requested
// (state verifying); otherwise 1 after NMT start to the node, whose state
// becomes 5.
int startDcf(NodeContext *node, uint8_t nodeId);
// startDcf while the unit is idle, else 0.
int startDcfIfIdle(NodeContext *node, uint8_t nodeId);
// NMT start to the node, then the next booted node (remote state 0) is
// configured; when none is left, the local node goes operational.
void finishDcfNode(NodeContext *node, uint8_t nodeId);
// NMT start (command 1) to the node; its remote state becomes 5.
void startNodeRemote(NodeContext *node, uint8_t nodeId);
// Writes "save" to the node's 0x1010 subentry 1 (state saving); the result of
// the SDO start.
int saveDcfNode(NodeContext *node, uint8_t nodeId);

// Completion of every SDO transfer of this unit.
void onDcfSdoDone(NodeContext *node, uint8_t nodeId);
