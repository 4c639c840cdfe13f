// The stack's one clock: milliseconds from a monotonic source, wrapping at
// 2^32. Tests of the alarm table may drive it instead.
#pragma once

#include <cstdint>

uint32_t stackTickMs();

// Replaces the clock; null restores the monotonic clock. For tests.
void setStackClock(uint32_t (*clock)());
