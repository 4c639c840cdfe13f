// The waitable timer as a deadline guarded by a mutex and a condition
// variable: setStackTimer arms or cancels it, the thread sleeps until it
// passes (or until it is told to stop) and then calls its expiry routine.
#include "canopen/waitable_timer.h"

#include "canopen/port_thread.h"
#include "canopen/stack_clock.h"

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
void (*expiryRoutine)() = nullptr;
std::thread timerThread;

void waitableTimerThread(void *)
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
        void (*const onExpiry)() = expiryRoutine;
        lock.unlock();
        onExpiry();
        lock.lock();
    }
}

} // namespace

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

void startWaitableTimerThread(void (*onExpiry)())
{
    {
        std::lock_guard<std::mutex> lock(timerMutex);
        timerStop = false;
        expiryRoutine = onExpiry;
    }
    if (!timerThread.joinable())
        startPortThread(&timerThread, waitableTimerThread, nullptr);
}

void stopWaitableTimerThread()
{
    {
        std::lock_guard<std::mutex> lock(timerMutex);
        timerStop = true;
        // Armed to expire at once, which also wakes the thread; a loop started
        // again then makes its first wake-up at once.
        timerArmed = true;
        timerDeadline = Clock::now();
    }
    timerWake.notify_all();
    stopPortThread(&timerThread);
}
