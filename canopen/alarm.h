// The 32 software alarms on which every time-out, period and deferred call
// of the stack rests. Callers hold the stack lock. An alarm id is a slot
// index; -1 means none.
#pragma once

#include "canopen/node_context.h"

#include <cstdint>

constexpr int kAlarmSlots = 32;

namespace AlarmState {
constexpr uint8_t Free = 0;
constexpr uint8_t Armed = 1;
constexpr uint8_t ExpiredOnce = 2;     // one-shot to be called
constexpr uint8_t ExpiredPeriodic = 3; // to be called and re-armed
} // namespace AlarmState

struct AlarmSlot {
    uint8_t state;
    NodeContext *node;
    AlarmCallback callback;
    uint32_t id;
    uint32_t due;    // ms from lastWake
    uint32_t period; // ms, 0 = one-shot
};

extern AlarmSlot alarmSlots[kAlarmSlots];
// Highest slot index in use, -1 when none.
extern int16_t highestAlarm;

// Takes the first free slot and arms it for delay ms (then every period ms
// when period is non-zero). -1 for a null callback or a full table.
int16_t setAlarm(NodeContext *node, uint32_t id, AlarmCallback callback, uint32_t delay, uint32_t period);

// Frees the slot; always returns -1 so that holders write it back.
int16_t deleteAlarm(int16_t alarm);

// Runs the due alarms in slot order and re-arms the timer (timer thread).
void dispatchAlarms();
