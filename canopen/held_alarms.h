// The alarm ids that a node's services keep (SDO lines, heartbeat, guarding,
// SYNC, PDOs, LSS), forgotten together when the alarm table is emptied under
// them.
#pragma once

#include "canopen/node_context.h"

// Sets every alarm id the node holds to none, deleting nothing: for a table
// that has already been emptied, where a kept id would name a slot that a
// later alarm takes.
void forgetHeldAlarms(NodeContext *node);
