// Port slots, receive threads and the timer thread: null ports, failed and
// repeated opens, frames dispatched from the receive thread, closing that
// joins the thread, the timer loop's start and exit functions, and the whole
// connect / disconnect order against the real adapter driver on a pty.
#include "canopen/alarm.h"
#include "canopen/master_od.h"
#include "canopen/nmt.h"
#include "canopen/port.h"
#include "canopen/adapter/serial_can.h"
#include "canopen/stack_lock.h"
#include "canopen/stack_timer.h"
#include "stack_test_pty.h"
#include "stack_test_wait.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

namespace {

// A driver whose receive hands out frames that the test pushes, and which
// wakes a waiting receive on close the way the serial driver does.
struct FakeBus {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<CanMessage> incoming;
    bool closed = false;
    int opens = 0;
    int closes = 0;
    int receivesRunning = 0;
    bool failOpen = false;
};
FakeBus bus;

uint8_t fakeReceive(CanHandle, CanMessage *frames)
{
    std::unique_lock<std::mutex> lock(bus.mutex);
    ++bus.receivesRunning;
    bus.changed.wait_for(lock, std::chrono::milliseconds(500),
                         [] { return bus.closed || !bus.incoming.empty(); });
    uint8_t n = 0;
    while (!bus.incoming.empty() && n < kCanReceiveBatch) {
        frames[n++] = bus.incoming.front();
        bus.incoming.pop_front();
    }
    --bus.receivesRunning;
    return n;
}

CanHandle fakeOpen(const BoardSpec *)
{
    std::lock_guard<std::mutex> lock(bus.mutex);
    if (bus.failOpen)
        return nullptr;
    ++bus.opens;
    bus.closed = false;
    return &bus;
}

int fakeClose(CanHandle)
{
    {
        std::lock_guard<std::mutex> lock(bus.mutex);
        ++bus.closes;
        bus.closed = true;
    }
    bus.changed.notify_all();
    return 1;
}

class PortTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = canDriver;
        canDriver = CanDriver{fakeReceive, nullptr, fakeOpen, fakeClose, nullptr};
        std::lock_guard<std::mutex> lock(bus.mutex);
        bus.incoming.clear();
        bus.closed = false;
        bus.opens = bus.closes = 0;
        bus.failOpen = false;
    }

    void TearDown() override { canDriver = saved_; }

    // A node that takes NMT commands, so that a dispatched frame shows.
    static NodeContext slaveNode()
    {
        static const uint8_t slave = 1;
        NodeContext node = masterNode;
        node.isSlave = &slave;
        node.nmtState = NmtState::PreOperational;
        node.port = nullptr;
        return node;
    }

    void push(const CanMessage &frame)
    {
        {
            std::lock_guard<std::mutex> lock(bus.mutex);
            bus.incoming.push_back(frame);
        }
        bus.changed.notify_all();
    }

    CanDriver saved_{};
    BoardSpec spec_ = {"ttyTEST", "4800"};
};

TEST_F(PortTest, NullPortsAreRefused)
{
    const char rate = '5';
    const CanMessage frame = {0x701, 0, 1, {0}};
    EXPECT_EQ(changeCanBaudRate(nullptr, &rate), 1);
    EXPECT_EQ(canSend(nullptr, &frame), 1);
    NodeContext node;
    EXPECT_EQ(closeCanPort(&node), 0);
    EXPECT_EQ(bus.closes, 0);
}

TEST_F(PortTest, SendWithoutBoundSendFunctionFails)
{
    NodeContext node = slaveNode();
    CanPortSlot *port = openCanPort(&spec_, &node);
    ASSERT_NE(port, nullptr);
    const CanMessage frame = {0x701, 0, 1, {0}};
    EXPECT_EQ(canSend(port, &frame), 1);
    EXPECT_EQ(closeCanPort(&node), 1);
}

TEST_F(PortTest, FailedOpenSaysWhichBoardAndLeavesNoPort)
{
    bus.failOpen = true;
    NodeContext node = slaveNode();
    BoardSpec spec = {"7", "2400"};
    testing::internal::CaptureStdout();
    EXPECT_EQ(openCanPort(&spec, &node), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "CanOpen : Cannot open board {busname='7',baudrate='2400'}\n");
    EXPECT_EQ(node.port, nullptr);
    for (const CanPortSlot &slot : canPortSlots)
        EXPECT_EQ(slot.inUse.load(), 0);
}

TEST_F(PortTest, ReceivedFramesAreDispatchedToTheNodeInOrder)
{
    NodeContext node = slaveNode();
    CanPortSlot *port = openCanPort(&spec_, &node);
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(node.port, port);
    EXPECT_EQ(port->node, &node);
    EXPECT_EQ(port->inUse.load(), 1);
    push({0x000, 0, 2, {1, 0}});   // start
    push({0x000, 0, 2, {128, 0}}); // back to pre-operational
    push({0x000, 0, 2, {2, 0}});   // stop
    EXPECT_TRUE(waitFor([&] {
        StackLockGuard guard;
        return node.nmtState == NmtState::Stopped;
    }));
    EXPECT_EQ(closeCanPort(&node), 1);
}

TEST_F(PortTest, CloseJoinsTheReceiveThreadAndFreesTheSlot)
{
    NodeContext node = slaveNode();
    CanPortSlot *port = openCanPort(&spec_, &node);
    ASSERT_NE(port, nullptr);
    ASSERT_TRUE(waitFor([] {
        std::lock_guard<std::mutex> lock(bus.mutex);
        return bus.receivesRunning == 1;
    }));
    EXPECT_EQ(closeCanPort(&node), 1);
    EXPECT_EQ(bus.closes, 1);
    EXPECT_EQ(bus.receivesRunning, 0) << "no receive runs after close returned";
    EXPECT_FALSE(port->receiveThread.joinable());
    EXPECT_EQ(port->inUse.load(), 0);
    EXPECT_EQ(node.port, nullptr);
    EXPECT_EQ(closeCanPort(&node), 0);
}

TEST_F(PortTest, OpeningAgainClosesTheOldPortFirst)
{
    NodeContext node = slaveNode();
    CanPortSlot *first = openCanPort(&spec_, &node);
    ASSERT_NE(first, nullptr);
    CanPortSlot *second = openCanPort(&spec_, &node);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(bus.closes, 1);
    EXPECT_EQ(second, first) << "the freed slot is the first free one";
    EXPECT_EQ(closeCanPort(&node), 1);
}

TEST_F(PortTest, SixteenPortsAtMost)
{
    std::vector<NodeContext> nodes(kCanPortSlots + 1, slaveNode());
    for (int i = 0; i < kCanPortSlots; ++i)
        ASSERT_EQ(openCanPort(&spec_, &nodes[i]), &canPortSlots[i]);
    testing::internal::CaptureStdout();
    EXPECT_EQ(openCanPort(&spec_, &nodes[kCanPortSlots]), nullptr);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Cannot open board"), std::string::npos);
    EXPECT_EQ(bus.opens, kCanPortSlots) << "the driver is not asked without a free slot";
    for (int i = 0; i < kCanPortSlots; ++i)
        EXPECT_EQ(closeCanPort(&nodes[i]), 1);
}

// Timer loop with the real clock.
std::atomic<int> startCalls{0};
std::atomic<bool> startHadNoNode{false};
std::atomic<std::thread::id> startThread;
void onStart(NodeContext *node, uint32_t id)
{
    startHadNoNode = node == nullptr && id == 0;
    startThread = std::this_thread::get_id();
    ++startCalls;
}

std::atomic<int> exitCalls{0};
void onExit(NodeContext *node, uint32_t)
{
    if (node == nullptr)
        ++exitCalls;
}

std::atomic<int> ticks{0};
void onTick(NodeContext *, uint32_t)
{
    ++ticks;
}

TEST(TimerLoop, StartRunsInTheTimerThreadAndAlarmsFollow)
{
    initStackTimers();
    startCalls = 0;
    exitCalls = 0;
    ticks = 0;
    startStackTimerLoop(onStart);
    ASSERT_TRUE(waitFor([] { return startCalls.load() == 1; }));
    EXPECT_TRUE(startHadNoNode.load());
    EXPECT_NE(startThread.load(), std::this_thread::get_id());

    int16_t periodic;
    {
        StackLockGuard guard;
        periodic = setAlarm(nullptr, 0, onTick, 5, 5);
    }
    ASSERT_GE(periodic, 0);
    EXPECT_TRUE(waitFor([] { return ticks.load() >= 3; }));
    // What is still queued when the loop stops goes with it, and the node that
    // held it forgets the ids, which a later alarm may be given.
    NodeContext holder;
    {
        StackLockGuard guard;
        EXPECT_TRUE(isStackTimerLoopRunning());
        holder.guardAlarm = setAlarm(&holder, 0, onTick, 60000, 0);
        holder.sdoLines[3].alarmId = setAlarm(&holder, 3, onTick, 60000, 0);
    }
    stopStackTimerLoop(onExit);
    EXPECT_EQ(exitCalls.load(), 1);
    {
        StackLockGuard guard;
        EXPECT_FALSE(isStackTimerLoopRunning());
        EXPECT_EQ(highestAlarm, -1);
        EXPECT_EQ(holder.guardAlarm, kNoAlarm);
        EXPECT_EQ(holder.sdoLines[3].alarmId, kNoAlarm);
    }

    // Posted while no timer thread runs: it waits for the next start.
    {
        StackLockGuard guard;
        setAlarm(nullptr, 0, onStart, 0, 0);
    }
    startStackTimerLoop(onStart);
    EXPECT_TRUE(waitFor([] { return startCalls.load() == 3; }));
    stopStackTimerLoop(nullptr);
}

TEST(TimerLoop, StopAndStartRepeatedly)
{
    initStackTimers();
    startCalls = 0;
    for (int i = 0; i < 20; ++i) {
        EXPECT_TRUE(startStackTimerLoop(onStart));
        stopStackTimerLoop(nullptr);
    }
    // A start that the stop overtook went with its loop; only the last one runs now.
    const int before = startCalls.load();
    EXPECT_TRUE(startStackTimerLoop(onStart));
    EXPECT_TRUE(waitFor([&] { return startCalls.load() == before + 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(startCalls.load(), before + 1);
    stopStackTimerLoop(nullptr);
}

// The whole connect and disconnect order, through the real adapter driver.
void connectStart(NodeContext *, uint32_t)
{
    setNodeId(&masterNode, 1);
    setNodeState(&masterNode, NmtState::Initialisation);
}

void disconnectExit(NodeContext *, uint32_t)
{
    setNodeState(&masterNode, NmtState::Stopped);
}

TEST(ConnectSequence, OpenRateBootUpStopAndCloseOnTheWire)
{
    StackTestPty pty;
    ASSERT_TRUE(pty.isOpen());
    const CanDriver saved = canDriver;

    EXPECT_EQ(bindCanDriver(), 1);
    initStackTimers();
    BoardSpec spec = {pty.path().c_str(), "4800"};
    CanPortSlot *port = openCanPort(&spec, &masterNode);
    ASSERT_NE(port, nullptr);
    const char rate = '5';
    EXPECT_EQ(changeCanBaudRate(port, &rate), 0);
    startStackTimerLoop(connectStart);
    EXPECT_EQ(pty.read(13), "O\rS5\rt701100\r");
    {
        StackLockGuard guard;
        EXPECT_EQ(getNodeState(&masterNode), NmtState::PreOperational);
    }

    stopStackTimerLoop(disconnectExit);
    EXPECT_EQ(getNodeState(&masterNode), NmtState::Stopped);
    EXPECT_EQ(closeCanPort(&masterNode), 1);
    EXPECT_EQ(pty.read(2), "C\r");
    EXPECT_EQ(masterNode.port, nullptr);
    canDriver = saved;
}

} // namespace
