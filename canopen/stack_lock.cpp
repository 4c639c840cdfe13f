// The stack lock, a process-wide recursive mutex that exists from start-up
// to exit, so it needs no creation step and can never be used uncreated.
#include "canopen/stack_lock.h"

#include <mutex>

namespace {
std::recursive_mutex &stackMutex()
{
    static std::recursive_mutex mutex;
    return mutex;
}
} // namespace

void enterStackLock()
{
    stackMutex().lock();
}

void leaveStackLock()
{
    stackMutex().unlock();
}

void deleteStackLock()
{
}
