// The software alarm table under a driven clock: slot order, the bound
// highestAlarm, periods, one-shot slots freed before their callback, and
// alarms set or deleted from inside callbacks.
#include "canopen/alarm.h"
#include "canopen/stack_clock.h"
#include "canopen/stack_timer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

uint32_t fakeNow = 0;
uint32_t fakeClock()
{
    return fakeNow;
}

std::vector<uint32_t> calls; // ids in the order their callbacks ran
std::vector<uint32_t> callTimes;

void record(NodeContext *, uint32_t id)
{
    calls.push_back(id);
    callTimes.push_back(fakeNow);
}

class AlarmTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fakeNow = 1000;
        setStackClock(fakeClock);
        for (AlarmSlot &slot : alarmSlots)
            slot = AlarmSlot{};
        highestAlarm = -1;
        nextWakeUp = kTimerNotArmed;
        initStackTimers();
        calls.clear();
        callTimes.clear();
    }

    void TearDown() override
    {
        setStackTimer(kTimerNotArmed);
        setStackClock(nullptr);
    }

    // Moves the clock to the armed wake-up and wakes the timer there.
    void wakeAtDeadline()
    {
        ASSERT_NE(nextWakeUp, kTimerNotArmed) << "the timer is not armed";
        fakeNow = lastWake + nextWakeUp;
        runStackTimerWake();
    }
};

TEST_F(AlarmTest, NullCallbackTakesNoSlot)
{
    EXPECT_EQ(setAlarm(nullptr, 1, nullptr, 10, 0), -1);
    EXPECT_EQ(highestAlarm, -1);
    EXPECT_EQ(alarmSlots[0].state, AlarmState::Free);
    EXPECT_EQ(nextWakeUp, kTimerNotArmed);
}

TEST_F(AlarmTest, FullTableRefusesTheThirtyThird)
{
    for (int i = 0; i < kAlarmSlots; ++i)
        ASSERT_EQ(setAlarm(nullptr, static_cast<uint32_t>(i), record, 1000, 0), i);
    EXPECT_EQ(highestAlarm, kAlarmSlots - 1);
    EXPECT_EQ(setAlarm(nullptr, 99, record, 10, 0), -1);
    deleteAlarm(7);
    EXPECT_EQ(setAlarm(nullptr, 99, record, 10, 0), 7) << "a freed slot is taken again";
}

TEST_F(AlarmTest, HighestAlarmFollowsDeletes)
{
    for (int i = 0; i < 4; ++i)
        setAlarm(nullptr, 0, record, 100, 0);
    EXPECT_EQ(deleteAlarm(1), -1);
    EXPECT_EQ(highestAlarm, 3) << "deleting a lower alarm leaves the bound";
    deleteAlarm(3);
    EXPECT_EQ(highestAlarm, 2) << "deleting the highest lowers it by one";
    deleteAlarm(2);
    EXPECT_EQ(highestAlarm, 1) << "only by one, even onto a free slot";
    EXPECT_EQ(setAlarm(nullptr, 0, record, 100, 0), 1) << "the lowest free slot is taken first";
    EXPECT_EQ(setAlarm(nullptr, 0, record, 100, 0), 2);
    EXPECT_EQ(highestAlarm, 2);
    EXPECT_EQ(deleteAlarm(-1), -1);
}

TEST_F(AlarmTest, StaleIdOfAFreedSlotDoesNotLowerTheBound)
{
    const int16_t once = setAlarm(nullptr, 1, record, 10, 0);
    const int16_t other = setAlarm(nullptr, 2, record, 500, 0);
    ASSERT_EQ(other, 1);
    deleteAlarm(other);
    const int16_t reused = setAlarm(nullptr, 3, record, 500, 0);
    ASSERT_EQ(reused, 1);
    wakeAtDeadline(); // the one-shot runs and frees slot 0
    ASSERT_EQ(calls, std::vector<uint32_t>{1});
    deleteAlarm(once); // a holder that forgot its alarm already ran
    deleteAlarm(once);
    EXPECT_EQ(highestAlarm, 1);
    wakeAtDeadline();
    EXPECT_EQ(calls, (std::vector<uint32_t>{1, 3})) << "the alarm in slot 1 must still run";
}

TEST_F(AlarmTest, StaleIdOfAOneShotThatRanAtTheTopLowersTheBoundSafely)
{
    setAlarm(nullptr, 1, record, 100, 0);
    const int16_t once = setAlarm(nullptr, 2, record, 10, 0);
    ASSERT_EQ(once, 1);
    wakeAtDeadline(); // slot 1 runs and is free, the bound stays at it
    EXPECT_EQ(highestAlarm, 1);
    EXPECT_EQ(deleteAlarm(once), -1);
    EXPECT_EQ(highestAlarm, 0) << "the freed top slot leaves the searched range";
    EXPECT_EQ(setAlarm(nullptr, 3, record, 20, 0), 1);
    EXPECT_EQ(highestAlarm, 1);
    wakeAtDeadline();
    wakeAtDeadline();
    EXPECT_EQ(calls, (std::vector<uint32_t>{2, 3, 1})) << "no armed alarm is lost";
    EXPECT_EQ(callTimes, (std::vector<uint32_t>{1010, 1030, 1100}));
}

TEST_F(AlarmTest, LateWakeCountsOnlyTheArmedIntervalAsSlept)
{
    setAlarm(nullptr, 10, record, 30, 0);
    setAlarm(nullptr, 11, record, 20, 0);
    setAlarm(nullptr, 12, record, 10, 0);
    EXPECT_EQ(nextWakeUp, 10u);
    fakeNow += 40; // the thread woke late: all three are due
    lastWake = fakeNow - 40;
    runStackTimerWake();
    EXPECT_EQ(calls, (std::vector<uint32_t>{12})) << "the wake counts the armed 10 ms as slept";
    wakeAtDeadline();
    wakeAtDeadline();
    EXPECT_EQ(calls, (std::vector<uint32_t>{12, 11, 10}));
}

TEST_F(AlarmTest, SameDueTimeRunsLowestSlotFirst)
{
    setAlarm(nullptr, 2, record, 50, 0);
    setAlarm(nullptr, 1, record, 50, 0);
    wakeAtDeadline();
    EXPECT_EQ(calls, (std::vector<uint32_t>{2, 1}));
    EXPECT_EQ(nextWakeUp, kTimerNotArmed) << "nothing left: the timer is cancelled";
}

TEST_F(AlarmTest, EarlierAlarmBringsTheWakeUpForward)
{
    setAlarm(nullptr, 1, record, 100, 0);
    EXPECT_EQ(nextWakeUp, 100u);
    fakeNow += 30;
    setAlarm(nullptr, 2, record, 20, 0);
    EXPECT_EQ(nextWakeUp, 50u);
    setAlarm(nullptr, 3, record, 500, 0);
    EXPECT_EQ(nextWakeUp, 50u) << "a later alarm leaves the wake-up alone";
    wakeAtDeadline();
    EXPECT_EQ(calls, std::vector<uint32_t>{2});
    EXPECT_EQ(nextWakeUp, 50u) << "alarm 1 is due 100 ms after it was set";
    wakeAtDeadline();
    EXPECT_EQ(callTimes, (std::vector<uint32_t>{1050, 1100}));
}

TEST_F(AlarmTest, PeriodicAlarmRunsEveryPeriod)
{
    setAlarm(nullptr, 7, record, 100, 100);
    for (int i = 0; i < 4; ++i) {
        wakeAtDeadline();
        EXPECT_EQ(nextWakeUp, 100u);
    }
    EXPECT_EQ(callTimes, (std::vector<uint32_t>{1100, 1200, 1300, 1400}));
    EXPECT_EQ(alarmSlots[0].state, AlarmState::Armed);
}

TEST_F(AlarmTest, PeriodicAlarmWithFirstDelayDifferentFromPeriod)
{
    setAlarm(nullptr, 7, record, 10, 250);
    wakeAtDeadline();
    wakeAtDeadline();
    EXPECT_EQ(callTimes, (std::vector<uint32_t>{1010, 1260}));
}

int16_t slotSeen = -2;
uint8_t stateSeen = 99;
void inspectOwnSlot(NodeContext *, uint32_t id)
{
    stateSeen = alarmSlots[id].state;
    slotSeen = setAlarm(nullptr, 42, record, 5, 0);
}

TEST_F(AlarmTest, OneShotSlotIsFreeBeforeItsCallback)
{
    const int16_t id = setAlarm(nullptr, 0, inspectOwnSlot, 10, 0);
    ASSERT_EQ(id, 0);
    wakeAtDeadline();
    EXPECT_EQ(stateSeen, AlarmState::Free);
    EXPECT_EQ(slotSeen, 0) << "the callback may take its own slot again";
    EXPECT_TRUE(calls.empty()) << "an alarm set in a callback waits for the next wake-up";
    EXPECT_EQ(nextWakeUp, 5u);
    wakeAtDeadline();
    EXPECT_EQ(calls, std::vector<uint32_t>{42});
}

int16_t victim = -1;
void deleteVictim(NodeContext *, uint32_t)
{
    victim = deleteAlarm(victim);
}

TEST_F(AlarmTest, AlarmDeletedByAnEarlierCallbackDoesNotRun)
{
    setAlarm(nullptr, 0, deleteVictim, 10, 0);
    victim = setAlarm(nullptr, 1, record, 10, 0);
    wakeAtDeadline();
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(victim, -1);
}

int16_t periodicId = -1;
int periodicRuns = 0;
void stopAfterTwo(NodeContext *, uint32_t)
{
    if (++periodicRuns == 2)
        periodicId = deleteAlarm(periodicId);
}

TEST_F(AlarmTest, PeriodicAlarmStopsWhenItDeletesItself)
{
    periodicRuns = 0;
    periodicId = setAlarm(nullptr, 0, stopAfterTwo, 20, 20);
    wakeAtDeadline();
    wakeAtDeadline();
    EXPECT_EQ(periodicRuns, 2);
    EXPECT_EQ(nextWakeUp, 20u) << "deleting leaves the timer armed; the wake finds nothing";
    wakeAtDeadline();
    EXPECT_EQ(periodicRuns, 2);
    EXPECT_EQ(nextWakeUp, kTimerNotArmed);
}

NodeContext *nodeSeen = nullptr;
uint32_t idSeen = 0;
void seeArguments(NodeContext *node, uint32_t id)
{
    nodeSeen = node;
    idSeen = id;
}

TEST_F(AlarmTest, CallbackGetsTheNodeAndIdItWasSetWith)
{
    NodeContext node;
    setAlarm(&node, 0xDEADBEEF, seeArguments, 0, 0);
    EXPECT_EQ(nextWakeUp, 0u) << "zero delay wakes the timer at once";
    wakeAtDeadline();
    EXPECT_EQ(nodeSeen, &node);
    EXPECT_EQ(idSeen, 0xDEADBEEFu);
}

TEST_F(AlarmTest, ElapsedTimeWrapsWithTheTick)
{
    fakeNow = 0xFFFFFFF0u;
    initStackTimers();
    fakeNow = 0x10;
    EXPECT_EQ(getElapsedTime(), 0x20u);
    setAlarm(nullptr, 5, record, 10, 0);
    EXPECT_EQ(nextWakeUp, 0x20u + 10);
    wakeAtDeadline();
    EXPECT_EQ(calls, std::vector<uint32_t>{5});
}

} // namespace
