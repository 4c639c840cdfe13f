// Layer setting services in both roles. As LSS master the node sends
// requests on 0x7E5 and evaluates the answers on 0x7E4; as LSS slave
// (isSlave 1) it answers requests on 0x7E5 from 0x7E4, takes a configured
// node id and bit timing, and switches the bit rate after a delay with its
// port detached. Results: 0 done or sent, -1 refused.
#pragma once

#include "canopen/node_context.h"

namespace LssCommand {
constexpr uint8_t SwitchModeGlobal = 4;
constexpr uint8_t ConfigureNodeId = 17;
constexpr uint8_t ConfigureBitTiming = 19;
constexpr uint8_t ActivateBitTiming = 21;
constexpr uint8_t StoreConfiguration = 23;
constexpr uint8_t SwitchSelectiveVendor = 64;  // to 67: product, revision, serial
constexpr uint8_t SwitchSelectiveSerial = 67;
constexpr uint8_t SwitchSelectiveAnswer = 68;
constexpr uint8_t IdentifyVendor = 70;         // to 75: product, revision low/high, serial low/high
constexpr uint8_t IdentifySerialHigh = 75;
constexpr uint8_t IdentifyNonConfigured = 76;
constexpr uint8_t IdentifyAnswer = 79;
constexpr uint8_t IdentifyNonConfiguredAnswer = 80;
constexpr uint8_t InquireVendor = 90;          // to 93: product, revision, serial
constexpr uint8_t InquireSerial = 93;
constexpr uint8_t InquireNodeId = 94;
} // namespace LssCommand

namespace LssState {
constexpr uint8_t Done = 1;
constexpr uint8_t TimedOut = 2;
constexpr uint8_t Waiting = 3;
} // namespace LssState

constexpr uint32_t kLssTimeoutMs = 1000;
// Result of a bit-timing name that is not in the table.
constexpr uint32_t kLssUnknownBitTiming = 255;

// Bit-timing names by CiA 305 table index 0 to 8 ("1M" ... "10K").
extern const char *const kLssBitTimings[9];
extern const char *const kLssNoBitTiming; // "none"

// Table index of a bit-timing name, -1 when it is not in the table.
int lssBitTimingIndex(const char *name);
// The adapter's rate character for a CiA 305 table index (0 "1M" gives '8',
// the adapter's 1 Mbit/s code; 8 "10K" gives '0'); 0 for an index past the table.
char lssAdapterRate(int tableIndex);

void startLss(NodeContext *node);
void stopLss(NodeContext *node);

// The master's request. value points to: the mode (u8) for 4, the node id
// (u8) for 17, the bit-timing name (const char) for 19, the delay in ms (u16)
// for 21, the u32 for 64 to 75; nothing for the others. secondValue is not
// used by requests. 0 sent; -1 for an unknown command, a bit-timing name not
// in the table (result 255), activation without a configured bit timing
// (result 1) or a frame the driver refused.
int sendLssRequest(NodeContext *node, uint8_t command, const void *value, const void *secondValue);
// Keeps hook and command as pending, then sendLssRequest.
int configureLss(NodeContext *node, uint8_t command, const void *value, const void *secondValue,
                 void (*hook)(NodeContext *node, uint8_t command));
// sendLssRequest for a master; for a slave sendLssAnswer while lss is on.
int sendLss(NodeContext *node, uint8_t command, const void *value, const void *secondValue);
// Copies the result and the extra byte; returns the LSS state.
uint8_t getLssResult(NodeContext *node, uint32_t *result, uint8_t *extra);

// The slave's answer. value points to: the error code (u8) for 17, 19, 23
// (secondValue the specific error, u8); the u32 for 90 to 93; the node id
// (u8) for 94; nothing for 68, 79, 80. The send result; -1 for other commands.
int sendLssAnswer(NodeContext *node, uint8_t command, const void *value, const void *secondValue);
// sendLssAnswer while lss is on, else -1.
int sendLssAnswerIfOn(NodeContext *node, uint8_t command, const void *value, const void *secondValue);

// Master: answers on 0x7E4. 0 taken; -1 when the answer fits no pending request.
int processLssAnswer(NodeContext *node, const CanMessage *frame);
// Slave: requests on 0x7E5. 0 handled; -1 for an ignored command.
int processLssRequest(NodeContext *node, const CanMessage *frame);

// Alarm callbacks: the 1000 ms answer time-out and the two halves of the
// bit-rate switch delay.
void onLssTimeout(NodeContext *node, uint32_t id);
void onLssSwitchDelay(NodeContext *node, uint32_t id);
