// The alarm id that names no alarm: what setAlarm returns when every slot is taken,
// deleteAlarm returns, and every alarm field holds while its alarm is not set.
#pragma once

#include <cstdint>

constexpr int16_t kNoAlarm = -1;
