// LSS in both roles, frame by frame: every request and its answer, answers
// that fit no request, time-outs, and the bit-rate switch with the adapter's
// own rate codes.
#include "service_fixture.h"

#include "lss.h"

#include <cstring>

namespace svctest {
namespace {

using Events = std::vector<std::string>;

class LssTest : public ServiceTest {
protected:
    void SetUp() override
    {
        ServiceTest::SetUp();
        node.commSwitches.lss = 1;
    }
    uint32_t result(uint8_t *extra = nullptr)
    {
        uint32_t value = 0;
        uint8_t ignored = 0;
        getLssResult(&node, &value, extra != nullptr ? extra : &ignored);
        return value;
    }
};

TEST_F(LssTest, MasterRequestsAndAnswers)
{
    const uint8_t id = 5;
    const uint32_t vendor = 0xA5;
    struct Case {
        uint8_t command;
        const void *value;
        Bytes request;
        Bytes answer;
        uint32_t result;
        uint8_t extra;
    } cases[] = {
        {17, &id, {17, 5}, {17, 0, 0}, 0, 0},
        {17, &id, {17, 5}, {17, 1, 7}, 1, 7},
        {19, "125K", {19, 0, 4}, {19, 0, 0}, 0, 0},
        {23, nullptr, {23}, {23, 0, 0}, 0, 0},
        {67, &vendor, {67, 0xA5}, {68}, 0, 0},
        {70, &vendor, {70, 0xA5}, {79}, 0, 0},
        {76, nullptr, {76}, {80}, 0, 0},
        {90, nullptr, {90}, {90, 0x78, 0x56, 0x34, 0x12}, 0x12345678, 0},
        {94, nullptr, {94}, {94, 0x21}, 0x21, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.command));
        EXPECT_EQ(configureLss(&node, c.command, c.value, nullptr, node.onLssDone), 0);
        EXPECT_EQ(takeSent(), Frames{frame8(0x7E5, c.request)});
        EXPECT_EQ(node.lssState, LssState::Waiting);
        feed(frame8(0x7E4, {c.command == 94 ? uint8_t(90) : uint8_t(94)})); // fits no request
        EXPECT_EQ(node.lssState, LssState::Waiting);
        feed(frame8(0x7E4, c.answer));
        uint8_t extra = 0;
        EXPECT_EQ(result(&extra), c.result);
        EXPECT_EQ(extra, c.extra);
        EXPECT_EQ(node.lssState, LssState::Done);
        EXPECT_EQ(takeEvents(), Events{"lss " + std::to_string(c.command)});
    }
    feed(frame8(0x7E4, {17, 0, 0}));
    EXPECT_TRUE(takeEvents().empty()) << "an unsolicited answer is refused";
}

TEST_F(LssTest, MasterTimeOuts)
{
    configureLss(&node, 90, nullptr, nullptr, node.onLssDone);
    advance(999);
    EXPECT_EQ(node.lssState, LssState::Waiting);
    advance(1);
    EXPECT_EQ(node.lssState, LssState::TimedOut);
    configureLss(&node, 76, nullptr, nullptr, node.onLssDone);
    advance(1000);
    EXPECT_EQ(node.lssState, LssState::Done) << "no unconfigured slave answered";
    EXPECT_EQ(result(), 1u);
    EXPECT_EQ(takeEvents(), (Events{"lss 90", "lss 76"}));
}

TEST_F(LssTest, MasterBitTimingRefusalsAndSwitch)
{
    EXPECT_EQ(configureLss(&node, 21, nullptr, nullptr, node.onLssDone), -1) << "no bit timing configured";
    EXPECT_EQ(result(), 1u);
    EXPECT_EQ(configureLss(&node, 19, "2M", nullptr, node.onLssDone), -1);
    EXPECT_EQ(result(), kLssUnknownBitTiming);
    EXPECT_TRUE(takeSent().empty());
    EXPECT_EQ(takeEvents(), (Events{"lss 21", "lss 19"}));

    configureLss(&node, 19, "1M", nullptr, node.onLssDone);
    feed(frame8(0x7E4, {19, 0, 0}));
    takeSent();
    takeEvents();
    const uint16_t delay = 300;
    EXPECT_EQ(configureLss(&node, 21, &delay, nullptr, node.onLssDone), 0);
    EXPECT_EQ(takeSent(), Frames{frame8(0x7E5, {21, 0x2C, 0x01})});
    advance(300);
    EXPECT_EQ(rates(), std::vector<std::string>{"8"}) << "1M is the adapter's code 8";
    EXPECT_TRUE(takeEvents().empty());
    advance(300);
    EXPECT_EQ(takeEvents(), Events{"lss 21"});
    EXPECT_EQ(result(), 0u);
    EXPECT_EQ(node.lssSwitchAlarm, kNoAlarm);

    // A refused rate change is not reported as done; a delay of 0 still takes both halves.
    refuseRateChange = true;
    const uint16_t noDelay = 0;
    EXPECT_EQ(configureLss(&node, 21, &noDelay, nullptr, node.onLssDone), 0);
    advance(2);
    EXPECT_EQ(takeEvents(), Events{"lss 21"});
    EXPECT_EQ(result(), 1u);
    EXPECT_EQ(rates().size(), 2u);
}

TEST_F(LssTest, AdapterRateCodes)
{
    const char expected[] = "876543210";
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(lssAdapterRate(lssBitTimingIndex(kLssBitTimings[i])), expected[i]) << kLssBitTimings[i];
    EXPECT_EQ(lssBitTimingIndex("none"), -1);
}

class LssSlaveTest : public LssTest {
protected:
    void SetUp() override
    {
        LssTest::SetUp();
        slave = 1;
    }
    Frames request(const Bytes &bytes)
    {
        feed(frame8(0x7E5, bytes));
        return takeSent();
    }
};

TEST_F(LssSlaveTest, ConfigurationModeRequests)
{
    EXPECT_TRUE(request({17, 5}).empty()) << "waiting mode: not configured";
    request({4, 1});
    struct Case {
        Bytes request;
        Bytes answer;
    } cases[] = {
        {{17, 5}, {17, 0, 0}},
        {{17, 0}, {17, 1, 0}}, // 0 is not a node id
        {{17, 128}, {17, 1, 0}},
        {{17, 255}, {17, 0, 0}},
        {{19, 0, 3}, {19, 0, 0}},
        {{19, 0, 9}, {19, 255, 0}},
        {{23}, {23, 1, 0}}, // no store hook
        {{90}, {90, 0xA5, 0, 0, 0}},
        {{93}, {93, 0xFE, 0xCA, 0xAD, 0x0B}},
        {{94}, {94, kOwnId}},
        {{99}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.request[0]) * 1000 + (c.request.size() > 1 ? c.request[1] : 0));
        const Frames sent = request(c.request);
        EXPECT_EQ(sent, c.answer.empty() ? Frames{} : Frames{frame8(0x7E4, c.answer)});
    }
    EXPECT_STREQ(node.lssBitTiming, "250K");
    node.commSwitches.lss = 0;
    feed(frame8(0x7E5, {94}));
    EXPECT_TRUE(takeSent().empty()) << "lss off: no answer";
}

TEST_F(LssSlaveTest, SelectiveSwitchAndIdentification)
{
    const uint8_t selective[] = {64, 65, 66, 67};
    Frames sent;
    for (int i = 0; i < 4; ++i) {
        Bytes bytes = {selective[i]};
        for (int b = 0; b < 4; ++b)
            bytes.push_back(uint8_t(kIdentity[i] >> (8 * b)));
        sent = request(bytes);
    }
    EXPECT_EQ(sent, Frames{frame8(0x7E4, {68})});
    EXPECT_EQ(request({94}), Frames{frame8(0x7E4, {94, kOwnId})}) << "now in configuration mode";

    request({4, 0});
    EXPECT_TRUE(request({64, 0xA6}).empty()) << "another vendor";
    // Identify: vendor, product equal; revision and serial within [low, high].
    const uint32_t values[] = {kIdentity[0], kIdentity[1], 0x00010000, 0x00010002, 0x0BADCAFE, 0xFFFFFFFF};
    for (uint8_t command = 70; command <= 75; ++command) {
        const uint32_t v = values[command - 70];
        sent = request({command, uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
    }
    EXPECT_EQ(sent, Frames{frame8(0x7E4, {79})});
    EXPECT_TRUE(request({76}).empty()) << "the node has an id";
    ownId = kNoNodeId;
    EXPECT_EQ(request({76}), Frames{frame8(0x7E4, {80})});
}

TEST_F(LssSlaveTest, LeavingConfigurationAppliesTheConfiguredId)
{
    ownId = kNoNodeId;
    node.nmtState = NmtState::Stopped;
    request({4, 1});
    request({17, 9});
    EXPECT_EQ(request({4, 0}), (Frames{{0x709, {0}}})) << "boots with the configured id";
    EXPECT_EQ(ownId, 9);
    EXPECT_EQ(node.nmtState, NmtState::PreOperational);
}

TEST_F(LssSlaveTest, BitRateSwitchDetachesThePort)
{
    request({4, 1});
    EXPECT_TRUE(request({21, 10}).empty()) << "no bit timing configured yet";
    EXPECT_EQ(node.port, &port);
    request({19, 0, 0});
    EXPECT_TRUE(request({21, 10, 0}).empty());
    EXPECT_EQ(node.port, nullptr) << "detached during the switch";
    advance(10);
    EXPECT_EQ(rates(), std::vector<std::string>{"8"});
    EXPECT_EQ(node.port, nullptr);
    advance(10);
    EXPECT_EQ(node.port, &port) << "given back after the second half";
    EXPECT_EQ(node.lssSwitchAlarm, kNoAlarm);
}

} // namespace
} // namespace svctest
