// The stack's timer loop: the timer thread wakes when the waitable timer
// expires and runs the due software alarms under the stack lock.
#pragma once

#include "canopen/node_context.h"
#include "canopen/waitable_timer.h"

// lastWake := now; the lock needs no creation step.
void initStackTimers();

// Posts start(null, 0) as a zero-delay alarm and starts the timer thread.
void startStackTimerLoop(AlarmCallback start);

// Runs exit(null, 0) under the stack lock, then wakes and joins the timer thread.
void stopStackTimerLoop(AlarmCallback exit);

// What the timer thread does on each wake-up: under the stack lock,
// lastWake := now and the due alarms run. Tests that drive the clock call it.
void runStackTimerWake();
