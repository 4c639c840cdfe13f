// Layer setting services, master and slave side.
#pragma once

#include "node_context.h"

void startLss(NodeContext *node);
void stopLss(NodeContext *node);

// Master: answers on 0x7E4. -1 when the answer fits no pending request.
int processLssAnswer(NodeContext *node, const CanMessage *frame);
// Slave: requests on 0x7E5. -1 for an ignored command.
int processLssRequest(NodeContext *node, const CanMessage *frame);
