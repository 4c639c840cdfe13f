// Heartbeat and node guarding. Each consumer entry has a one-shot alarm that
// every frame of its node restarts; the producer and the guard each run on a
// periodic alarm.
#include "canopen/lifeguard.h"

#include "canopen/alarm.h"
#include "canopen/od.h"
#include "canopen/port.h"

namespace {

constexpr uint8_t kGuardToggle = 0x80;

uint8_t consumerNode(uint32_t entry)
{
    return static_cast<uint8_t>(entry >> 16);
}

uint32_t consumerTime(uint32_t entry)
{
    return entry & 0xFFFF;
}

uint8_t ownId(const NodeContext *node)
{
    return *node->nodeId;
}

} // namespace

void onHeartbeatTimeout(NodeContext *node, uint32_t entry)
{
    if (entry >= *node->consumerHeartbeatCount)
        return;
    node->consumerHeartbeatAlarms[entry] = kNoAlarm;
    const uint8_t nodeId = consumerNode(node->consumerHeartbeatEntries[entry]);
    if (nodeId < kNodeIdCount)
        node->remoteNodeState[nodeId] = kRemoteNodeLost;
    if (node->onHeartbeatError != nullptr)
        node->onHeartbeatError(node, nodeId);
}

namespace {

void armConsumer(NodeContext *node, uint32_t entry)
{
    int16_t &alarm = node->consumerHeartbeatAlarms[entry];
    alarm = deleteAlarm(alarm);
    const uint32_t ms = consumerTime(node->consumerHeartbeatEntries[entry]);
    if (ms != 0)
        alarm = setAlarm(node, entry, onHeartbeatTimeout, ms, 0);
}

} // namespace

void produceHeartbeat(NodeContext *node, uint32_t)
{
    if (*node->producerHeartbeatTime == 0) {
        node->producerHeartbeatAlarm = deleteAlarm(node->producerHeartbeatAlarm);
        return;
    }
    CanMessage frame{};
    frame.cobId = static_cast<uint16_t>(0x700 + ownId(node));
    frame.len = 1;
    frame.data[0] = static_cast<uint8_t>(node->nmtState);
    canSend(node->port, &frame);
}

void guardNodes(NodeContext *node, uint32_t)
{
    if (*node->guardTime == 0) {
        node->guardAlarm = deleteAlarm(node->guardAlarm);
        return;
    }
    for (int id = 0; id < kNodeIdCount; ++id) {
        if (id == ownId(node) || node->remoteNodeState[id] == NmtState::Unknown)
            continue;
        if (node->lifeCount[id] == 0) {
            if (node->onNodeGuardError != nullptr)
                node->onNodeGuardError(node, static_cast<uint8_t>(id));
            node->remoteNodeState[id] = kRemoteNodeLost;
        }
        --node->lifeCount[id]; // from 0 on to 255: the next error a full life time later
        sendGuardRequest(node, static_cast<uint8_t>(id));
    }
}

uint32_t onHeartbeatParamWritten(NodeContext *node, const OdIndexEntry *, uint8_t)
{
    stopHeartbeat(node);
    startHeartbeat(node);
    return 0;
}

uint32_t onGuardParamWritten(NodeContext *node, const OdIndexEntry *, uint8_t)
{
    node->guardAlarm = deleteAlarm(node->guardAlarm);
    startGuarding(node);
    return 0;
}

namespace {

// The local node's answer to a guarding request: its state with the toggle.
void answerGuardRequest(NodeContext *node)
{
    CanMessage frame{};
    frame.cobId = static_cast<uint16_t>(0x700 + ownId(node));
    frame.len = 1;
    frame.data[0] = static_cast<uint8_t>(node->nmtState + node->ownGuardToggle);
    node->ownGuardToggle ^= kGuardToggle;
    canSend(node->port, &frame);
}

} // namespace

void startLifeGuard(NodeContext *node)
{
    startHeartbeat(node);
    startGuarding(node);
}

void stopLifeGuard(NodeContext *node)
{
    stopHeartbeat(node);
    stopGuarding(node);
}

void startHeartbeat(NodeContext *node)
{
    registerOdWriteCallback(node, 0x1017, 0, onHeartbeatParamWritten);
    node->ownGuardToggle = 0;
    const uint8_t count = *node->consumerHeartbeatCount;
    for (uint32_t i = 0; i < count; ++i)
        armConsumer(node, i);
    const uint16_t producerMs = *node->producerHeartbeatTime;
    node->producerHeartbeatAlarm = deleteAlarm(node->producerHeartbeatAlarm);
    if (producerMs != 0)
        node->producerHeartbeatAlarm = setAlarm(node, 0, produceHeartbeat, producerMs, producerMs);
}

void stopHeartbeat(NodeContext *node)
{
    const uint8_t count = *node->consumerHeartbeatCount;
    for (uint32_t i = 0; i < count; ++i)
        node->consumerHeartbeatAlarms[i] = deleteAlarm(node->consumerHeartbeatAlarms[i]);
    node->producerHeartbeatAlarm = deleteAlarm(node->producerHeartbeatAlarm);
}

void startGuarding(NodeContext *node)
{
    registerOdWriteCallback(node, 0x100C, 0, onGuardParamWritten);
    registerOdWriteCallback(node, 0x100D, 0, onGuardParamWritten);
    const uint16_t guardMs = *node->guardTime;
    const uint8_t factor = *node->lifeTimeFactor;
    if (guardMs == 0 || factor == 0)
        return;
    node->guardAlarm = deleteAlarm(node->guardAlarm);
    node->guardAlarm = setAlarm(node, 0, guardNodes, guardMs, guardMs);
    for (int id = 0; id < kNodeIdCount; ++id) {
        if (id != ownId(node) && node->remoteNodeState[id] != NmtState::Unknown)
            node->lifeCount[id] = factor;
    }
}

void stopGuarding(NodeContext *node)
{
    node->guardAlarm = deleteAlarm(node->guardAlarm);
}

void processNodeGuard(NodeContext *node, const CanMessage *frame)
{
    const uint8_t source = static_cast<uint8_t>(frame->cobId & 0x7F);
    if (frame->rtr) {
        if (source == ownId(node))
            answerGuardRequest(node);
        return;
    }
    if (frame->len < 1)
        return; // no state byte: not a heartbeat, boot-up or guarding answer
    const uint32_t state = frame->data[0] & 0x7Fu;
    node->lifeCount[source] = *node->lifeTimeFactor;
    if (state != node->remoteNodeState[source]) {
        if (node->onSlaveStateChange != nullptr)
            node->onSlaveStateChange(node, source, state);
        node->remoteNodeState[source] = state;
    }
    if (state == NmtState::Initialisation && node->onSlaveBootUp != nullptr)
        node->onSlaveBootUp(node, source);
    if (state == NmtState::Unknown)
        return;
    const uint8_t count = *node->consumerHeartbeatCount;
    for (uint32_t i = 0; i < count; ++i) {
        if (consumerNode(node->consumerHeartbeatEntries[i]) == source)
            armConsumer(node, i);
    }
}

uint32_t getRemoteNodeState(NodeContext *node, uint8_t nodeId)
{
    return nodeId >= kNodeIdCount ? NmtState::Unknown : node->remoteNodeState[nodeId];
}

uint8_t sendGuardRequest(NodeContext *node, uint8_t nodeId)
{
    CanMessage frame{};
    frame.cobId = static_cast<uint16_t>(0x700 + nodeId);
    frame.rtr = 1;
    return canSend(node->port, &frame);
}
