// Process data objects: transmit PDOs built from the mapping objects and
// receive PDOs unpacked into the dictionary.
#pragma once

#include "node_context.h"

void startPdo(NodeContext *node);
void stopPdo(NodeContext *node);

// Receive path of function codes 3 to 10; 255 when a mapped write failed or
// a request is not answered.
uint8_t processPdoFrame(NodeContext *node, const CanMessage *frame);
