// Heartbeat and node guarding: production and consumption of heartbeats
// (objects 0x1016 and 0x1017), guarding of remote nodes by remote requests
// (guard time 0x100C, life-time factor 0x100D), answers to guarding requests
// for the local node, and remoteNodeState kept current from what is heard.
#pragma once

#include "canopen/node_context.h"

// Remote state of a node whose heartbeat or guarding answer stayed away.
constexpr uint32_t kRemoteNodeLost = 1;

// startHeartbeat then startGuarding; stopHeartbeat then stopGuarding.
void startLifeGuard(NodeContext *node);
void stopLifeGuard(NodeContext *node);

// Watches 0x1017; arms one time-out per consumer entry with a time and the
// producer's periodic alarm when the producer time is non-zero.
void startHeartbeat(NodeContext *node);
void stopHeartbeat(NodeContext *node);

// Watches 0x100C and 0x100D; with guard time and life-time factor both set,
// guards every node whose state is known, once per guard time.
void startGuarding(NodeContext *node);
void stopGuarding(NodeContext *node);

// Write callbacks of 0x1017 (stopHeartbeat, startHeartbeat) and of 0x100C and
// 0x100D (the guard alarm deleted, startGuarding); both 0.
uint32_t onHeartbeatParamWritten(NodeContext *node, const OdIndexEntry *row, uint8_t subIndex);
uint32_t onGuardParamWritten(NodeContext *node, const OdIndexEntry *row, uint8_t subIndex);

// Alarm callbacks: the producer's heartbeat (its alarm deleted once the time
// is 0), a consumer entry's time-out (the node's state 1, then the
// heartbeat-error hook) and one guarding round over every known node.
void produceHeartbeat(NodeContext *node, uint32_t id);
void onHeartbeatTimeout(NodeContext *node, uint32_t entry);
void guardNodes(NodeContext *node, uint32_t id);

// Frames of function code 14 (boot-up, heartbeat, guarding answers and
// requests).
void processNodeGuard(NodeContext *node, const CanMessage *frame);

// Last known NMT state of a node; 15 for ids of 128 and more.
uint32_t getRemoteNodeState(NodeContext *node, uint8_t nodeId);

// Remote request on 0x700 + node id; the send result (0 = queued; the adapter
// refuses remote frames, which is a failed send).
uint8_t sendGuardRequest(NodeContext *node, uint8_t nodeId);
