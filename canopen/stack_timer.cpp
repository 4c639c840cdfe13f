// The timer loop: the waitable timer's thread runs the alarm table on each
// expiry, and the loop's start and exit functions run as the node's first and
// last protocol code.
#include "canopen/stack_timer.h"

#include "canopen/alarm.h"
#include "canopen/held_alarms.h"
#include "canopen/stack_clock.h"
#include "canopen/stack_lock.h"

namespace {

bool loopRunning = false; // stack lock

// Empties the alarm table after the timer thread has ended (stack lock held).
void dropAlarms()
{
    NodeContext *holders[kAlarmSlots];
    int holderCount = 0;
    for (int i = 0; i <= highestAlarm; ++i) {
        AlarmSlot &slot = alarmSlots[i];
        if (slot.state != AlarmState::Free && slot.node != nullptr) {
            bool known = false;
            for (int k = 0; k < holderCount; ++k)
                known = known || holders[k] == slot.node;
            if (!known)
                holders[holderCount++] = slot.node;
        }
        slot.state = AlarmState::Free;
    }
    highestAlarm = -1;
    nextWakeUp = kTimerNotArmed;
    setStackTimer(kTimerNotArmed);
    // A service that kept one of these ids would otherwise delete, later, an
    // alarm that has taken the slot since.
    for (int k = 0; k < holderCount; ++k)
        forgetHeldAlarms(holders[k]);
}

} // namespace

void initStackTimers()
{
    StackLockGuard guard;
    lastWake = stackTickMs();
}

void runStackTimerWake()
{
    StackLockGuard guard;
    lastWake = stackTickMs();
    dispatchAlarms();
}

bool startStackTimerLoop(AlarmCallback start)
{
    {
        StackLockGuard guard;
        if (start != nullptr && setAlarm(nullptr, 0, start, 0, 0) == kNoAlarm)
            return false;
        loopRunning = true;
    }
    startWaitableTimerThread(runStackTimerWake);
    return true;
}

void stopStackTimerLoop(AlarmCallback exit)
{
    {
        StackLockGuard guard;
        loopRunning = false;
        if (exit != nullptr)
            exit(nullptr, 0);
    }
    stopWaitableTimerThread();
    StackLockGuard guard;
    dropAlarms();
}

bool isStackTimerLoopRunning()
{
    return loopRunning;
}
