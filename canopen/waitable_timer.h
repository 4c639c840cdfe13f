// The stack's waitable timer: one deadline, armed relative to now, and the
// thread that waits for it. Below the alarm table, which arms it; the thread
// calls back whatever the timer loop gives it on each expiry.
#pragma once

#include <cstdint>

constexpr uint32_t kTimerNotArmed = 0xFFFFFFFF;

// Tick (ms) at which the timer thread last woke or the timers were initialised.
extern uint32_t lastWake;
// Interval (ms from lastWake) for which the timer is armed; kTimerNotArmed when not.
extern uint32_t nextWakeUp;

// Arms the timer once for ms from now; kTimerNotArmed cancels it.
void setStackTimer(uint32_t ms);

// ms since lastWake.
uint32_t getElapsedTime();

// Starts the thread that calls onExpiry (without any lock held) each time the
// armed deadline passes; does nothing when it runs already.
void startWaitableTimerThread(void (*onExpiry)());

// Wakes and joins the thread; the timer is left expired.
void stopWaitableTimerThread();
