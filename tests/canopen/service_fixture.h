// Test bench for the stack's services (PDO, SYNC, EMCY, heartbeat and
// guarding, LSS, concise DCF): a node with a dictionary of its own holding
// every object these services use, a fake driver that captures each frame
// and refuses remote frames as the adapter does, a stack clock moved by the
// test, and hooks that record what they were called with.
#pragma once

#include "can_message.h"
#include "node_context.h"
#include "port.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace svctest {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t kOwnId = 1;
constexpr uint8_t kPeerId = 0x20;
constexpr uint32_t kTpdoCob = 0x181;
constexpr uint32_t kTpdo2Cob = 0x281;
constexpr uint32_t kRpdoCob = 0x201;
// Identity of the test node (0x1018 subs 1 to 4).
constexpr uint32_t kIdentity[4] = {0xA5, 0x1234, 0x00010002, 0x0BADCAFE};

struct Frame {
    uint16_t cobId;
    Bytes data;
    bool operator==(const Frame &other) const { return cobId == other.cobId && data == other.data; }
};
void PrintTo(const Frame &frame, std::ostream *out);
using Frames = std::vector<Frame>;

// An 8-byte frame from up to 8 bytes, zero padded.
Frame frame8(uint16_t cobId, const Bytes &bytes);
// An SDO frame {command, index, subindex, 4 bytes}.
Frame sdo(uint16_t cobId, uint8_t command, uint16_t index, uint8_t subIndex, const Bytes &value = {});

class ServiceTest : public ::testing::Test {
public:
    // Every hook call, as text ("hbError 5", "state 5 127", "lss 17", ...).
    static std::vector<std::string> events;
    // The fake driver refuses bit-rate changes while set.
    static bool refuseRateChange;

protected:
    void SetUp() override;
    void TearDown() override;

    Frames takeSent();
    // Remote frames the fake adapter refused.
    int refusedRemote() const;
    // Rate texts handed to the driver's bit-rate change.
    std::vector<std::string> rates() const;
    std::vector<std::string> takeEvents();

    // Dispatches a received frame as the receive thread does.
    void feed(uint16_t cobId, const Bytes &data, uint8_t rtr = 0);
    void feed(const Frame &frame) { feed(frame.cobId, frame.data); }
    // Moves the stack clock on by ms, running every alarm due on the way.
    void advance(uint32_t ms);

    // Typed access to a dictionary value of the test node.
    template <typename T>
    T &value(uint16_t index, uint8_t subIndex)
    {
        return *static_cast<T *>(valuePointer(index, subIndex));
    }
    void *valuePointer(uint16_t index, uint8_t subIndex);
    // Writes through setOdEntry (write callbacks run), without access check.
    uint32_t write(uint16_t index, uint8_t subIndex, uint32_t value);
    // Sets the mapping of a PDO mapping object (0x1600, 0x1A00, ...).
    void map(uint16_t mapIndex, const std::vector<uint32_t> &entries);
    // Stores concise-DCF data for a node in 0x1F22.
    void setDcf(uint8_t nodeId, const Bytes &data);

    NodeContext node;
    CanPortSlot port;
    uint8_t ownId = kOwnId;
    uint8_t slave = 0;
    uint32_t emcyCob = 0x80 + kOwnId;
    TpdoStatus tpdoStatus[2];
    int16_t rpdoAlarms[2] = {kNoAlarm, kNoAlarm};
    int16_t consumerAlarms[2] = {kNoAlarm, kNoAlarm};
};

} // namespace svctest
