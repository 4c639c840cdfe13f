// The stack's timer loop: the timer thread wakes when the waitable timer
// expires and runs the due software alarms under the stack lock.
#pragma once

#include "canopen/node_context.h"
#include "canopen/waitable_timer.h"

// lastWake := now; the lock needs no creation step.
void initStackTimers();

// Posts start(null, 0) as a zero-delay alarm and starts the timer thread.
// False, with nothing started, when the alarm table has no room for the start.
bool startStackTimerLoop(AlarmCallback start);

// Runs exit(null, 0) under the stack lock, then wakes and joins the timer
// thread. Whatever is still in the alarm table then goes with the loop, and
// the nodes whose alarms went forget their ids: the next start begins with a
// free table, and nothing queued for the old loop runs, late, in the new one.
void stopStackTimerLoop(AlarmCallback exit);

// True from a successful start until the stop; work posted outside that time
// would never run. Caller holds the stack lock.
bool isStackTimerLoopRunning();

// What the timer thread does on each wake-up: under the stack lock,
// lastWake := now and the due alarms run. Tests that drive the clock call it.
void runStackTimerWake();
