// Entry of every received frame into the protocol code: routing by function
// code to the unit that owns it, provided that unit is switched on.
#pragma once

#include "canopen/node_context.h"

// Called by the receive thread under the stack lock.
void dispatchCanMessage(NodeContext *node, const CanMessage *frame);
