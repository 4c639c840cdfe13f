// Small POSIX layer for the adapter's serial device: opening a tty in raw
// 8N1 mode at a given line rate, and writing with an upper time bound.
#pragma once

#include <cstddef>
#include <string>

// Device path for a bus name: a name beginning with "/" is the path itself,
// any other is looked up under /dev ("ttyUSB0" gives "/dev/ttyUSB0").
std::string serialDevicePath(const char *busName);

// termios speed constant for a decimal line rate text ("2400", "115200"),
// or 0 when the text is not a standard rate.
unsigned serialSpeedFor(const char *rate);

enum class SerialOpenError { None, Open, GetSettings, SetSettings };

// Opens the device non-blocking and exclusive, raw 8N1 at speed, without
// flow control. Returns the descriptor, or -1 with the failing step in *error.
int openSerialDevice(const std::string &path, unsigned speed, SerialOpenError *error);

// Writes all bytes, waiting for the device at most timeoutMs in total.
// *pending is set when the device was not ready at once.
bool writeSerial(int fd, const char *bytes, std::size_t count, int timeoutMs, bool *pending = nullptr);
