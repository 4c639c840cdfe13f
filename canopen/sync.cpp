// SYNC object. The producer runs on one periodic alarm whose period follows
// object 0x1006; a write to 0x1005 or 0x1006 restarts it.
#include "canopen/sync.h"

#include "canopen/alarm.h"
#include "canopen/od.h"
#include "canopen/pdo.h"
#include "canopen/port.h"

uint32_t onSyncParamWritten(NodeContext *node, const OdIndexEntry *, uint8_t)
{
    startSync(node);
    return 0;
}

namespace {

void onSyncAlarm(NodeContext *node, uint32_t)
{
    produceSync(node);
}

void callHook(NodeHook hook, NodeContext *node)
{
    if (hook != nullptr)
        hook(node);
}

} // namespace

void startSync(NodeContext *node)
{
    node->syncAlarm = deleteAlarm(node->syncAlarm);
    registerOdWriteCallback(node, 0x1005, 0, onSyncParamWritten);
    registerOdWriteCallback(node, 0x1006, 0, onSyncParamWritten);
    const uint32_t periodUs = *node->syncPeriod;
    if (!(*node->syncCobId & kSyncProducer) || periodUs == 0)
        return;
    // A 0 ms period would make the alarm due on every wake-up and spin the
    // timer thread; the finest period the alarms keep is 1 ms.
    const uint32_t periodMs = periodUs < 1000 ? 1 : periodUs / 1000;
    node->syncAlarm = setAlarm(node, 0, onSyncAlarm, periodMs, periodMs);
}

void stopSync(NodeContext *node)
{
    registerOdWriteCallback(node, 0x1005, 0, nullptr);
    registerOdWriteCallback(node, 0x1006, 0, nullptr);
    node->syncAlarm = deleteAlarm(node->syncAlarm);
}

uint8_t sendSync(NodeContext *node)
{
    CanMessage frame{};
    frame.cobId = static_cast<uint16_t>(*node->syncCobId & 0x7FF);
    return canSend(node->port, &frame);
}

uint8_t produceSync(NodeContext *node)
{
    const uint8_t result = sendSync(node);
    processSync(node);
    return result;
}

void processSync(NodeContext *node)
{
    callHook(node->onPostSync, node);
    if (!node->commSwitches.pdo)
        return;
    processPdoCycle(node, 1);
    callHook(node->onPostTpdo, node);
}
