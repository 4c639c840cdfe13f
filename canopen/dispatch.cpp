// Routing of received frames by function code (cobId >> 7). Each row names
// the switch that must be on and the unit that takes the frame; frames of a
// switched-off unit or of a function code without a unit are dropped.
#include "canopen/dispatch.h"

#include "canopen/emcy.h"
#include "canopen/lifeguard.h"
#include "canopen/lss.h"
#include "canopen/nmt.h"
#include "canopen/pdo.h"
#include "canopen/sdo.h"
#include "canopen/sync.h"

namespace {

void toNmt(NodeContext *node, const CanMessage *frame)
{
    if (*node->isSlave == 1)
        processNmtCommand(node, frame);
}

void toSyncOrEmcy(NodeContext *node, const CanMessage *frame)
{
    if (frame->cobId == 0x080) {
        if (node->commSwitches.sync)
            processSync(node);
    } else if (node->commSwitches.emcy) {
        processEmcy(node, frame);
    }
}

void toPdo(NodeContext *node, const CanMessage *frame)
{
    if (node->commSwitches.pdo)
        processPdoFrame(node, frame);
}

void toSdo(NodeContext *node, const CanMessage *frame)
{
    if (node->commSwitches.sdo)
        processSdoFrame(node, frame);
}

void toNodeGuard(NodeContext *node, const CanMessage *frame)
{
    if (node->commSwitches.lifeGuard)
        processNodeGuard(node, frame);
}

void toLss(NodeContext *node, const CanMessage *frame)
{
    if (!node->commSwitches.lss)
        return;
    if (frame->cobId == 0x7E5 && *node->isSlave == 1)
        processLssRequest(node, frame);
    else if (frame->cobId == 0x7E4 && *node->isSlave == 0)
        processLssAnswer(node, frame);
}

using FrameHandler = void (*)(NodeContext *, const CanMessage *);

// Indexed by function code 0 to 15; null drops the frame.
const FrameHandler handlers[16] = {
    toNmt,        // 0   NMT commands (slave only)
    toSyncOrEmcy, // 1   SYNC (0x080), EMCY (0x081..0x0FF)
    nullptr,      // 2   time stamp: not handled
    toPdo,        // 3   TPDO1
    toPdo,        // 4   RPDO1
    toPdo,        // 5   TPDO2
    toPdo,        // 6   RPDO2
    toPdo,        // 7   TPDO3
    toPdo,        // 8   RPDO3
    toPdo,        // 9   TPDO4
    toPdo,        // 10  RPDO4
    toSdo,        // 11  SDO server to client
    toSdo,        // 12  SDO client to server
    nullptr,      // 13  unused
    toNodeGuard,  // 14  boot-up, heartbeat, node guarding
    toLss,        // 15  LSS (0x7E4, 0x7E5)
};

} // namespace

void dispatchCanMessage(NodeContext *node, const CanMessage *frame)
{
    const unsigned functionCode = frame->cobId >> 7;
    if (functionCode >= 16)
        return;
    if (handlers[functionCode] != nullptr)
        handlers[functionCode](node, frame);
}
