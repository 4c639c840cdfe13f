// The services end to end: the real master stack and adapter driver over the pty against
// the virtual bus peers of tests/support (heartbeat and boot-up producer, emergency
// producer, LSS slave, process data on a COB-ID).
#include "wire_test_fixture.h"

#include "canopen/alarm.h"
#include "canopen/emcy.h"
#include "canopen/lifeguard.h"
#include "canopen/lss.h"
#include "canopen/master_od.h"
#include "canopen/nmt.h"
#include "canopen/od.h"
#include "canopen/pdo.h"
#include "canopen/port.h"
#include "canopen/stack_lock.h"
#include "canopen/stack_timer.h"
#include "canopen/sync.h"
#include "virtual_bus_peers.h"

#include "stack_test_wait.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>

namespace veqtest {
namespace {

std::mutex eventMutex;
std::condition_variable eventAdded;
std::vector<std::pair<std::string, Clock::time_point>> events;

void record(const std::string &text)
{
    std::lock_guard<std::mutex> lock(eventMutex);
    events.emplace_back(text, Clock::now());
    eventAdded.notify_all();
}

// When the event was recorded, waiting at most `timeout` for it.
std::optional<Clock::time_point> waitForEvent(const std::string &text, std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> lock(eventMutex);
    std::optional<Clock::time_point> at;
    eventAdded.wait_for(lock, timeout, [&] {
        for (const auto &[t, when] : events) {
            if (t == text)
                at = when;
        }
        return at.has_value();
    });
    return at;
}

std::vector<std::string> eventTexts()
{
    std::lock_guard<std::mutex> lock(eventMutex);
    std::vector<std::string> texts;
    for (const auto &event : events)
        texts.push_back(event.first);
    return texts;
}

template <typename F>
auto inStack(F f)
{
    StackLockGuard lock;
    return f();
}

class WireServicesTest : public WireTest {
protected:
    void SetUp() override
    {
        {
            std::lock_guard<std::mutex> lock(eventMutex);
            events.clear();
        }
        saved = masterNode;
        savedConsumer = *masterNode.consumerHeartbeatEntries;
        masterNode.remoteNodeState.fill(NmtState::Unknown);
        masterNode.onHeartbeatError = [](NodeContext *, uint8_t id) { record("hbError " + std::to_string(id)); };
        masterNode.onSlaveBootUp = [](NodeContext *, uint8_t id) { record("boot " + std::to_string(id)); };
        masterNode.onSlaveStateChange = [](NodeContext *, uint8_t id, uint32_t state) {
            record("state " + std::to_string(id) + " " + std::to_string(state));
        };
        masterNode.onEmergency = [](NodeContext *, uint8_t id, uint16_t code, uint8_t reg) {
            record("emcy " + std::to_string(id) + " " + std::to_string(code) + " " + std::to_string(reg));
        };
        WireTest::SetUp();
    }

    void TearDown() override
    {
        inStack([this] {
            stopLifeGuard(&masterNode);
            stopSync(&masterNode);
            setNodeState(&masterNode, NmtState::PreOperational);
            masterNode.lssTimeoutAlarm = deleteAlarm(masterNode.lssTimeoutAlarm);
            masterNode.commSwitches.lifeGuard = 0;
            masterNode.commSwitches.sync = 0;
            *masterNode.consumerHeartbeatEntries = savedConsumer;
            *masterNode.syncPeriod = 50000;
            return 0;
        });
        WireTest::TearDown();
        masterNode.onHeartbeatError = saved.onHeartbeatError;
        masterNode.onSlaveBootUp = saved.onSlaveBootUp;
        masterNode.onSlaveStateChange = saved.onSlaveStateChange;
        masterNode.onEmergency = saved.onEmergency;
        masterNode.onLssDone = saved.onLssDone;
        masterNode.lssBitTiming = saved.lssBitTiming;
    }

    // Runs an LSS request in the stack and waits for its completion hook.
    uint32_t lss(uint8_t command, const void *value, uint8_t *state = nullptr)
    {
        const std::string done = "lss " + std::to_string(command) + " #" + std::to_string(++lssCount);
        pendingLssEvent = done;
        EXPECT_EQ(inStack([&] {
                      return configureLss(&masterNode, command, value, nullptr,
                                          [](NodeContext *, uint8_t) { record(pendingLssEvent); });
                  }),
                  0);
        EXPECT_TRUE(waitForEvent(done, 2s)) << done;
        uint32_t result = 0;
        uint8_t extra = 0;
        const uint8_t s = inStack([&] { return getLssResult(&masterNode, &result, &extra); });
        if (state != nullptr)
            *state = s;
        return result;
    }

    NodeContext saved;
    uint32_t savedConsumer = 0;
    int lssCount = 0;
    static std::string pendingLssEvent;
};

std::string WireServicesTest::pendingLssEvent;

TEST_F(WireServicesTest, HeartbeatConsumerSeesBootUpStatesAndSilence)
{
    inStack([] {
        *masterNode.consumerHeartbeatEntries = 0x00050000 | 150; // node 5 within 150 ms
        masterNode.commSwitches.lifeGuard = 1;
        startHeartbeat(&masterNode);
        return 0;
    });
    produceHeartbeats(adapter, NodeId, PeerState::Operational, 50ms, 6);
    const auto lost = waitForEvent("hbError 5", 3s);
    ASSERT_TRUE(lost);
    EXPECT_EQ(eventTexts(), (std::vector<std::string>{"state 5 0", "boot 5", "state 5 5", "hbError 5"}));
    Clock::time_point lastBeat{};
    for (const WireLine &line : adapter.log().lines()) {
        if (line.direction == WireDirection::ToMaster && line.text == frameLine(heartbeatFrame(5, 5)))
            lastBeat = line.at;
    }
    const auto silence = std::chrono::duration_cast<std::chrono::milliseconds>(*lost - lastBeat);
    EXPECT_GE(silence.count(), 145);
    EXPECT_LT(silence.count(), 250);
    EXPECT_EQ(inStack([] { return getRemoteNodeState(&masterNode, 5); }), kRemoteNodeLost);
}

TEST_F(WireServicesTest, EmergencyInBothDirections)
{
    adapter.sendFrame(emcyFrame(NodeId, 0x2310, 0x02, {1, 2}));
    EXPECT_TRUE(waitForEvent("emcy 5 8976 2", 2s));
    adapter.sendFrame(CanFrame(0x085, {0x10, 0x23, 0x02})); // too short: ignored
    EXPECT_EQ(inStack([] { return setEmcyError(&masterNode, 0x5000, 0x01, 0); }), 0);
    EXPECT_TRUE(adapter.log().waitFor(WireDirection::FromMaster, frameLine(0x081, {0x00, 0x50, 0x01, 0, 0, 0, 0, 0}),
                                      2s));
    EXPECT_EQ(inStack([] { return clearEmcyError(&masterNode, 0x5000); }), 0);
    EXPECT_TRUE(adapter.log().waitFor(WireDirection::FromMaster, frameLine(0x081, {0, 0, 0, 0, 0, 0, 0, 0}), 2s));
    EXPECT_EQ(eventTexts().size(), 1u);
}

TEST_F(WireServicesTest, LssMasterConfiguresASlave)
{
    DeviceIdentity identity;
    auto slave = std::make_shared<VirtualLssSlave>(identity, kNoNodeId);
    adapter.addPeer(slave);
    const uint32_t selective[4] = {identity.vendorId, identity.productCode, identity.revision,
                                   identity.serialNumber};
    for (uint8_t i = 0; i < 3; ++i)
        inStack([&] { return sendLss(&masterNode, uint8_t(64 + i), &selective[i], nullptr); });
    uint8_t state = 0;
    EXPECT_EQ(lss(67, &selective[3], &state), 0u);
    EXPECT_EQ(state, LssState::Done);
    EXPECT_TRUE(slave->configurationMode());

    EXPECT_EQ(lss(90, nullptr), identity.vendorId);
    const uint8_t zero = 0, nine = 9;
    EXPECT_EQ(lss(17, &zero), 1u) << "0 is not a node id";
    EXPECT_EQ(lss(17, &nine), 0u);
    EXPECT_EQ(lss(19, "1M"), 0u);
    EXPECT_EQ(slave->bitTimingIndex(), 0);
    EXPECT_EQ(lss(76, nullptr), 0u) << "the unconfigured slave answered";

    const uint16_t delay = 20;
    EXPECT_EQ(lss(21, &delay, &state), 0u);
    EXPECT_EQ(state, LssState::Done);
    EXPECT_EQ(slave->activationDelayMs(), 20);
    EXPECT_EQ(adapter.bitRate(), '8') << "1M is the adapter's 1 Mbit/s code";
}

TEST_F(WireServicesTest, ProcessDataBothWaysAndSync)
{
    inStack([] { return setNodeState(&masterNode, NmtState::Operational); });
    adapter.sendFrame(CanFrame(0x1C0, {0xA5}));
    auto booleans = [] {
        return inStack([] {
            uint8_t packed = 0;
            for (uint16_t i = 0; i < 8; ++i) {
                uint8_t bit = 0;
                uint32_t size = 1;
                uint8_t type = 0;
                getOdEntry(&masterNode, uint16_t(0x200F + i), 0, &bit, &size, &type, 0);
                packed = uint8_t(packed | (bit & 1) << i);
            }
            return packed;
        });
    };
    const auto deadline = Clock::now() + 2s;
    while (booleans() != 0xA5 && Clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    EXPECT_EQ(booleans(), 0xA5);

    EXPECT_EQ(inStack([] {
                  uint8_t value = 0x3C;
                  uint32_t size = 1;
                  setOdEntry(&masterNode, 0x2000, 0, &value, &size, 0);
                  *masterNode.syncPeriod = 10000;
                  startSync(&masterNode);
                  return requestPdo(&masterNode, 0x1400);
              }),
              -1)
        << "the adapter refuses the remote request";
    EXPECT_TRUE(adapter.log().waitFor(WireDirection::FromMaster, "t0800", 2s));
    EXPECT_TRUE(adapter.log().waitFor(WireDirection::FromMaster, frameLine(0x223, {0x3C}), 2s));
    const std::vector<std::string> sent = masterLinesSince(0);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "t1C00"), 0) << "no data frame in place of the request";
}

TEST_F(WireServicesTest, GuardingRequestNeverLeavesAsDataFrame)
{
    EXPECT_NE(inStack([] { return requestNodeGuard(&masterNode, NodeId); }), 0);
    EXPECT_NE(inStack([] { return sendGuardRequest(&masterNode, NodeId); }), 0);
    inStack([] { return sendNmtCommand(&masterNode, NodeId, 1); });
    ASSERT_TRUE(adapter.log().waitFor(WireDirection::FromMaster, "t00020105", 2s));
    const std::vector<std::string> sent = masterLinesSince(0);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "t7050"), 0) << "would read as node 5's boot-up";
}

// The stack in the LSS slave role, without a node id, against an LSS master on the bus.
class WireLssSlaveTest : public ::testing::Test {
protected:
    static NodeContext slaveNode;
    static uint8_t slaveId;

    void SetUp() override
    {
        static const uint8_t isSlave = 1;
        slaveNode = masterNode; // the master's dictionary, acting as a slave
        slaveId = kNoNodeId;
        slaveNode.nodeId = &slaveId;
        slaveNode.isSlave = &isSlave;
        std::string error;
        ASSERT_TRUE(adapter.start(&error)) << error;
        bindCanDriver();
        initStackTimers();
        const std::string path = adapter.portPath();
        const BoardSpec spec{path.c_str(), "4800"};
        ASSERT_NE(openCanPort(&spec, &slaveNode), nullptr);
        startStackTimerLoop([](NodeContext *, uint32_t) { setNodeState(&slaveNode, NmtState::Initialisation); });
        ASSERT_TRUE(adapter.log().waitFor(WireDirection::FromMaster, "O", 2s));
    }

    void TearDown() override
    {
        stopStackTimerLoop([](NodeContext *, uint32_t) { setNodeState(&slaveNode, NmtState::Stopped); });
        closeCanPort(&slaveNode);
        adapter.stop();
    }

    // Sends a request and waits for the stack's answer (nothing when `answer` is empty).
    void exchange(uint8_t command, std::vector<uint8_t> request, std::vector<uint8_t> answer)
    {
        const size_t mark = adapter.log().size();
        adapter.sendFrame(lssRequest(command, std::move(request)));
        ASSERT_TRUE(adapter.log().waitFor(WireDirection::ToMaster, [](const std::string &line) {
            return line.rfind("t7E58", 0) == 0;
        }, 2s, mark));
        if (answer.empty())
            return;
        answer.resize(8, 0);
        EXPECT_TRUE(adapter.log().waitFor(WireDirection::FromMaster, frameLine(CanFrame(0x7E4, answer)), 2s, mark))
            << "answer to " << int(command);
    }

    VirtualCanAdapter adapter;
};

NodeContext WireLssSlaveTest::slaveNode;
uint8_t WireLssSlaveTest::slaveId = kNoNodeId;

TEST_F(WireLssSlaveTest, ConfiguredByAnLssMaster)
{
    exchange(76, {}, {80}); // identify non-configured: the slave has no id
    exchange(4, {1}, {});
    exchange(17, {0}, {17, 1}); // 0 is not a node id
    exchange(17, {9}, {17, 0});
    exchange(94, {}, {94, kNoNodeId});
    exchange(19, {0, 0}, {19, 0});
    const size_t mark = adapter.log().size();
    adapter.sendFrame(lssRequest(21, {20, 0}));
    EXPECT_TRUE(adapter.log().waitFor(WireDirection::FromMaster, "S8", 2s, mark)) << "1M: the adapter's code 8";
    EXPECT_TRUE(waitFor([] { return inStack([] { return slaveNode.port != nullptr && slaveNode.lssSwitchPhase == 0; }); }))
        << "the port is given back";
    exchange(4, {0}, {});
    EXPECT_TRUE(adapter.log().waitFor(WireDirection::FromMaster, "t709100", 2s)) << "boots with the configured id";
    EXPECT_EQ(slaveId, 9);
}

} // namespace
} // namespace veqtest
