#include "stack_test_bench.h"

#include "canopen/alarm.h"
#include "canopen/sdo.h"
#include "canopen/stack_clock.h"
#include "canopen/stack_timer.h"

void StackTestBench::setUp(NodeContext &node, CanPortSlot &port, uint32_t (*clock)())
{
    savedDriver = canDriver;
    for (AlarmSlot &slot : alarmSlots)
        slot = AlarmSlot{};
    highestAlarm = -1;
    nextWakeUp = kTimerNotArmed;
    setStackClock(clock);
    initStackTimers();
    port.handle = &port;
    port.node = &node;
    node.port = &port;
}

void StackTestBench::tearDown(NodeContext &node)
{
    resetSdo(&node);
    canDriver = savedDriver;
    setStackClock(nullptr);
}
