// Test bench for the stack's services (PDO, SYNC, EMCY, heartbeat and guarding, LSS,
// concise DCF): a node with a dictionary of its own holding every object these services
// use, a fake driver that captures each frame and refuses remote frames as the adapter
// does, a stack clock moved by the test, and hooks that record their calls as text.
#pragma once

#include "canopen/node_context.h"
#include "canopen/port.h"
#include "stack_test_bench.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace svctest {

using Bytes = std::vector<uint8_t>;
using Events = std::vector<std::string>;

constexpr uint8_t kOwnId = 1;
constexpr uint8_t kPeerId = 0x20;
constexpr uint16_t kTpdoCob = 0x181;
constexpr uint16_t kRpdoCob = 0x201;
constexpr uint32_t kIdentity[4] = {0xA5, 0x1234, 0x00010002, 0x0BADCAFE}; // 0x1018 subs 1 to 4

struct Frame {
    uint16_t cobId;
    Bytes data;
    bool operator==(const Frame &other) const { return cobId == other.cobId && data == other.data; }
};
void PrintTo(const Frame &frame, std::ostream *out);
using Frames = std::vector<Frame>;

// An 8-byte frame from up to 8 bytes, zero padded.
Frame frame8(uint16_t cobId, const Bytes &bytes);

class ServiceTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Frames sent since the last call, in order.
    Frames takeSent();
    Events takeEvents();
    // Dispatches a received frame as the receive thread does.
    void feed(uint16_t cobId, const Bytes &data, uint8_t rtr = 0);
    void feed(const Frame &frame) { feed(frame.cobId, frame.data); }
    // Moves the stack clock on by ms, running every alarm due on the way.
    void advance(uint32_t ms);

    template <typename T>
    T &value(uint16_t index, uint8_t subIndex)
    {
        return *static_cast<T *>(entry(index, subIndex).value);
    }
    OdSubEntry &entry(uint16_t index, uint8_t subIndex);
    // setOdEntry without access check, so that write callbacks run.
    uint32_t write(uint16_t index, uint8_t subIndex, uint32_t value);
    // Sets a PDO mapping object (0x1600, 0x1A00, ...).
    void map(uint16_t mapIndex, const std::vector<uint32_t> &entries);

    NodeContext node;
    CanPortSlot port;
    StackTestBench bench;
    uint8_t ownId = kOwnId;
    uint8_t slave = 0;
    uint32_t emcyCob = 0x80 + kOwnId;
    TpdoStatus tpdoStatus[2];
    int16_t rpdoAlarms[2] = {kNoAlarm, kNoAlarm};
    int16_t consumerAlarms[2] = {kNoAlarm, kNoAlarm};

public:
    // What the fake driver saw: remote frames it refused, rate texts; refuseRateChange
    // makes it refuse bit-rate changes.
    static int refusedRemote;
    static std::vector<std::string> rates;
    static bool refuseRateChange;
    static Events events;
    static Frames sent;
};

} // namespace svctest
