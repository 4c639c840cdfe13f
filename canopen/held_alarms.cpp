// Every place of a node record that holds an alarm id.
#include "canopen/held_alarms.h"

#include "canopen/pdo.h"

void forgetHeldAlarms(NodeContext *node)
{
    for (SdoTransferLine &line : node->sdoLines)
        line.alarmId = kNoAlarm;
    if (node->consumerHeartbeatAlarms != nullptr && node->consumerHeartbeatCount != nullptr) {
        for (uint8_t i = 0; i < *node->consumerHeartbeatCount; ++i)
            node->consumerHeartbeatAlarms[i] = kNoAlarm;
    }
    node->producerHeartbeatAlarm = kNoAlarm;
    node->guardAlarm = kNoAlarm;
    node->syncAlarm = kNoAlarm;
    node->lssTimeoutAlarm = kNoAlarm;
    node->lssSwitchAlarm = kNoAlarm;
    if (node->firstIndex == nullptr || node->lastIndex == nullptr)
        return; // no PDO ranges to count
    if (node->pdoStatus != nullptr) {
        for (uint32_t n = 0, count = tpdoCount(node); n < count; ++n) {
            node->pdoStatus[n].eventAlarm = kNoAlarm;
            node->pdoStatus[n].inhibitAlarm = kNoAlarm;
        }
    }
    if (node->rpdoEventAlarms != nullptr) {
        for (uint32_t n = 0, count = rpdoCount(node); n < count; ++n)
            node->rpdoEventAlarms[n] = kNoAlarm;
    }
}
