// Test bench for the SDO unit: a node with a small dictionary of its own (one
// SDO server row, two client rows, data objects of several sizes and access
// kinds), a fake driver that captures every frame sent, a stack clock that
// stands still, a completion callback that fetches results the way the
// device layer does, and helpers to feed frames and fire the time-out.
#pragma once

#include "canopen/can_message.h"
#include "canopen/node_context.h"
#include "canopen/port.h"
#include "stack_test_bench.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

namespace sdotest {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t kPeerId = 0x20;       // the server our client talks to (row 0x1280)
constexpr uint16_t kToPeer = 0x620;     // our requests
constexpr uint16_t kFromPeer = 0x5A0;   // its answers
constexpr uint16_t kToUs = 0x605;       // requests to our server (row 0x1200)
constexpr uint16_t kFromUs = 0x585;     // our server's answers

// Objects of the test dictionary.
constexpr uint16_t kU8 = 0x2000;        // UNSIGNED8 RW
constexpr uint16_t kU32 = 0x2001;       // UNSIGNED32 RW
constexpr uint16_t kU32ReadOnly = 0x2002;
constexpr uint16_t kU32WriteOnly = 0x2003;
constexpr uint16_t kText = 0x2004;      // VISIBLE_STRING of 40 bytes
constexpr uint16_t kDomains = 0x2100;   // subs 0..4: DOMAIN of 0, 1, 7, 8, 889 bytes
constexpr uint8_t kHugeSub = 5;         // DOMAIN of 0x30000 bytes, too big to serve
constexpr uint8_t kRangeSub = 6;        // 1 byte of type 0x9F: 0 is out of range
constexpr uint32_t kDomainSizes[] = {0, 1, 7, 8, 889};

struct Frame {
    uint16_t cobId;
    Bytes data; // always 8 bytes when the stack sent it
    bool operator==(const Frame &other) const { return cobId == other.cobId && data == other.data; }
};
void PrintTo(const Frame &frame, std::ostream *out);

// An SDO frame of 8 bytes: {command, index, subindex, value}.
Frame sdo(uint16_t cobId, uint8_t command, uint16_t index, uint8_t subIndex, uint32_t value = 0);
// An SDO frame from a command byte and up to 7 following bytes, zero padded.
Frame seg(uint16_t cobId, uint8_t command, const Bytes &bytes = {});
using Frames = std::vector<Frame>;

// n bytes of recognisable data.
Bytes pattern(uint32_t n, uint8_t seed = 1);
Bytes slice(const Bytes &data, size_t from, size_t n);
// The segments of a segmented transfer of data: toggles from 0, the last one
// with its last bit and count of empty bytes.
Frames segmentsOf(uint16_t cobId, const Bytes &data);
// count frames {base + toggle * 16}, toggles from 0 (requests, acknowledgements).
Frames toggled(uint16_t cobId, uint8_t base, size_t count);
// One block of a block transfer of data from offset: up to blockSize
// segments {seqNo, 7 bytes}, the transfer's last one with bit 0x80.
Frames blockOf(uint16_t cobId, const Bytes &data, size_t offset, uint8_t blockSize);
// Byte 0 of the end frame of a block transfer of n bytes.
uint8_t blockEnd(size_t n);
// Byte storage of a dictionary entry of the test dictionary.
uint8_t *entryBytes(uint16_t index, uint8_t subIndex);

// One completion seen by the recording callbacks.
struct Completion {
    uint8_t nodeId;
    uint32_t result; // getReadResult / getWriteResult
    uint32_t abortCode;
    Bytes data;
};

class SdoTest : public ::testing::Test {
public:
    // Completion callbacks: fetch the result like the device layer, then close the line.
    static void onRead(NodeContext *node, uint8_t nodeId);
    static void onWrite(NodeContext *node, uint8_t nodeId);
    // Records the call only; the line stays as the unit left it.
    static void onAnyOnlyCount(NodeContext *node, uint8_t nodeId);

    static std::vector<Completion> completions;
    static int countedCalls;
    // The stack clock of the test: stands still unless a test moves it.
    static uint32_t clockMs;

protected:
    void SetUp() override;
    void TearDown() override;

    // Frames sent since the last call, in order.
    std::vector<Frame> takeSent();
    // Hands a received frame to the SDO unit (length = bytes given).
    void feed(const Frame &frame);
    void feedShort(uint16_t cobId, const Bytes &bytes);
    // Lets the armed time-out alarms expire.
    void fireAlarms();

    int startRead(uint16_t index, uint8_t subIndex, uint8_t block = 0);
    int startWrite(uint16_t index, uint8_t subIndex, const Bytes &data, uint8_t block = 0);

    SdoTransferLine &line(int n) { return node.sdoLines[n]; }

    NodeContext node;
    CanPortSlot port;
    StackTestBench bench;
};

} // namespace sdotest
