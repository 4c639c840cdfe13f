// Heartbeat and node guarding: production and consumption of heartbeats,
// guarding of remote nodes and answers to guarding requests.
#pragma once

#include "node_context.h"

void startLifeGuard(NodeContext *node);
void stopLifeGuard(NodeContext *node);

// Frames of function code 14 (boot-up, heartbeat, guarding).
void processNodeGuard(NodeContext *node, const CanMessage *frame);
