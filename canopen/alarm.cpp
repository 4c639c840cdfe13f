// The software alarm table: 32 slots armed relative to the timer thread's
// last wake-up, dispatched in slot order by the timer thread.
#include "canopen/alarm.h"

#include "canopen/waitable_timer.h"

AlarmSlot alarmSlots[kAlarmSlots];
int16_t highestAlarm = -1;

int16_t setAlarm(NodeContext *node, uint32_t id, AlarmCallback callback, uint32_t delay, uint32_t period)
{
    if (callback == nullptr)
        return -1;
    int slot = -1;
    for (int i = 0; i <= highestAlarm + 1 && i < kAlarmSlots; ++i) {
        if (alarmSlots[i].state == AlarmState::Free) {
            slot = i;
            break;
        }
    }
    if (slot < 0)
        return -1;
    if (slot == highestAlarm + 1)
        highestAlarm = static_cast<int16_t>(slot);

    const uint32_t elapsed = getElapsedTime();
    if (nextWakeUp > elapsed && nextWakeUp - elapsed > delay) {
        // Expires before the armed wake-up: bring the wake-up forward.
        nextWakeUp = elapsed + delay;
        setStackTimer(delay);
    }
    // Otherwise the timer fires first (or is about to) and re-arms for it.
    alarmSlots[slot] = AlarmSlot{AlarmState::Armed, node, callback, id, elapsed + delay, period};
    return static_cast<int16_t>(slot);
}

int16_t deleteAlarm(int16_t alarm)
{
    if (alarm < 0 || alarm >= kAlarmSlots)
        return -1;
    // Every slot above highestAlarm is free, and lowering the bound onto a
    // slot always frees that slot, so a stale id cannot hide a live alarm.
    if (alarm == highestAlarm)
        --highestAlarm; // only by one: free slots below stay in the searched range
    alarmSlots[alarm].state = AlarmState::Free;
    return -1;
}

void dispatchAlarms()
{
    const uint32_t elapsed = getElapsedTime();
    const uint32_t slept = elapsed + nextWakeUp;
    uint32_t next = kTimerNotArmed;
    for (int i = 0; i <= highestAlarm; ++i) {
        AlarmSlot &a = alarmSlots[i];
        if (!(a.state & AlarmState::Armed))
            continue;
        if (a.due > slept) {
            a.due -= slept;
        } else if (a.period != 0) {
            a.state = AlarmState::ExpiredPeriodic;
            a.due = a.period - (elapsed % a.period);
        } else {
            a.state = AlarmState::ExpiredOnce;
            continue;
        }
        if (a.due < next)
            next = a.due;
    }
    nextWakeUp = next;
    setStackTimer(next);

    for (int i = 0; i <= highestAlarm; ++i) {
        AlarmSlot &a = alarmSlots[i];
        if (!(a.state & AlarmState::ExpiredOnce))
            continue;
        // One-shot slots are free and periodic ones armed again before the
        // callback runs, so it may set or delete alarms freely.
        a.state &= static_cast<uint8_t>(~AlarmState::ExpiredOnce);
        if (a.callback != nullptr)
            a.callback(a.node, a.id);
    }
}
