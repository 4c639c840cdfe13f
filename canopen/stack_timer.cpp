// The timer loop: the waitable timer's thread runs the alarm table on each
// expiry, and the loop's start and exit functions run as the node's first and
// last protocol code.
#include "canopen/stack_timer.h"

#include "canopen/alarm.h"
#include "canopen/stack_clock.h"
#include "canopen/stack_lock.h"

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

void startStackTimerLoop(AlarmCallback start)
{
    {
        StackLockGuard guard;
        setAlarm(nullptr, 0, start, 0, 0);
    }
    startWaitableTimerThread(runStackTimerWake);
}

void stopStackTimerLoop(AlarmCallback exit)
{
    {
        StackLockGuard guard;
        if (exit != nullptr)
            exit(nullptr, 0);
    }
    stopWaitableTimerThread();
}
