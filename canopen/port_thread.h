// The stack's threads (receive, timer, adapter writer). A thread is stopped
// by waking it through its own condition and joining it; it is never
// terminated, so it can never leave the stack lock held.
#pragma once

#include <thread>

using PortThreadRoutine = void (*)(void *argument);

// Starts routine(argument) in a new thread kept in *holder.
void startPortThread(std::thread *holder, PortThreadRoutine routine, void *argument);

// Joins the thread in *holder (the caller has already asked it to end and
// woken it); does nothing when none runs or when called from that thread.
void stopPortThread(std::thread *holder);
