// The timer thread. The waitable timer is a deadline guarded by a mutex and a
// condition variable: setStackTimer arms or cancels it, the thread sleeps
// until it passes (or until it is told to stop) and then runs the alarms.
#include "canopen/stack_timer.h"

#include "canopen/alarm.h"
#include "canopen/port_thread.h"
#include "canopen/stack_clock.h"
#include "canopen/stack_lock.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

uint32_t lastWake = 0;
uint32_t nextWakeUp = kTimerNotArmed;

namespace {

using Clock = std::chrono::steady_clock;

std::mutex timerMutex;
std::condition_variable timerWake;
bool timerArmed = false;
Clock::time_point timerDeadline;
bool timerStop = false;
std::thread timerThread;

void stackTimerThread(void *)
{
    std::unique_lock<std::mutex> lock(timerMutex);
    while (!timerStop) {
        if (!timerArmed)
            timerWake.wait(lock);
        else if (Clock::now() < timerDeadline)
            timerWake.wait_until(lock, timerDeadline);
        if (timerStop)
            break;
        if (!timerArmed || Clock::now() < timerDeadline)
            continue; // spurious, cancelled or re-armed later
        timerArmed = false; // auto-reset: one expiry, one wake-up
        lock.unlock();
        runStackTimerWake();
        lock.lock();
    }
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

void startStackTimerLoop(AlarmCallback start)
{
    {
        std::lock_guard<std::mutex> lock(timerMutex);
        timerStop = false;
    }
    {
        StackLockGuard guard;
        setAlarm(nullptr, 0, start, 0, 0);
    }
    if (!timerThread.joinable())
        startPortThread(&timerThread, stackTimerThread, nullptr);
}

void stopStackTimerLoop(AlarmCallback exit)
{
    {
        StackLockGuard guard;
        if (exit != nullptr)
            exit(nullptr, 0);
    }
    {
        std::lock_guard<std::mutex> lock(timerMutex);
        timerStop = true;
        timerArmed = true;
        timerDeadline = Clock::now();
    }
    timerWake.notify_all();
    stopPortThread(&timerThread);
}

void setStackTimer(uint32_t ms)
{
    {
        std::lock_guard<std::mutex> lock(timerMutex);
        if (ms == kTimerNotArmed) {
            timerArmed = false;
        } else {
            timerArmed = true;
            timerDeadline = Clock::now() + std::chrono::milliseconds(ms);
        }
    }
    timerWake.notify_all();
}

uint32_t getElapsedTime()
{
    return stackTickMs() - lastWake;
}
