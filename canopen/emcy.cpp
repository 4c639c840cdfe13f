// Emergency object. Not built yet: nothing raises an error in this system and
// the master's emergency hook is empty, so received frames are ignored for now.
#include "emcy.h"

void startEmcy(NodeContext *)
{
}

void stopEmcy(NodeContext *)
{
}

void processEmcy(NodeContext *, const CanMessage *)
{
}
