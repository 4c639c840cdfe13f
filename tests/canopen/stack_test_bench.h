// What every fake-driver test of the stack does around its cases: the driver table saved
// and given back, a fresh alarm table and timers on the test's own clock, a fake port
// attached to the node, and the node's SDO lines closed at the end.
#pragma once

#include "canopen/can_driver.h"
#include "canopen/node_context.h"
#include "canopen/port.h"

#include <cstdint>

class StackTestBench {
public:
    // Saves the driver table, clears every alarm and starts the stack timers on clock;
    // port becomes node's open port, its handle itself.
    void setUp(NodeContext &node, CanPortSlot &port, uint32_t (*clock)());
    // Closes node's SDO lines, gives the driver table and the real clock back.
    void tearDown(NodeContext &node);

private:
    CanDriver savedDriver{};
};
