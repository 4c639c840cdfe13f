// The services end to end: the real master stack and adapter driver over the pty against
// the virtual bus peers of tests/support (heartbeat and boot-up producer, emergency
// producer, LSS slave and master, process data on a COB-ID).
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
#include "stack_test_wait.h"
#include "virtual_bus_peers.h"

#include <algorithm>
#include <mutex>

namespace veqtest {
namespace {

// Hook calls, with the time they were made (stack threads).
std::mutex eventMutex;
std::vector<std::pair<std::string, Clock::time_point>> events;

void record(const std::string &text)
{
    std::lock_guard<std::mutex> lock(eventMutex);
    events.emplace_back(text, Clock::now());
}

void clearEvents()
{
    std::lock_guard<std::mutex> lock(eventMutex);
    events.clear();
}

std::optional<Clock::time_point> eventAt(const std::string &text)
{
    std::optional<Clock::time_point> at;
    waitFor([&] {
        std::lock_guard<std::mutex> lock(eventMutex);
        for (const auto &event : events)
            at = event.first == text ? std::optional<Clock::time_point>(event.second) : at;
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

bool masterSent(const VirtualCanAdapter &adapter, const std::string &line)
{
    const auto sent = adapter.log().texts(WireDirection::FromMaster);
    return std::find(sent.begin(), sent.end(), line) != sent.end();
}

class WireServicesTest : public WireTest {
protected:
    void SetUp() override
    {
        clearEvents();
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
        masterNode.onLssDone = [](NodeContext *, uint8_t command) { record("lss " + std::to_string(command)); };
        WireTest::SetUp();
    }

    void TearDown() override
    {
        inStack([this] {
            stopLifeGuard(&masterNode);
            stopSync(&masterNode);
            setNodeState(&masterNode, NmtState::PreOperational);
            masterNode.lssTimeoutAlarm = deleteAlarm(masterNode.lssTimeoutAlarm);
            *masterNode.consumerHeartbeatEntries = savedConsumer;
            *masterNode.syncPeriod = 50000;
            return 0;
        });
        WireTest::TearDown();
        const NodeContext stopped = masterNode;
        masterNode = saved; // hooks, switches and LSS state as they were
        masterNode.nmtState = stopped.nmtState;
        masterNode.commSwitches = stopped.commSwitches;
    }

    // Runs an LSS request in the stack and waits for its completion; the result.
    uint32_t lss(uint8_t command, const void *value, uint8_t *state = nullptr)
    {
        clearEvents();
        EXPECT_EQ(inStack([&] { return configureLss(&masterNode, command, value, nullptr, masterNode.onLssDone); }),
                  0);
        EXPECT_TRUE(eventAt("lss " + std::to_string(command))) << int(command);
        uint32_t result = 0;
        uint8_t extra = 0;
        const uint8_t s = inStack([&] { return getLssResult(&masterNode, &result, &extra); });
        if (state != nullptr)
            *state = s;
        return result;
    }

    NodeContext saved;
    uint32_t savedConsumer = 0;
};

TEST_F(WireServicesTest, HeartbeatConsumerSeesBootUpStatesAndSilence)
{
    inStack([] {
        *masterNode.consumerHeartbeatEntries = 0x00050000 | 150; // node 5 within 150 ms
        masterNode.commSwitches.lifeGuard = 1;
        startHeartbeat(&masterNode);
        return 0;
    });
    produceHeartbeats(adapter, NodeId, PeerState::Operational, 50ms, 6);
    const auto lost = eventAt("hbError 5");
    ASSERT_TRUE(lost);
    EXPECT_EQ(eventTexts(), (std::vector<std::string>{"state 5 0", "boot 5", "state 5 5", "hbError 5"}));
    Clock::time_point lastBeat{};
    for (const WireLine &line : adapter.log().lines())
        lastBeat = line.text == frameLine(heartbeatFrame(5, 5)) ? line.at : lastBeat;
    const auto silence = std::chrono::duration_cast<std::chrono::milliseconds>(*lost - lastBeat).count();
    EXPECT_GE(silence, 145);
    EXPECT_LT(silence, 250);
    EXPECT_EQ(inStack([] { return getRemoteNodeState(&masterNode, 5); }), kRemoteNodeLost);
}

TEST_F(WireServicesTest, EmergencyBothWaysAndGuardingNeverAsDataFrame)
{
    adapter.sendFrame(CanFrame(0x085, {0x10, 0x23, 0x02})); // too short: ignored
    adapter.sendFrame(emcyFrame(NodeId, 0x2310, 0x02, {1, 2}));
    EXPECT_TRUE(eventAt("emcy 5 8976 2"));
    EXPECT_EQ(eventTexts().size(), 1u);
    inStack([] {
        setEmcyError(&masterNode, 0x5000, 0x01, 0);
        return clearEmcyError(&masterNode, 0x5000);
    });
    EXPECT_TRUE(adapter.log().waitFor(WireDirection::FromMaster, frameLine(0x081, {0x00, 0x50, 1, 0, 0, 0, 0, 0}), 2s));
    EXPECT_TRUE(adapter.log().waitFor(WireDirection::FromMaster, frameLine(0x081, {0, 0, 0, 0, 0, 0, 0, 0}), 2s));

    EXPECT_NE(inStack([] { return requestNodeGuard(&masterNode, NodeId); }), 0) << "refused by the adapter";
    EXPECT_NE(inStack([] { return sendGuardRequest(&masterNode, NodeId); }), 0);
    inStack([] { return sendNmtCommand(&masterNode, NodeId, 1); });
    ASSERT_TRUE(adapter.log().waitFor(WireDirection::FromMaster, "t00020105", 2s));
    EXPECT_FALSE(masterSent(adapter, "t7050")) << "would read as node 5's boot-up";
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
    EXPECT_TRUE(waitFor([] {
        return inStack([] {
            uint8_t packed = 0;
            for (uint16_t i = 0; i < 8; ++i) {
                uint8_t bit = 0, type = 0;
                uint32_t size = 1;
                getOdEntry(&masterNode, uint16_t(0x200F + i), 0, &bit, &size, &type, 0);
                packed = uint8_t(packed | (bit & 1) << i);
            }
            return packed == 0xA5;
        });
    })) << "the eight booleans of the receive PDO";
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
    EXPECT_TRUE(adapter.log().waitFor(WireDirection::FromMaster, frameLine(0x223, {0x3C}), 2s)) << "type 1: on SYNC";
    EXPECT_FALSE(masterSent(adapter, "t1C00")) << "no data frame in place of the request";
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
        ASSERT_TRUE(waitFor([] { return inStack([] { return slaveNode.commSwitches.lss == 1; }); }));
    }

    void TearDown() override
    {
        stopStackTimerLoop([](NodeContext *, uint32_t) { setNodeState(&slaveNode, NmtState::Stopped); });
        closeCanPort(&slaveNode);
        adapter.stop();
    }

    // Sends a request; waits for the stack's answer unless `answer` is empty.
    void exchange(std::vector<uint8_t> request, std::vector<uint8_t> answer)
    {
        const size_t mark = adapter.log().size();
        const uint8_t command = request[0];
        adapter.sendFrame(lssRequest(command, {request.begin() + 1, request.end()}));
        const std::string sent = frameLine(lssRequest(command, {request.begin() + 1, request.end()}));
        ASSERT_TRUE(adapter.log().waitFor(WireDirection::ToMaster, sent, 2s, mark));
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
    exchange({76}, {80}); // identify non-configured: the slave has no id
    exchange({4, 1}, {});
    exchange({17, 0}, {17, 1}); // 0 is not a node id
    exchange({17, 9}, {17, 0});
    exchange({94}, {94, kNoNodeId});
    exchange({19, 0, 0}, {19, 0});
    const size_t mark = adapter.log().size();
    adapter.sendFrame(lssRequest(21, {20, 0}));
    EXPECT_TRUE(adapter.log().waitFor(WireDirection::FromMaster, "S8", 2s, mark)) << "1M: the adapter's code 8";
    EXPECT_TRUE(waitFor([] { return inStack([] { return slaveNode.port != nullptr; }); })) << "port given back";
    exchange({4, 0}, {});
    EXPECT_TRUE(adapter.log().waitFor(WireDirection::FromMaster, "t709100", 2s)) << "boots with the configured id";
    EXPECT_EQ(inStack([] { return slaveId; }), 9);
}

} // namespace
} // namespace veqtest
