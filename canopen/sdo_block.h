// Block transfer, the two sides of it that both roles share: the sending side
// (client download, server upload) and the receiving side (client upload,
// server download). Results are SDO abort codes, 0 to go on.
#pragma once

#include "canopen/node_context.h"

#include <cstdint>

// Sending side. Queues the next block from offset: full segments of 7 bytes
// until blockSize segments are out, or the last segment with the last bit.
uint32_t sendSdoBlock(NodeContext *node, SdoTransferLine *line);
// A block acknowledgement {0xA2, seqNo, next block size}: sends the end frame
// when everything arrived, else the next block from the acknowledged segment.
uint32_t takeSdoBlockAck(NodeContext *node, SdoTransferLine *line, const uint8_t *bytes);

// Receiving side, blockUploadPhase 1: one segment of the current block.
uint32_t takeSdoBlockSegment(NodeContext *node, SdoTransferLine *line, const uint8_t *bytes);
// Receiving side, blockUploadPhase 2: the end frame adds the valid bytes of
// the last segment and must leave the announced size.
uint32_t takeSdoBlockEnd(SdoTransferLine *line, const uint8_t *bytes);
