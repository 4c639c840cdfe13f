// SYNC object. Not built yet: the sync switch is never applied in this
// system, so nothing reaches it for now.
#include "sync.h"

void startSync(NodeContext *)
{
}

void stopSync(NodeContext *)
{
}

void processSync(NodeContext *)
{
}
