// Driver for the serial USB-CAN adapter: the five driver-table functions of
// the port layer, over a serial device speaking ASCII lines (can_line.h).
// Frames leave through a writer thread, one per open port, in the order queued.
#pragma once

#include "canopen/can_driver.h"
#include "canopen/can_message.h"

#include <cstdint>

// Opens the serial device (busName beginning with "/" is a path, any other
// name is looked up under /dev), sets 8N1 at the baudRate line rate and
// opens the CAN channel with "O". Null on failure.
CanHandle serialCanOpen(const BoardSpec *spec);

// Sends "C", stops the writer (frames still queued are dropped) and closes
// the device. 1 when "C" was written, 0 otherwise.
int serialCanClose(CanHandle handle);

// Sends "S" with the first character of rate. 0 on success, 1 on failure.
uint8_t serialCanChangeBaudRate(CanHandle handle, const char *rate);

// Queues one data frame for the writer; 0 queued, 1 for len above 8, a
// closed port or a remote request (the adapter's lines carry data frames
// only, and a remote request sent as data would be a different message).
uint8_t serialCanSend(CanHandle handle, const CanMessage *frame);

// Waits up to 500 ms for input and stores the complete frames received
// (up to kCanReceiveBatch); 0 when nothing complete arrived.
uint8_t serialCanReceive(CanHandle handle, CanMessage *frames);

// Adapter bit-rate code table ('0' 16, '1' 32, '2' 80, '3' 160, '4' 72,
// '5' 144, '6' 32, '7' 0, '8' 64, other 0).
uint8_t rateCodeToByte(char rate);
