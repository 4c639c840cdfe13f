// The one stack lock: all protocol state, the alarm table and the adapter's
// send path are touched only under it. Recursive for its owner thread, so
// protocol code may send frames through the driver while holding it.
#pragma once

void enterStackLock();
void leaveStackLock();

// Kept for symmetry with enterStackLock; the lock lives for the whole
// process, so this does nothing.
void deleteStackLock();

// RAII holder for code that needs the lock for a scope.
class StackLockGuard {
public:
    StackLockGuard() { enterStackLock(); }
    ~StackLockGuard() { leaveStackLock(); }
    StackLockGuard(const StackLockGuard &) = delete;
    StackLockGuard &operator=(const StackLockGuard &) = delete;
};
