// SYNC production (periods, restarts on parameter writes, the sub-millisecond
// period) and the emergency unit (set/clear frames, register, history).
#include "service_fixture.h"

#include "alarm.h"
#include "emcy.h"
#include "sync.h"

namespace svctest {
namespace {

using SyncTest = ServiceTest;

TEST_F(SyncTest, PeriodFromObject1006)
{
    struct Case {
        uint32_t cobId;
        uint32_t periodUs;
        int32_t alarmPeriodMs; // -1: no alarm
    } cases[] = {
        {0x40000080, 50000, 50},
        {0x40000080, 1500, 1},
        {0x40000080, 999, 1}, // below 1 ms: run at 1 ms, not at 0 ms
        {0x40000080, 1, 1},
        {0x40000080, 0, -1},
        {0x00000080, 10000, -1}, // not the producer
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.periodUs);
        value<uint32_t>(0x1005, 0) = c.cobId;
        value<uint32_t>(0x1006, 0) = c.periodUs;
        startSync(&node);
        if (c.alarmPeriodMs < 0) {
            EXPECT_EQ(node.syncAlarm, kNoAlarm);
            continue;
        }
        ASSERT_NE(node.syncAlarm, kNoAlarm);
        EXPECT_EQ(alarmSlots[node.syncAlarm].period, uint32_t(c.alarmPeriodMs));
        advance(static_cast<uint32_t>(c.alarmPeriodMs) * 3);
        EXPECT_EQ(takeSent(), (Frames(3, Frame{0x080, {}})));
        stopSync(&node);
    }
}

TEST_F(SyncTest, WritesTo1005And1006RestartProduction)
{
    value<uint32_t>(0x1006, 0) = 10000;
    startSync(&node);
    EXPECT_EQ(write(0x1006, 0, 20000), 0u);
    advance(19);
    EXPECT_TRUE(takeSent().empty());
    advance(1);
    EXPECT_EQ(takeSent().size(), 1u);
    EXPECT_EQ(write(0x1005, 0, 0x00000080), 0u) << "producer bit cleared";
    advance(100);
    EXPECT_TRUE(takeSent().empty());
    stopSync(&node);
    EXPECT_EQ(write(0x1005, 0, 0x40000080), 0u) << "stopped: no longer watched";
    EXPECT_EQ(node.syncAlarm, kNoAlarm);
    EXPECT_EQ(takeEvents(), std::vector<std::string>{"postSync"});
}

using EmcyTest = ServiceTest;

TEST_F(EmcyTest, SetClearAndHistory)
{
    node.commSwitches.emcy = 1;
    startEmcy(&node);
    EXPECT_EQ(setEmcyError(&node, 0x2310, 0x02, 0xBEEF), 0);
    EXPECT_EQ(setEmcyError(&node, 0x2310, 0x02, 0xBEEF), 0) << "already active";
    EXPECT_EQ(setEmcyError(&node, 0x4210, 0x08, 0), 0);
    EXPECT_EQ(value<uint8_t>(0x1001, 0), 0x0A);
    EXPECT_EQ(value<uint8_t>(0x1003, 0), 2);
    EXPECT_EQ(value<uint32_t>(0x1003, 1), 0x4210u);
    EXPECT_EQ(value<uint32_t>(0x1003, 2), 0xBEEF2310u);
    EXPECT_EQ(clearEmcyError(&node, 0x2310), 0);
    EXPECT_EQ(clearEmcyError(&node, 0x2310), 1) << "no longer active";
    EXPECT_EQ(value<uint8_t>(0x1001, 0), 0x08);
    EXPECT_EQ(clearEmcyError(&node, 0x4210), 0);
    EXPECT_EQ(node.emcyErrorState, 0);
    EXPECT_EQ(takeSent(), (Frames{frame8(0x81, {0x10, 0x23, 0x02}), frame8(0x81, {0x10, 0x42, 0x0A}),
                                  frame8(0x81, {})}))
        << "one frame per new error, then the error reset";
    EXPECT_EQ(write(0x1003, 0, 0), 0u);
    EXPECT_EQ(value<uint32_t>(0x1003, 1), 0u) << "writing 0 to the count clears the history";

    const uint8_t data[6] = {1, 2, 3, 4, 5, 6};
    sendEmcy(&node, 0x1000, 1, data, 6);
    sendEmcy(&node, 0x1000, 1, data, 2);
    EXPECT_EQ(takeSent(), (Frames{{0x81, {0x00, 0x10, 1, 1, 2, 3, 4, 5}}, {0x81, {0x00, 0x10, 1, 1, 2}}}));
}

TEST_F(EmcyTest, EightSlotsAndEmcyOff)
{
    for (uint16_t code = 1; code <= 8; ++code)
        EXPECT_EQ(setEmcyError(&node, code, 1, 0), 1) << "recorded, not sent: EMCY is off";
    EXPECT_EQ(setEmcyError(&node, 9, 1, 0), 1) << "no slot";
    EXPECT_EQ(value<uint8_t>(0x1003, 0), 4) << "count limited to the history length";
    EXPECT_TRUE(takeSent().empty());
}

TEST_F(EmcyTest, ReceivedFramesOfEightBytesOnly)
{
    node.commSwitches.emcy = 1;
    feed(0x085, {0x10, 0x23, 0x02, 0, 0});
    feed(0x085, {0x10, 0x23, 0x02, 0, 0, 0, 0, 0});
    EXPECT_EQ(takeEvents(), std::vector<std::string>{"emcy 5 0x2310 0x2"});
    node.commSwitches.emcy = 0;
    feed(0x085, {0x10, 0x23, 0x02, 0, 0, 0, 0, 0});
    EXPECT_TRUE(takeEvents().empty());
}

} // namespace
} // namespace svctest
