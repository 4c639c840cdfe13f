// Shared machinery of the SDO client and server: the parameter row behind a
// line, taking and freeing lines, the 50 ms time-out, the line's byte buffer
// and the frames a line sends. Internal to the SDO unit.
#pragma once

#include "node_context.h"
#include "sdo.h"

#include <cstdint>

constexpr uint32_t kSdoTimeoutMs = 50;
constexpr uint32_t kSdoInlineSize = 32;        // bytes held in SdoTransferLine::data
constexpr uint32_t kSdoBufferStep = 0x20000;   // receive buffers grow by 128 KiB
constexpr uint32_t kSdoServerReadLimit = 0x20000; // largest entry the server reads
constexpr uint8_t kSdoBlockSegments = 16;      // segments per block we ask for
constexpr uint8_t kSdoBlockSizeLimit = 128;    // block sizes from this up are invalid

// Command bytes and masks of the first frame byte.
namespace SdoCmd {
constexpr uint8_t Abort = 0x80;
constexpr uint8_t ToggleBit = 0x10;
constexpr uint8_t LastSegmentBit = 0x01;
constexpr uint8_t ExpeditedBit = 0x02;
constexpr uint8_t SizeBit = 0x01;
constexpr uint8_t DownloadExpedited = 0x23; // + (4 - n) * 4
constexpr uint8_t DownloadSegmented = 0x21;
constexpr uint8_t UploadInitiate = 0x40;
constexpr uint8_t UploadSegmentRequest = 0x60; // + toggle * 16
constexpr uint8_t DownloadInitiateAck = 0x60;
constexpr uint8_t DownloadSegmentAck = 0x20; // + toggle * 16
constexpr uint8_t UploadExpedited = 0x43;    // + (4 - n) * 4
constexpr uint8_t UploadSegmented = 0x41;
constexpr uint8_t BlockDownloadInitiate = 0xC2;
constexpr uint8_t BlockEnd = 0xC1;           // + endEmptyCount * 4
constexpr uint8_t BlockUploadInitiate = 0xA0;
constexpr uint8_t BlockDownloadInitiateAck = 0xA0;
constexpr uint8_t BlockUploadInitiateAnswer = 0xC2;
constexpr uint8_t BlockUploadStart = 0xA3;
constexpr uint8_t BlockAck = 0xA2;
constexpr uint8_t BlockEndAck = 0xA1;
constexpr uint8_t BlockLastSegmentBit = 0x80;
constexpr uint8_t BlockCrcBit = 0x04;
} // namespace SdoCmd

// One received frame on a line, as the handler tables see it. line is null
// when no transfer of that channel and role is in progress.
struct SdoExchange {
    NodeContext *node;
    SdoTransferLine *line;
    uint8_t channel;
    uint8_t role;
    const uint8_t *bytes; // the frame's 8 data bytes
};

using SdoHandler = void (*)(const SdoExchange &exchange);

inline uint8_t sdoSpecifier(const uint8_t *bytes)
{
    return static_cast<uint8_t>(bytes[0] >> 5);
}

inline uint32_t sdoReadU32(const uint8_t *bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

inline uint16_t sdoFrameIndex(const uint8_t *bytes)
{
    return static_cast<uint16_t>(bytes[1] | bytes[2] << 8);
}

// Fills out with {command, index, subindex, value} (value little-endian).
void sdoFormatFrame(uint8_t out[8], uint8_t command, uint16_t index, uint8_t subIndex, uint32_t value);

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
// Peer node id of a client line (its row's subentry 3), kNoNodeId otherwise.
uint8_t sdoPeerNodeId(const NodeContext *node, const SdoTransferLine *line);

inline bool sdoLineRunning(const SdoTransferLine &line)
{
    return line.state >= SdoState::Download && line.state <= SdoState::BlockUpload;
}
inline uint8_t sdoLineNumber(const NodeContext *node, const SdoTransferLine *line)
{
    return static_cast<uint8_t>(line - node->sdoLines);
}
// The line of that channel and role with a transfer in progress (2 to 5).
SdoTransferLine *findRunningSdoLine(NodeContext *node, uint8_t channel, uint8_t role);

// State 0, alarm deleted, buffer freed, every field cleared.
void freeSdoLine(SdoTransferLine *line);
// Prepares a free line for a new transfer (the abort code is kept) and arms
// its time-out; false when no alarm was free, and the line then has none.
bool setUpSdoLine(NodeContext *node, SdoTransferLine *line, uint8_t channel, uint8_t role, uint8_t state,
                  uint16_t index, uint8_t subIndex);
// Re-arms the 50 ms time-out of a line whose alarm is running.
void restartSdoTimeout(NodeContext *node, SdoTransferLine *line);

// Where the line's bytes live: dynamicData when it holds any, else data.
uint8_t *sdoLineBytes(SdoTransferLine *line);
// Appends received bytes, moving to a growing heap buffer past 32 bytes.
// 0, or 0x05040005 past kSdoMaxTransferSize, 0x08000021 past the announced
// size, 0x08000000 when memory runs out.
uint32_t appendSdoBytes(SdoTransferLine *line, const uint8_t *bytes, uint32_t n);
// The size a peer announced for the line (count, else blockObjectSize).
uint32_t sdoAnnouncedSize(const SdoTransferLine *line);

inline bool sdoToggleMatches(const SdoTransferLine *line, const uint8_t *bytes)
{
    return ((bytes[0] & SdoCmd::ToggleBit) != 0) == (line->toggle != 0);
}
// A segment of a segmented transfer towards us (client upload, server
// download): toggle checked, time-out restarted, bytes appended, and with the
// last bit the announced size met. 0 or the abort code.
uint32_t takeSdoSegment(NodeContext *node, SdoTransferLine *line, const uint8_t *bytes);

// Next segment of an outgoing segmented transfer with the line's toggle:
// 7 bytes, or the rest with the last bit. 0, or 0x08000000 when the bytes are
// not there.
uint32_t nextSdoSegment(SdoTransferLine *line, uint8_t out[8], bool *last);

// Sends a frame on the line's channel and role. 0 sent.
uint8_t sendSdoLineFrame(NodeContext *node, const SdoTransferLine *line, const uint8_t data[8]);
// Sends {0x80, index, subindex, code} on that channel and role. 0 sent.
uint8_t sendSdoAbortFrame(NodeContext *node, uint8_t channel, uint8_t role, uint16_t index, uint8_t subIndex,
                          uint32_t code);

// Ends a client transfer: the alarm is deleted, the state set, and the
// callback runs with the peer's node id. Nothing of the line is touched after
// the callback, which may free or reuse it.
void finishSdoClientLine(NodeContext *node, SdoTransferLine *line, uint8_t state);
// Aborts the transfer on a line after a local failure: the abort frame goes
// to the peer; a server line is freed; a client line is marked 0x85 with the
// code, its callback runs, and the line is freed afterwards unless the
// callback freed or reused it.
void failSdoLine(NodeContext *node, SdoTransferLine *line, uint32_t code);
// failSdoLine without the abort frame.
void abortSdoLineHere(NodeContext *node, SdoTransferLine *line, uint32_t code);
// failSdoLine for the exchange's line, or only the abort frame (index and
// subindex 0) when none runs.
void failSdoExchange(const SdoExchange &exchange, uint32_t code);

// Handlers shared by both roles' tables.
void sdoInvalidCommand(const SdoExchange &exchange); // 0x05040001
void sdoNoSuchTransfer(const SdoExchange &exchange); // 0x08000021
void sdoIgnoreFrame(const SdoExchange &exchange);

// The two roles' handling of one frame (sdo_client.cpp, sdo_server.cpp).
void processSdoClientFrame(const SdoExchange &exchange);
void processSdoServerFrame(const SdoExchange &exchange);
