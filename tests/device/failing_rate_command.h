// Switch for a test that needs the adapter's bit-rate command to fail: while it
// is on, writing a 3-byte line that starts with "S" fails with EIO.
#pragma once

#include <atomic>

extern std::atomic<bool> failRateCommand;
