// Process data objects. Not built yet: the unit is idle in this system (the
// master never becomes operational), so received PDOs are ignored for now.
#include "pdo.h"

void startPdo(NodeContext *)
{
}

void stopPdo(NodeContext *)
{
}

uint8_t processPdoFrame(NodeContext *, const CanMessage *)
{
    return 255;
}
