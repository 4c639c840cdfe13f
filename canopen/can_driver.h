// The driver interface: the table of five functions through which every frame
// leaves and arrives, the texts a port is opened with, and the link-error flag
// a driver keeps. The port layer calls a driver only through this table; a
// driver needs nothing of the port layer.
#pragma once

#include "canopen/can_message.h"

#include <atomic>
#include <cstdint>

// The two texts with which a port is opened: the serial device (a name
// under /dev, or an absolute path) and the serial line rate in decimal.
struct BoardSpec {
    const char *busName;
    const char *baudRate;
};

// Opaque driver handle; null means failure.
using CanHandle = void *;

constexpr int kCanPortSlots = 16;
// Size of the frame array handed to a driver's receive: room for every
// frame one read of the adapter can hold (a 1000-byte read of the shortest
// frame line, 5 bytes, is 200 frames, and one more begun in the read before).
constexpr int kCanReceiveBatch = 201;

struct CanDriver {
    uint8_t (*receive)(CanHandle handle, CanMessage *frames); // frames stored
    uint8_t (*send)(CanHandle handle, const CanMessage *frame); // 0 = queued
    CanHandle (*open)(const BoardSpec *spec);                   // null = failure
    int (*close)(CanHandle handle);                             // 1 = closed cleanly
    uint8_t (*changeBaudRate)(CanHandle handle, const char *rate); // 0 = success
};

// Process-wide driver table, empty until bindCanDriver. Tests may bind a fake.
extern CanDriver canDriver;

// Binds the serial adapter driver; returns 1. Defined with the adapter.
int bindCanDriver();

// Connection-error flag: 1 after a failed adapter write, 0 after a completed
// one. Written by the driver's writer thread, read and cleared on connect by
// the device-access layer.
extern std::atomic<int> canLinkError;
