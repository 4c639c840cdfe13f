// LSS in both roles, frame by frame: every request and its answer, answers that fit no
// request, time-outs, and the bit-rate switch with the adapter's own rate codes.
#include "service_fixture.h"

#include "canopen/lss.h"

#include <chrono>
#include <thread>

namespace svctest {
namespace {

class LssTest : public ServiceTest {
protected:
    void SetUp() override
    {
        ServiceTest::SetUp();
        node.commSwitches.lss = 1;
    }
    int configure(uint8_t command, const void *value)
    {
        return configureLss(&node, command, value, nullptr, node.onLssDone);
    }
    uint32_t result(uint8_t *extra = nullptr)
    {
        uint32_t value = 0;
        uint8_t ignored = 0;
        getLssResult(&node, &value, extra != nullptr ? extra : &ignored);
        return value;
    }
    // Slave side: the answers to one request.
    Frames request(const Bytes &bytes)
    {
        feed(frame8(0x7E5, bytes));
        return takeSent();
    }
};

TEST_F(LssTest, MasterRequestsAndAnswers)
{
    const uint8_t id = 5;
    const uint32_t vendor = 0xA5;
    struct Case {
        const void *value;
        Bytes request, answer;
        uint32_t result;
        uint8_t extra;
    } cases[] = {
        {&id, {17, 5}, {17, 0, 0}, 0, 0},
        {&id, {17, 5}, {17, 1, 7}, 1, 7},
        {"125K", {19, 0, 4}, {19, 0, 0}, 0, 0},
        {nullptr, {23}, {23, 0, 0}, 0, 0},
        {&vendor, {67, 0xA5}, {68}, 0, 0},
        {&vendor, {70, 0xA5}, {79}, 0, 0},
        {nullptr, {76}, {80}, 0, 0},
        {nullptr, {90}, {90, 0x78, 0x56, 0x34, 0x12}, 0x12345678, 0},
        {nullptr, {94}, {94, 0x21}, 0x21, 0},
    };
    for (const Case &c : cases) {
        const uint8_t command = c.request[0];
        SCOPED_TRACE(int(command));
        EXPECT_EQ(configure(command, c.value), 0);
        EXPECT_EQ(takeSent(), Frames{frame8(0x7E5, c.request)});
        feed(frame8(0x7E4, {command == 94 ? uint8_t(90) : uint8_t(94)})); // fits no request
        EXPECT_EQ(node.lssState, LssState::Waiting);
        feed(frame8(0x7E4, c.answer));
        uint8_t extra = 0;
        EXPECT_EQ(result(&extra), c.result);
        EXPECT_EQ(extra, c.extra);
        EXPECT_EQ(takeEvents(), Events{"lss " + std::to_string(command)});
    }
    feed(frame8(0x7E4, {17, 0, 0}));
    EXPECT_TRUE(takeEvents().empty()) << "an unsolicited answer is refused";
}

TEST_F(LssTest, MasterTimeOuts)
{
    configure(90, nullptr);
    advance(999);
    EXPECT_EQ(node.lssState, LssState::Waiting);
    advance(1);
    EXPECT_EQ(node.lssState, LssState::TimedOut);
    configure(76, nullptr);
    advance(1000);
    EXPECT_EQ(node.lssState, LssState::Done) << "no unconfigured slave answered";
    EXPECT_EQ(result(), 1u);
    EXPECT_EQ(takeEvents(), (Events{"lss 90", "lss 76"}));
}

TEST_F(LssTest, MasterBitTimingRefusalsAndSwitch)
{
    EXPECT_EQ(configure(21, nullptr), -1) << "no bit timing configured";
    EXPECT_EQ(result(), 1u);
    EXPECT_EQ(configure(19, "2M"), -1);
    EXPECT_EQ(result(), kLssUnknownBitTiming);
    configure(19, "1M");
    feed(frame8(0x7E4, {19, 0, 0}));
    takeSent();
    const uint16_t delay = 300;
    EXPECT_EQ(configure(21, &delay), 0);
    EXPECT_EQ(takeSent(), Frames{frame8(0x7E5, {21, 0x2C, 0x01})});
    advance(300);
    EXPECT_EQ(rates, std::vector<std::string>{"8"}) << "1M is the adapter's code 8";
    EXPECT_EQ(takeEvents(), (Events{"lss 21", "lss 19", "lss 19"}));
    advance(300);
    EXPECT_EQ(takeEvents(), Events{"lss 21"});
    EXPECT_EQ(result(), 0u);
    EXPECT_EQ(node.lssSwitchAlarm, kNoAlarm);

    // A refused rate change is not reported as done; a delay of 0 still takes both halves.
    refuseRateChange = true;
    const uint16_t noDelay = 0;
    EXPECT_EQ(configure(21, &noDelay), 0);
    advance(2);
    EXPECT_EQ(takeEvents(), Events{"lss 21"});
    EXPECT_EQ(result(), 1u);
}

TEST_F(LssTest, AdapterRateCodes)
{
    const char expected[] = "876543210";
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(lssAdapterRate(lssBitTimingIndex(kLssBitTimings[i])), expected[i]) << kLssBitTimings[i];
    EXPECT_EQ(lssBitTimingIndex("none"), -1);
}

TEST_F(LssTest, SlaveConfigurationModeRequests)
{
    slave = 1;
    EXPECT_TRUE(request({17, 5}).empty()) << "waiting mode: not configured";
    EXPECT_TRUE(request({90}).empty()) << "waiting mode: identity not inquired";
    EXPECT_EQ(request({94}), Frames{frame8(0x7E4, {94, kOwnId})}) << "node id inquired in either mode";
    request({4, 1});
    const Bytes cases[][2] = {
        {{17, 5}, {17, 0, 0}},    {{17, 0}, {17, 1, 0}}, // 0 is not a node id
        {{17, 128}, {17, 1, 0}},  {{17, 255}, {17, 0, 0}},
        {{19, 0, 3}, {19, 0, 0}}, {{19, 0, 9}, {19, 255, 0}},
        {{23}, {23, 1, 0}}, // no store hook
        {{90}, {90, 0xA5}},       {{93}, {93, 0xFE, 0xCA, 0xAD, 0x0B}},
        {{94}, {94, kOwnId}},     {{99}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c[0][0]) * 1000 + (c[0].size() > 1 ? c[0][1] : 0));
        EXPECT_EQ(request(c[0]), c[1].empty() ? Frames{} : Frames{frame8(0x7E4, c[1])});
    }
    EXPECT_STREQ(node.lssBitTiming, "250K");
    node.commSwitches.lss = 0;
    EXPECT_TRUE(request({94}).empty()) << "lss off: no answer";
}

TEST_F(LssTest, SlaveSelectiveSwitchAndIdentification)
{
    slave = 1;
    auto withValue = [](uint8_t command, uint32_t v) {
        return Bytes{command, uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    };
    Frames sent;
    for (uint8_t i = 0; i < 4; ++i)
        sent = request(withValue(uint8_t(64 + i), kIdentity[i]));
    EXPECT_EQ(sent, Frames{frame8(0x7E4, {68})});
    EXPECT_EQ(request({90}), Frames{frame8(0x7E4, {90, 0xA5})}) << "now in configuration mode";
    request({4, 0});
    EXPECT_TRUE(request(withValue(64, 0xA6)).empty()) << "another vendor";
    // Vendor and product equal; revision and serial within [low, high].
    const uint32_t values[] = {kIdentity[0], kIdentity[1], 0x00010000, 0x00010002, 0x0BADCAFE, 0xFFFFFFFF};
    for (uint8_t command = 70; command <= 75; ++command)
        sent = request(withValue(command, values[command - 70]));
    EXPECT_EQ(sent, Frames{frame8(0x7E4, {79})});
    EXPECT_TRUE(request({76}).empty()) << "the node has an id";
    ownId = kNoNodeId;
    EXPECT_EQ(request({76}), Frames{frame8(0x7E4, {80})});
}

TEST_F(LssTest, SlaveBitRateSwitchAndConfiguredId)
{
    slave = 1;
    ownId = kNoNodeId;
    request({4, 1});
    EXPECT_TRUE(request({21, 10}).empty()) << "no bit timing configured yet";
    EXPECT_EQ(node.port, &port);
    request({19, 0, 0});
    request({21, 10, 0});
    EXPECT_EQ(node.port, nullptr) << "detached during the switch";
    advance(10);
    EXPECT_EQ(rates, std::vector<std::string>{"8"});
    advance(10);
    EXPECT_EQ(node.port, &port) << "given back after the second half";

    request({17, 9});
    node.nmtState = NmtState::Stopped;
    EXPECT_EQ(request({4, 0}), (Frames{{0x709, {0}}})) << "boots with the configured id";
    EXPECT_EQ(node.nmtState, NmtState::PreOperational);
}

// The bit-rate switch holds the port detached; closing the node's port then still
// closes it, the switch's alarm no longer reaches it, and a port opened meanwhile
// stays the node's.
namespace fakeport {
std::vector<CanHandle> closed;
int token;
CanHandle open(const BoardSpec *) { return &token; }
uint8_t receive(CanHandle, CanMessage *)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return 0;
}
int close(CanHandle handle)
{
    closed.push_back(handle);
    return 0;
}
} // namespace fakeport

TEST_F(LssTest, PortClosedOrReopenedDuringTheSwitch)
{
    canDriver.open = fakeport::open;
    canDriver.receive = fakeport::receive;
    canDriver.close = fakeport::close;
    for (const bool asSlave : {true, false}) {
        SCOPED_TRACE(asSlave ? "slave" : "master");
        fakeport::closed.clear();
        port.handle = &port;
        port.node = &node;
        node.port = &port;
        slave = asSlave ? 1 : 0;
        const uint16_t delay = 10;
        if (asSlave) {
            request({4, 1});
            request({19, 0, 0});
            request({21, 10, 0});
            ASSERT_EQ(node.port, nullptr);
        } else {
            configure(19, "1M");
            feed(frame8(0x7E4, {19, 0, 0}));
            ASSERT_EQ(configure(21, &delay), 0);
        }
        takeSent();
        takeEvents();
        EXPECT_EQ(closeCanPort(&node), 0);
        EXPECT_EQ(fakeport::closed, std::vector<CanHandle>{&port});
        EXPECT_EQ(node.port, nullptr);
        EXPECT_EQ(node.lssKeptPort, nullptr);
        EXPECT_EQ(closeCanPort(&node), 0) << "nothing left to close";
        EXPECT_EQ(fakeport::closed.size(), 1u);

        const BoardSpec spec{"fake", "4800"};
        CanPortSlot *reopened = openCanPort(&spec, &node);
        ASSERT_NE(reopened, nullptr);
        advance(2 * delay);
        EXPECT_TRUE(rates.empty()) << "no rate change on a closed port";
        EXPECT_EQ(node.port, reopened) << "the new port is not replaced";
        EXPECT_EQ(node.lssSwitchAlarm, kNoAlarm);
        if (!asSlave) {
            EXPECT_EQ(takeEvents(), Events{"lss 21"});
            EXPECT_EQ(result(), 1u) << "the switch did not happen";
        }
        EXPECT_EQ(closeCanPort(&node), 0);
        EXPECT_EQ(fakeport::closed, (std::vector<CanHandle>{&port, &fakeport::token}));
        EXPECT_FALSE(reopened->receiveThread.joinable()) << "receive thread joined";
    }
}

} // namespace
} // namespace svctest
