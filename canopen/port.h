// Port and driver layer: the table of five driver functions through which
// every frame leaves and arrives, and the 16 port slots, each with a receive
// thread that dispatches incoming frames under the stack lock.
#pragma once

#include "can_message.h"
#include "node_context.h"

#include <atomic>
#include <cstdint>
#include <thread>

// The two texts with which a port is opened: the serial device (a name
// under /dev, or an absolute path) and the serial line rate in decimal.
struct BoardSpec {
    const char *busName;
    const char *baudRate;
};

// Opaque driver handle; null means failure.
using CanHandle = void *;

constexpr int kCanPortSlots = 16;
// Size of the frame array handed to a driver's receive.
constexpr int kCanReceiveBatch = 201;

struct CanDriver {
    uint8_t (*receive)(CanHandle handle, CanMessage *frames); // frames stored
    uint8_t (*send)(CanHandle handle, const CanMessage *frame); // 0 = queued
    CanHandle (*open)(const BoardSpec *spec);                   // null = failure
    int (*close)(CanHandle handle);                             // 1 = closed cleanly
    uint8_t (*changeBaudRate)(CanHandle handle, const char *rate); // 0 = success
};

// Connection-error flag: 1 after a failed adapter write, 0 after a completed
// one. Written by the driver's writer thread, read and cleared on connect by
// the device-access layer.
extern std::atomic<int> canLinkError;

// Process-wide driver table, empty until bindCanDriver. Tests may bind a fake.
extern CanDriver canDriver;

struct CanPortSlot {
    std::atomic<uint8_t> inUse{0};
    CanHandle handle = nullptr;
    std::thread receiveThread;
    NodeContext *node = nullptr;
};

extern CanPortSlot canPortSlots[kCanPortSlots];

// Binds the serial adapter driver; returns 1.
int bindCanDriver();

// Opens a port for the node (closing its old one first) and starts its receive
// thread. Null when every slot is taken or the driver cannot open the board.
CanPortSlot *openCanPort(const BoardSpec *spec, NodeContext *node);

// Closes the node's port and joins its receive thread; the driver close's
// result, 0 when the node has no port.
int closeCanPort(NodeContext *node);

// 1 when port is null, else the driver's result (0 = success).
uint8_t changeCanBaudRate(CanPortSlot *port, const char *rate);

// 1 when port is null or no send is bound, else the driver's result (0 = queued).
uint8_t canSend(CanPortSlot *port, const CanMessage *frame);

// Does nothing and returns 0.
int portNoOperation();
