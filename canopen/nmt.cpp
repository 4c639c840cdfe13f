// The local node's NMT state machine. Each state asks for a set of
// communication objects; entering it switches them and calls its hook.
#include "canopen/nmt.h"

#include "canopen/emcy.h"
#include "canopen/lss.h"
#include "canopen/pdo.h"
#include "canopen/port.h"
#include "canopen/sdo.h"

namespace {

// Switches per state (bootUp, sdo, emcy, sync, lifeGuard, pdo, lss).
constexpr CommSwitches kInitialisationSwitches = {1, 0, 0, 0, 0, 0, 0};
constexpr CommSwitches kPreOperationalSwitches = {0, 1, 1, 1, 1, 0, 1};
constexpr CommSwitches kOperationalSwitches = {0, 1, 1, 1, 1, 1, 0};
constexpr CommSwitches kStoppedSwitches = {0, 0, 0, 0, 1, 0, 1};

void callHook(NodeHook hook, NodeContext *node)
{
    if (hook != nullptr)
        hook(node);
}

uint32_t enter(NodeContext *node, uint32_t state, const CommSwitches &switches, NodeHook hook)
{
    node->nmtState = state;
    switchCommObjects(node, &switches);
    callHook(hook, node);
    return state;
}

// Rewrites a default COB-ID to the new node id when it still holds the
// default for the old one (or the old id is unset).
void moveCobId(uint32_t *cobId, uint32_t base, uint8_t oldId, uint8_t newId)
{
    if (cobId == nullptr)
        return;
    if (oldId == kNoNodeId || *cobId == base + oldId)
        *cobId = base + newId;
}

uint32_t *subValue(NodeContext *node, uint16_t row, uint8_t subIndex)
{
    const OdIndexEntry &entry = node->objectDictionary[row];
    if (subIndex >= entry.count || entry.subEntries[subIndex].size != 4)
        return nullptr;
    return static_cast<uint32_t *>(entry.subEntries[subIndex].value);
}

// Moves subentry 1 of up to four rows of a PDO communication range.
void movePdoCobIds(NodeContext *node, int range, const uint32_t (&bases)[4], uint8_t oldId, uint8_t newId)
{
    const uint16_t first = node->firstIndex[range];
    if (first == 0)
        return;
    const uint16_t last = node->lastIndex[range];
    for (int i = 0; i < 4 && first + i <= last; ++i)
        moveCobId(subValue(node, static_cast<uint16_t>(first + i), 1), bases[i], oldId, newId);
}

} // namespace

uint32_t setNodeState(NodeContext *node, uint32_t state)
{
    if (state == node->nmtState)
        return state;
    switch (state) {
    case NmtState::Initialisation:
        enter(node, NmtState::Initialisation, kInitialisationSwitches, node->onInitialisation);
        return enter(node, NmtState::PreOperational, kPreOperationalSwitches, node->onPreOperational);
    case NmtState::PreOperational:
        return enter(node, NmtState::PreOperational, kPreOperationalSwitches, node->onPreOperational);
    case NmtState::Operational:
        if (node->nmtState == NmtState::Initialisation)
            return kNmtRefused;
        return enter(node, NmtState::Operational, kOperationalSwitches, node->onOperational);
    case NmtState::Stopped:
        if (node->nmtState == NmtState::Initialisation)
            return kNmtRefused;
        return enter(node, NmtState::Stopped, kStoppedSwitches, node->onStopped);
    default:
        return kNmtRefused;
    }
}

uint32_t getNodeState(NodeContext *node)
{
    return node->nmtState;
}

void switchCommObjects(NodeContext *node, const CommSwitches *wanted)
{
    CommSwitches &on = node->commSwitches;
    if (wanted->lss != on.lss) {
        on.lss = wanted->lss;
        if (on.lss)
            startLss(node);
        else
            stopLss(node);
    }
    if (wanted->sdo != on.sdo) {
        on.sdo = wanted->sdo;
        if (!on.sdo)
            resetSdo(node);
    }
    if (wanted->emcy != on.emcy) {
        on.emcy = wanted->emcy;
        if (on.emcy)
            startEmcy(node);
        else
            stopEmcy(node);
    }
    if (wanted->pdo != on.pdo) {
        on.pdo = wanted->pdo;
        if (on.pdo)
            startPdo(node);
        else
            stopPdo(node);
    }
    if (wanted->bootUp != on.bootUp) {
        on.bootUp = wanted->bootUp;
        if (!on.bootUp)
            sendBootUp(node);
    }
    // sync and lifeGuard are left as they are: those units are never started.
}

void setNodeId(NodeContext *node, uint8_t nodeId)
{
    node->lastNodeId = nodeId;
    if (nodeId == kNoNodeId) {
        *node->nodeId = kNoNodeId;
        return;
    }
    if (nodeId == 0 || nodeId > 127)
        return;
    const uint8_t oldId = *node->nodeId;

    const uint16_t server = node->firstIndex[OdRange::SdoServer];
    if (server != 0) {
        moveCobId(subValue(node, server, 1), 0x600, oldId, nodeId);
        moveCobId(subValue(node, server, 2), 0x580, oldId, nodeId);
    }
    movePdoCobIds(node, OdRange::RpdoComm, {0x200, 0x300, 0x400, 0x500}, oldId, nodeId);
    movePdoCobIds(node, OdRange::TpdoComm, {0x180, 0x280, 0x380, 0x480}, oldId, nodeId);
    moveCobId(node->emcyCobId, 0x080, oldId, nodeId);
    *node->nodeId = nodeId;
}

uint8_t getNodeId(NodeContext *node)
{
    return *node->nodeId;
}

uint8_t sendNmtCommand(NodeContext *node, uint8_t nodeId, uint8_t command)
{
    CanMessage frame = {0x000, 0, 2, {command, nodeId, 0, 0, 0, 0, 0, 0}};
    return canSend(node->port, &frame);
}

uint8_t sendBootUp(NodeContext *node)
{
    const uint8_t id = *node->nodeId;
    if (id == kNoNodeId)
        return 0;
    CanMessage frame = {static_cast<uint16_t>(0x700 + id), 0, 1, {0, 0, 0, 0, 0, 0, 0, 0}};
    return canSend(node->port, &frame);
}

uint8_t requestNodeGuard(NodeContext *node, uint8_t nodeId)
{
    CanMessage frame = {static_cast<uint16_t>(0x700 + nodeId), 1, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
    const uint8_t result = canSend(node->port, &frame);
    // Only a request that left can bring a new answer; a refused one (the adapter
    // carries no remote frames) leaves the known states as they are.
    if (result != 0)
        return result;
    if (nodeId == 0)
        node->remoteNodeState.fill(NmtState::Unknown);
    else if (nodeId < kNodeIdCount)
        node->remoteNodeState[nodeId] = NmtState::Unknown;
    return result;
}

void processNmtCommand(NodeContext *node, const CanMessage *frame)
{
    const uint32_t state = node->nmtState;
    if (state != NmtState::Stopped && state != NmtState::Operational && state != NmtState::PreOperational)
        return;
    if (frame->len < 2)
        return;
    if (frame->data[1] != 0 && frame->data[1] != *node->nodeId)
        return;
    switch (frame->data[0]) {
    case 1: // start
        if (state == NmtState::PreOperational || state == NmtState::Stopped)
            setNodeState(node, NmtState::Operational);
        break;
    case 2: // stop
        if (state == NmtState::Operational || state == NmtState::PreOperational)
            setNodeState(node, NmtState::Stopped);
        break;
    case 128: // enter pre-operational
        if (state == NmtState::Stopped || state == NmtState::Operational)
            setNodeState(node, NmtState::PreOperational);
        break;
    case 129: // reset node
        callHook(node->onNmtResetNode, node);
        setNodeState(node, NmtState::Initialisation);
        break;
    case 130: // reset communication
        callHook(node->onNmtResetComm, node);
        *node->nodeId = kNoNodeId;
        setNodeId(node, node->lastNodeId);
        setNodeState(node, NmtState::Initialisation);
        break;
    default:
        break;
    }
}
