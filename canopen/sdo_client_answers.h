// The SDO client's handling of a server's frame on a client channel: one
// handler per line state and command specifier. Internal to the SDO unit.
#pragma once

#include "canopen/sdo_line.h"

void processSdoClientFrame(const SdoExchange &exchange);
