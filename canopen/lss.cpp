// Layer setting services. Not built yet: the master never sends an LSS
// request, so every answer it could see is unsolicited and refused.
#include "lss.h"

void startLss(NodeContext *)
{
}

void stopLss(NodeContext *)
{
}

int processLssAnswer(NodeContext *, const CanMessage *)
{
    return -1;
}

int processLssRequest(NodeContext *, const CanMessage *)
{
    return -1;
}
