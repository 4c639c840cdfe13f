// Heartbeat and node guarding. Not built yet: the lifeGuard switch is never
// applied in this system, so nothing reaches it for now.
#include "lifeguard.h"

void startLifeGuard(NodeContext *)
{
}

void stopLifeGuard(NodeContext *)
{
}

void processNodeGuard(NodeContext *, const CanMessage *)
{
}
