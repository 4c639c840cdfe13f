// The 50 ms time-out of a transfer line: the alarm each start arms and each
// accepted frame re-arms, the abort frame and callback when it expires, what
// the callback may do with the line, late answers, and one run against the
// real timer thread.
#include "sdo_fixture.h"

#include "canopen/abort_codes.h"
#include "canopen/alarm.h"
#include "canopen/sdo.h"
#include "canopen/stack_clock.h"
#include "canopen/stack_lock.h"
#include "canopen/stack_timer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace sdotest {
namespace {

class SdoTimeoutTest : public SdoTest {
protected:
    const AlarmSlot &alarmOf(int lineNo)
    {
        EXPECT_NE(line(lineNo).alarmId, kNoAlarm);
        return alarmSlots[line(lineNo).alarmId];
    }
};

TEST_F(SdoTimeoutTest, StartArmsAOneShotOfFiftyMilliseconds)
{
    ASSERT_EQ(startRead(kU32, 0), 0);
    const AlarmSlot &alarm = alarmOf(0);
    EXPECT_EQ(alarm.state, AlarmState::Armed);
    EXPECT_EQ(alarm.callback, &processSdoTimeout);
    EXPECT_EQ(alarm.id, 0u); // the line number
    EXPECT_EQ(alarm.period, 0u);
    EXPECT_EQ(alarm.due - getElapsedTime(), 50u);
}

TEST_F(SdoTimeoutTest, AcceptedFrameRestartsTheTimeOut)
{
    ASSERT_EQ(startRead(kDomains, 4), 0);
    clockMs += 30;
    feed(sdo(kFromPeer, 0x41, kDomains, 4, 20));
    EXPECT_EQ(alarmOf(0).due, 30u + 50u);
    takeSent();
    fireAlarms(); // the wake-up armed for the first 50 ms finds nothing due
    EXPECT_TRUE(takeSent().empty());
    EXPECT_TRUE(completions.empty());
    fireAlarms();
    EXPECT_EQ(takeSent(), Frames{sdo(kToPeer, 0x80, kDomains, 4, SdoAbort::TimedOut)});
    EXPECT_EQ(completions.size(), 1u);
}

TEST_F(SdoTimeoutTest, ExpiryAbortsCallsBackAndFreesTheLine)
{
    ASSERT_EQ(startRead(0x1008, 0), 0);
    takeSent();
    fireAlarms();
    EXPECT_EQ(takeSent(), Frames{sdo(kToPeer, 0x80, 0x1008, 0, SdoAbort::TimedOut)});
    ASSERT_EQ(completions.size(), 1u);
    EXPECT_EQ(completions[0].nodeId, kPeerId);
    EXPECT_EQ(completions[0].result, kSdoNoClientLine);
    EXPECT_EQ(completions[0].abortCode, SdoAbort::TimedOut);
    EXPECT_EQ(line(0).state, SdoState::Free);
    EXPECT_EQ(line(0).alarmId, kNoAlarm);
}

TEST_F(SdoTimeoutTest, LateAnswerAfterTimeOutIsRefused)
{
    ASSERT_EQ(startRead(kU32, 0), 0);
    fireAlarms();
    takeSent();
    feed(sdo(kFromPeer, 0x43, kU32, 0, 0x11223344));
    EXPECT_EQ(takeSent(), Frames{sdo(kToPeer, 0x80, 0, 0, SdoAbort::LocalControl)});
    EXPECT_EQ(completions.size(), 1u); // only the time-out's
}

TEST_F(SdoTimeoutTest, LineTheCallbackLeftIsFreedAfterwards)
{
    ASSERT_EQ(readRemoteEntry(&node, kPeerId, kU32, 0, 7, onAnyOnlyCount, 0), 0);
    fireAlarms();
    EXPECT_EQ(countedCalls, 1);
    EXPECT_EQ(line(0).state, SdoState::Free);
    EXPECT_EQ(startRead(kU32, 0), 0); // the node is usable again
}

// A callback that closes its line and starts the next try at once.
int retries = 0;
void closeAndRetry(NodeContext *node, uint8_t nodeId)
{
    closeSdoTransfer(node, nodeId, SdoRole::Client);
    if (retries++ == 0) {
        EXPECT_EQ(readRemoteEntry(node, nodeId, kU8, 0, 5, closeAndRetry, 0), 0);
    }
}

TEST_F(SdoTimeoutTest, CallbackMayStartTheNextTransferOnTheSameLine)
{
    retries = 0;
    ASSERT_EQ(readRemoteEntry(&node, kPeerId, kU32, 0, 7, closeAndRetry, 0), 0);
    takeSent();
    fireAlarms();
    EXPECT_EQ(takeSent(), (Frames{sdo(kToPeer, 0x80, kU32, 0, SdoAbort::TimedOut), sdo(kToPeer, 0x40, kU8, 0)}));
    EXPECT_EQ(line(0).state, SdoState::Upload) << "the new transfer must survive its predecessor's clean-up";
    EXPECT_EQ(line(0).index, kU8);
    EXPECT_NE(line(0).alarmId, kNoAlarm);
    fireAlarms();
    EXPECT_EQ(takeSent(), Frames{sdo(kToPeer, 0x80, kU8, 0, SdoAbort::TimedOut)});
    EXPECT_EQ(retries, 2);
}

// A callback that starts the next transfer without closing its line first.
void retryWithoutClosing(NodeContext *node, uint8_t nodeId)
{
    if (retries++ == 0) {
        EXPECT_EQ(readRemoteEntry(node, nodeId, kU8, 0, 5, SdoTest::onRead, 0), 0);
    }
}

TEST_F(SdoTimeoutTest, CallbackMayStartTheNextTransferOnAnotherLine)
{
    retries = 0;
    ASSERT_EQ(readRemoteEntry(&node, kPeerId, kU32, 0, 7, retryWithoutClosing, 0), 0);
    fireAlarms();
    EXPECT_EQ(line(0).state, SdoState::Free);
    EXPECT_EQ(line(1).state, SdoState::Upload);
    feed(sdo(kFromPeer, 0x4F, kU8, 0, 9));
    ASSERT_EQ(completions.size(), 1u);
    EXPECT_EQ(completions[0].data, Bytes{9});
}

TEST_F(SdoTimeoutTest, ServerLineTimesOutWithItsOwnAbort)
{
    feed(sdo(kToUs, 0x21, kDomains, 4, 889));
    EXPECT_EQ(takeSent(), Frames{sdo(kFromUs, 0x60, kDomains, 4)});
    fireAlarms();
    EXPECT_EQ(takeSent(), Frames{sdo(kFromUs, 0x80, kDomains, 4, SdoAbort::TimedOut)});
    EXPECT_EQ(line(0).state, SdoState::Free);
}

TEST_F(SdoTimeoutTest, FullAlarmTableRefusesTheStart)
{
    for (AlarmSlot &slot : alarmSlots)
        slot.state = AlarmState::Armed;
    highestAlarm = kAlarmSlots - 1;
    EXPECT_EQ(startRead(kU32, 0), -1) << "a line without time-out could hang forever";
    EXPECT_TRUE(takeSent().empty());
    EXPECT_EQ(line(0).state, SdoState::Free);
    for (AlarmSlot &slot : alarmSlots)
        slot = AlarmSlot{};
    highestAlarm = -1;
}

// --- the real timer thread -------------------------------------------------------

std::mutex doneMutex;
std::condition_variable doneSignal;
bool timedOut = false;
uint32_t doneAtMs = 0;

void noteDone(NodeContext *, uint8_t)
{
    std::lock_guard<std::mutex> lock(doneMutex);
    timedOut = true;
    doneAtMs = stackTickMs();
    doneSignal.notify_all();
}

void noStart(NodeContext *, uint32_t)
{
}

TEST_F(SdoTimeoutTest, SilentServerTimesOutThroughTheTimerThread)
{
    setStackClock(nullptr);
    initStackTimers();
    startStackTimerLoop(noStart);
    timedOut = false;
    uint32_t startedAtMs = 0;
    {
        StackLockGuard guard;
        startedAtMs = stackTickMs();
        ASSERT_EQ(readRemoteEntry(&node, kPeerId, kU32, 0, 7, noteDone, 0), 0);
    }
    {
        std::unique_lock<std::mutex> lock(doneMutex);
        EXPECT_TRUE(doneSignal.wait_for(lock, std::chrono::seconds(5), [] { return timedOut; }));
    }
    stopStackTimerLoop(nullptr);
    EXPECT_GE(doneAtMs - startedAtMs, 50u);
    EXPECT_EQ(takeSent(), (Frames{sdo(kToPeer, 0x40, kU32, 0), sdo(kToPeer, 0x80, kU32, 0, SdoAbort::TimedOut)}));
}

} // namespace
} // namespace sdotest
