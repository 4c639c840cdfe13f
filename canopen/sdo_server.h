// The SDO server for the local dictionary: the handling of a client's frame
// on one of the node's server channels. Internal to the SDO unit.
#pragma once

#include "canopen/sdo_line.h"

void processSdoServerFrame(const SdoExchange &exchange);
