// Millisecond tick of the stack from CLOCK_MONOTONIC, replaceable by tests.
#include "canopen/stack_clock.h"

#include <atomic>
#include <ctime>

namespace {
uint32_t monotonicMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint32_t>(static_cast<uint64_t>(ts.tv_sec) * 1000u +
                                 static_cast<uint64_t>(ts.tv_nsec) / 1000000u);
}

std::atomic<uint32_t (*)()> clockSource{nullptr};
} // namespace

uint32_t stackTickMs()
{
    uint32_t (*clock)() = clockSource.load();
    return clock != nullptr ? clock() : monotonicMs();
}

void setStackClock(uint32_t (*clock)())
{
    clockSource.store(clock);
}
