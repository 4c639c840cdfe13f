// The stack's timer thread: it sleeps until the deadline that setStackTimer
// arms, then dispatches the software alarms under the stack lock.
#pragma once

#include "canopen/node_context.h"

#include <cstdint>

constexpr uint32_t kTimerNotArmed = 0xFFFFFFFF;

// Tick (ms) at which the timer thread last woke or the timers were initialised.
extern uint32_t lastWake;
// Interval (ms from lastWake) for which the timer is armed; kTimerNotArmed when not.
extern uint32_t nextWakeUp;

// lastWake := now; the lock needs no creation step.
void initStackTimers();

// Posts start(null, 0) as a zero-delay alarm and starts the timer thread.
void startStackTimerLoop(AlarmCallback start);

// Runs exit(null, 0) under the stack lock, then wakes and joins the timer thread.
void stopStackTimerLoop(AlarmCallback exit);

// Arms the timer once for ms from now; kTimerNotArmed cancels it.
void setStackTimer(uint32_t ms);

// ms since lastWake.
uint32_t getElapsedTime();

// What the timer thread does on each wake-up: under the stack lock,
// lastWake := now and the due alarms run. Tests that drive the clock call it.
void runStackTimerWake();
