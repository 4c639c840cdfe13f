// SDO transfer lines: placeholder bodies until the SDO unit lands.
#include "sdo.h"

int readRemoteEntry(NodeContext *, uint8_t, uint16_t, uint8_t, uint8_t, SdoCallback, uint8_t)
{
    return -1;
}

int writeRemoteEntry(NodeContext *, uint8_t, uint16_t, uint8_t, uint32_t, uint8_t, const void *, SdoCallback,
                     uint8_t)
{
    return -1;
}

uint32_t getReadResult(NodeContext *, uint8_t, void *, uint32_t *size, uint32_t *abortCode)
{
    *size = 0;
    *abortCode = 0;
    return kSdoNoClientLine;
}

uint32_t getWriteResult(NodeContext *, uint8_t, uint32_t *abortCode)
{
    *abortCode = 0;
    return kSdoNoClientLine;
}

uint32_t closeSdoTransfer(NodeContext *, uint8_t, uint8_t)
{
    return 0xFFFFFFFF;
}

void processSdoFrame(NodeContext *, const CanMessage *)
{
}

int abortSdo(NodeContext *, uint8_t, uint8_t, uint16_t, uint8_t, uint32_t)
{
    return 0;
}

void resetSdo(NodeContext *node)
{
    for (SdoTransferLine &line : node->sdoLines)
        line = SdoTransferLine();
}
