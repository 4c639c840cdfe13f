// The parameter rows behind SDO channels (server rows 0x1200.., client rows
// 0x1280..): lookup by channel and by server node id, row values, and sending
// on a channel's COB-ID. Internal to the SDO unit.
#pragma once

#include "canopen/node_context.h"
#include "canopen/sdo.h"

#include <cstdint>

// Parameter row of that channel in the server or client range, null when the
// range is empty or the channel lies past its last row.
const OdIndexEntry *sdoParameterRow(const NodeContext *node, uint8_t role, uint8_t channel);
// Unsigned value of a row's subentry (0 when it does not exist).
uint32_t sdoRowValue(const OdIndexEntry *row, uint8_t subIndex);
void sdoSetRowValue(const OdIndexEntry *row, uint8_t subIndex, uint32_t value);
// Channel of the client row whose server node id (subentry 3) is nodeId: 0
// found; kSdoNoRowForNode past the last row; kSdoNoClientRows without client
// rows or at a row with fewer than 4 subentries.
int findSdoClientChannel(const NodeContext *node, uint8_t nodeId, uint8_t *channel);
// Copies the COB-IDs of the line's row, and for a client the server's node
// id, into the line; the transfer keeps them whatever later becomes of the row.
void takeSdoRowIdentity(const NodeContext *node, SdoTransferLine *line);

// Sends 8 bytes on cobId, only in NMT states 5 and 127 and only on a
// configured identifier (1 to 0x7FF). 0 sent.
uint8_t sendSdoOnCobId(NodeContext *node, uint32_t cobId, const uint8_t data[8]);
// Sends a frame on the line's own COB-ID. 0 sent.
uint8_t sendSdoLineFrame(NodeContext *node, const SdoTransferLine *line, const uint8_t data[8]);
// Sends {0x80, the line's index and subindex, code} on the line's own COB-ID. 0 sent.
uint8_t sendSdoLineAbort(NodeContext *node, const SdoTransferLine *line, uint32_t code);
// Sends {0x80, index, subindex, code} on that channel and role. 0 sent.
uint8_t sendSdoAbortFrame(NodeContext *node, uint8_t channel, uint8_t role, uint16_t index, uint8_t subIndex,
                          uint32_t code);
