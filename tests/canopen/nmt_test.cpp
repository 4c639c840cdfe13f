// NMT state machine and frame dispatch of the local node: frames captured
// through a fake driver bound into the driver table, switches per state,
// hooks, node ids and their COB-IDs, and the NMT-slave commands.
#include "canopen/dispatch.h"
#include "canopen/master_od.h"
#include "canopen/nmt.h"
#include "canopen/port.h"
#include "canopen/stack_lock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<CanMessage> sent;
uint8_t captureSend(CanHandle, const CanMessage *frame)
{
    sent.push_back(*frame);
    return 0;
}

std::vector<std::string> hooks;
void onInit(NodeContext *) { hooks.push_back("init"); }
void onPreOp(NodeContext *) { hooks.push_back("preop"); }
void onOp(NodeContext *) { hooks.push_back("op"); }
void onStop(NodeContext *) { hooks.push_back("stopped"); }
void onResetNode(NodeContext *) { hooks.push_back("resetNode"); }
void onResetComm(NodeContext *) { hooks.push_back("resetComm"); }

uint32_t readU32(uint16_t index, uint8_t sub)
{
    uint32_t value = 0;
    uint32_t size = 4;
    uint8_t type = 0;
    getOdEntry(&masterNode, index, sub, &value, &size, &type, 0);
    return value;
}

void writeU32(uint16_t index, uint8_t sub, uint32_t value)
{
    uint32_t size = 4;
    ASSERT_EQ(setOdEntry(&masterNode, index, sub, &value, &size, 0), 0u);
}

bool switchesAre(const CommSwitches &s, std::initializer_list<int> wanted)
{
    const std::vector<int> w(wanted);
    const std::vector<int> got = {s.bootUp, s.sdo, s.emcy, s.sync, s.lifeGuard, s.pdo, s.lss};
    return got == w;
}

// Works on the master record itself, restored after each test.
class NmtTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        enterStackLock();
        saved_ = masterNode;
        savedDriver_ = canDriver;
        canDriver.send = captureSend;
        port_.handle = this;
        masterNode.port = &port_;
        masterNode.onInitialisation = onInit;
        masterNode.onPreOperational = onPreOp;
        masterNode.onOperational = onOp;
        masterNode.onStopped = onStop;
        masterNode.onNmtResetNode = onResetNode;
        masterNode.onNmtResetComm = onResetComm;
        sent.clear();
        hooks.clear();
    }

    void TearDown() override
    {
        masterNode = saved_;
        *masterNode.nodeId = 0;
        *masterNode.emcyCobId = 0x80;
        writeU32(0x1400, 1, 0x1C0);
        writeU32(0x1800, 1, 0x223);
        writeU32(0x1280, 1, 0);
        writeU32(0x1280, 2, 0);
        canDriver = savedDriver_;
        leaveStackLock();
    }

    void startUp()
    {
        setNodeId(&masterNode, 1);
        ASSERT_EQ(setNodeState(&masterNode, NmtState::Initialisation), NmtState::PreOperational);
        sent.clear();
        hooks.clear();
    }

    NodeContext saved_;
    CanDriver savedDriver_{};
    CanPortSlot port_;
};

TEST_F(NmtTest, StartUpSendsTheBootUpFrameAndGoesPreOperational)
{
    ASSERT_TRUE(switchesAre(masterNode.commSwitches, {0, 0, 0, 0, 0, 0, 0}));
    setNodeId(&masterNode, 1);
    EXPECT_EQ(getNodeId(&masterNode), 1);
    EXPECT_EQ(setNodeState(&masterNode, NmtState::Initialisation), NmtState::PreOperational);
    EXPECT_EQ(getNodeState(&masterNode), NmtState::PreOperational);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].cobId, 0x701);
    EXPECT_EQ(sent[0].len, 1);
    EXPECT_EQ(sent[0].data[0], 0);
    EXPECT_EQ(sent[0].rtr, 0);
    EXPECT_EQ(hooks, (std::vector<std::string>{"init", "preop"}));
    // SDO, EMCY and LSS on; SYNC and guarding are never applied.
    EXPECT_TRUE(switchesAre(masterNode.commSwitches, {0, 1, 1, 0, 0, 0, 1}));
}

TEST_F(NmtTest, FirstNodeIdMovesOnlyTheEmcyCobId)
{
    setNodeId(&masterNode, 1);
    EXPECT_EQ(*masterNode.emcyCobId, 0x81u);
    EXPECT_EQ(readU32(0x1400, 1), 0x1C0u);
    EXPECT_EQ(readU32(0x1800, 1), 0x223u);
    EXPECT_EQ(masterNode.lastNodeId, 1);
}

TEST_F(NmtTest, DefaultCobIdsFollowTheNodeIdCustomOnesStay)
{
    setNodeId(&masterNode, 1);
    writeU32(0x1400, 1, 0x201);
    writeU32(0x1800, 1, 0x3A5);
    setNodeId(&masterNode, 2);
    EXPECT_EQ(readU32(0x1400, 1), 0x202u);
    EXPECT_EQ(readU32(0x1800, 1), 0x3A5u) << "a custom transmit-PDO COB-ID survives";
    EXPECT_EQ(*masterNode.emcyCobId, 0x82u);

    setNodeId(&masterNode, kNoNodeId);
    EXPECT_EQ(getNodeId(&masterNode), kNoNodeId);
    setNodeId(&masterNode, 4);
    EXPECT_EQ(readU32(0x1400, 1), 0x204u) << "from no id every default is written";
    EXPECT_EQ(readU32(0x1800, 1), 0x184u);
    EXPECT_EQ(*masterNode.emcyCobId, 0x84u);
}

TEST_F(NmtTest, InvalidNodeIdsChangeNothing)
{
    setNodeId(&masterNode, 1);
    setNodeId(&masterNode, 0);
    EXPECT_EQ(getNodeId(&masterNode), 1);
    setNodeId(&masterNode, 200);
    EXPECT_EQ(getNodeId(&masterNode), 1);
    EXPECT_EQ(*masterNode.emcyCobId, 0x81u);
    EXPECT_EQ(masterNode.lastNodeId, 200) << "the last given id is kept even so";
}

TEST_F(NmtTest, WithoutNodeIdNoBootUpIsSent)
{
    setNodeId(&masterNode, kNoNodeId);
    EXPECT_EQ(sendBootUp(&masterNode), 0);
    EXPECT_EQ(setNodeState(&masterNode, NmtState::Initialisation), NmtState::PreOperational);
    EXPECT_TRUE(sent.empty());
}

TEST_F(NmtTest, StoppingSwitchesSdoAndEmcyOffAndKeepsLss)
{
    startUp();
    EXPECT_EQ(setNodeState(&masterNode, NmtState::Stopped), NmtState::Stopped);
    EXPECT_TRUE(switchesAre(masterNode.commSwitches, {0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(hooks, std::vector<std::string>{"stopped"});
    EXPECT_TRUE(sent.empty());
}

TEST_F(NmtTest, StoppingFreesEverySdoLine)
{
    startUp();
    masterNode.sdoLines[3].state = SdoState::Upload;
    masterNode.sdoLines[3].role = SdoRole::Client;
    masterNode.sdoLines[31].state = SdoState::AbortedLocally;
    setNodeState(&masterNode, NmtState::Stopped);
    for (const SdoTransferLine &line : masterNode.sdoLines)
        EXPECT_EQ(line.state, SdoState::Free);
}

TEST_F(NmtTest, OperationalSwitchesPdoOnAndLssOff)
{
    startUp();
    EXPECT_EQ(setNodeState(&masterNode, NmtState::Operational), NmtState::Operational);
    EXPECT_TRUE(switchesAre(masterNode.commSwitches, {0, 1, 1, 0, 0, 1, 0}));
    EXPECT_EQ(setNodeState(&masterNode, NmtState::PreOperational), NmtState::PreOperational);
    EXPECT_TRUE(switchesAre(masterNode.commSwitches, {0, 1, 1, 0, 0, 0, 1}));
    EXPECT_EQ(hooks, (std::vector<std::string>{"op", "preop"}));
}

TEST_F(NmtTest, SameStateOrUnknownStateDoesNothing)
{
    startUp();
    EXPECT_EQ(setNodeState(&masterNode, NmtState::PreOperational), NmtState::PreOperational);
    EXPECT_EQ(setNodeState(&masterNode, 3), kNmtRefused);
    EXPECT_EQ(setNodeState(&masterNode, NmtState::Unknown), kNmtRefused);
    EXPECT_EQ(getNodeState(&masterNode), NmtState::PreOperational);
    EXPECT_TRUE(hooks.empty());
    EXPECT_TRUE(sent.empty());
}

uint32_t refusedOperational = 0;
uint32_t refusedStopped = 0;
void tryLeaveInitialisation(NodeContext *node)
{
    refusedOperational = setNodeState(node, NmtState::Operational);
    refusedStopped = setNodeState(node, NmtState::Stopped);
}

TEST_F(NmtTest, OperationalAndStoppedAreRefusedDuringInitialisation)
{
    masterNode.onInitialisation = tryLeaveInitialisation;
    setNodeId(&masterNode, 1);
    EXPECT_EQ(setNodeState(&masterNode, NmtState::Initialisation), NmtState::PreOperational);
    EXPECT_EQ(refusedOperational, kNmtRefused);
    EXPECT_EQ(refusedStopped, kNmtRefused);
}

TEST_F(NmtTest, NmtAndGuardFrames)
{
    EXPECT_EQ(sendNmtCommand(&masterNode, 5, 1), 0);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].cobId, 0x000);
    EXPECT_EQ(sent[0].len, 2);
    EXPECT_EQ(sent[0].data[0], 1);
    EXPECT_EQ(sent[0].data[1], 5);

    masterNode.remoteNodeState[5] = NmtState::Operational;
    masterNode.remoteNodeState[6] = NmtState::Operational;
    EXPECT_EQ(requestNodeGuard(&masterNode, 5), 0);
    EXPECT_EQ(masterNode.remoteNodeState[5], NmtState::Unknown);
    EXPECT_EQ(masterNode.remoteNodeState[6], NmtState::Operational);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].cobId, 0x705);
    EXPECT_EQ(sent[1].rtr, 1);
    EXPECT_EQ(sent[1].len, 0);
    requestNodeGuard(&masterNode, 0);
    EXPECT_EQ(masterNode.remoteNodeState[6], NmtState::Unknown);
}

TEST_F(NmtTest, SendingWithoutPortFails)
{
    masterNode.port = nullptr;
    setNodeId(&masterNode, 1);
    EXPECT_EQ(sendBootUp(&masterNode), 1);
    EXPECT_EQ(sendNmtCommand(&masterNode, 0, 1), 1);
}

TEST_F(NmtTest, MasterIgnoresNmtCommands)
{
    startUp();
    const CanMessage start = {0x000, 0, 2, {1, 0}};
    dispatchCanMessage(&masterNode, &start);
    EXPECT_EQ(getNodeState(&masterNode), NmtState::PreOperational);
    EXPECT_TRUE(hooks.empty());
}

TEST_F(NmtTest, SdoFramesReachTheSdoUnitOnlyWhileItIsSwitchedOn)
{
    startUp();
    writeU32(0x1280, 1, 0x605);
    writeU32(0x1280, 2, 0x585);
    // A short frame on the client's answer COB-ID makes the SDO unit answer
    // with an abort frame, which shows that the frame arrived there.
    const CanMessage shortAnswer = {0x585, 0, 3, {0x43, 0x00, 0x10}};
    masterNode.commSwitches.sdo = 0;
    dispatchCanMessage(&masterNode, &shortAnswer);
    EXPECT_TRUE(sent.empty()) << "SDO switched off";

    masterNode.commSwitches.sdo = 1;
    const CanMessage aboveElevenBits = {0x585 | 0x800, 0, 3, {0x43, 0x00, 0x10}};
    dispatchCanMessage(&masterNode, &aboveElevenBits);
    EXPECT_TRUE(sent.empty()) << "function code 27 has no unit, even though its low bits match";

    dispatchCanMessage(&masterNode, &shortAnswer);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].cobId, 0x605);
    EXPECT_EQ(sent[0].data[0], 0x80);
    EXPECT_EQ(sent[0].data[7], 0x08) << "abort 0x08000000";
}

// The same commands reach a node that acts as NMT slave.
class NmtSlaveTest : public NmtTest {
protected:
    void SetUp() override
    {
        NmtTest::SetUp();
        masterNode.isSlave = &slave_;
        startUp();
    }

    void command(uint8_t cmd, uint8_t nodeId, uint8_t len = 2)
    {
        const CanMessage frame = {0x000, 0, len, {cmd, nodeId}};
        dispatchCanMessage(&masterNode, &frame);
    }

    const uint8_t slave_ = 1;
};

TEST_F(NmtSlaveTest, StartStopAndPreOperational)
{
    command(1, 0);
    EXPECT_EQ(getNodeState(&masterNode), NmtState::Operational);
    command(1, 1);
    EXPECT_EQ(hooks, std::vector<std::string>{"op"}) << "start while operational is not accepted";
    command(2, 1);
    EXPECT_EQ(getNodeState(&masterNode), NmtState::Stopped);
    command(128, 0);
    EXPECT_EQ(getNodeState(&masterNode), NmtState::PreOperational);
    command(128, 0);
    command(2, 0);
    EXPECT_EQ(getNodeState(&masterNode), NmtState::Stopped);
    EXPECT_EQ(hooks, (std::vector<std::string>{"op", "stopped", "preop", "stopped"}));
}

TEST_F(NmtSlaveTest, CommandsForOtherNodesOrTooShortAreIgnored)
{
    command(1, 2);
    command(1, 0, 1);
    command(99, 0);
    EXPECT_EQ(getNodeState(&masterNode), NmtState::PreOperational);
    EXPECT_TRUE(hooks.empty());
}

TEST_F(NmtSlaveTest, ResetNodeBootsAgain)
{
    command(129, 1);
    EXPECT_EQ(hooks, (std::vector<std::string>{"resetNode", "init", "preop"}));
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].cobId, 0x701);
}

TEST_F(NmtSlaveTest, ResetCommunicationRestoresTheNodeIdAndBootsAgain)
{
    writeU32(0x1800, 1, 0x181);
    *masterNode.emcyCobId = 0x99;
    command(130, 0);
    EXPECT_EQ(hooks, (std::vector<std::string>{"resetComm", "init", "preop"}));
    EXPECT_EQ(getNodeId(&masterNode), 1);
    EXPECT_EQ(*masterNode.emcyCobId, 0x81u) << "defaults are written again from no id";
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].cobId, 0x701);
}

TEST_F(NmtSlaveTest, NoCommandIsTakenBeforeTheFirstState)
{
    masterNode.nmtState = NmtState::Unknown;
    command(1, 0);
    EXPECT_EQ(getNodeState(&masterNode), NmtState::Unknown);
}

TEST(Dispatch, FunctionCodesAboveFifteenAreDropped)
{
    NodeContext node = masterNode;
    node.commSwitches = {1, 1, 1, 1, 1, 1, 1};
    const CanMessage frame = {0x800, 0, 2, {1, 0}};
    dispatchCanMessage(&node, &frame); // must not index past the table
    SUCCEED();
}

} // namespace
