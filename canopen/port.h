// Port layer: the 16 port slots, each with a receive thread that dispatches
// incoming frames under the stack lock, and sending through the bound driver.
#pragma once

#include "canopen/can_driver.h"
#include "canopen/can_message.h"
#include "canopen/node_context.h"

#include <atomic>
#include <cstdint>
#include <thread>

struct CanPortSlot {
    std::atomic<uint8_t> inUse{0};
    CanHandle handle = nullptr;
    std::thread receiveThread;
    NodeContext *node = nullptr;
};

extern CanPortSlot canPortSlots[kCanPortSlots];

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

// The unit's no-op: does nothing and returns 0. Nothing in the program
// calls it; it stays part of the port interface.
uint8_t idleCanPort(CanPortSlot *port);
