// Emergency object: the local error state and received emergency frames.
#pragma once

#include "node_context.h"

void startEmcy(NodeContext *node);
void stopEmcy(NodeContext *node);

// Received emergency frame (function code 1, COB-IDs 0x081 to 0x0FF).
void processEmcy(NodeContext *node, const CanMessage *frame);
