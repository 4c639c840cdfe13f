// SYNC object: production of the SYNC frame and the SYNC-driven PDOs.
#pragma once

#include "node_context.h"

void startSync(NodeContext *node);
void stopSync(NodeContext *node);

// A SYNC was sent or received.
void processSync(NodeContext *node);
