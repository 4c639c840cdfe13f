// SYNC production (periods, the sub-millisecond period, restarts on parameter writes)
// and the emergency unit (set/clear frames, register, history, received frames).
#include "service_fixture.h"

#include "canopen/alarm.h"
#include "canopen/emcy.h"
#include "canopen/sync.h"

namespace svctest {
namespace {

using SyncTest = ServiceTest;

TEST_F(SyncTest, PeriodFromObject1006)
{
    // 0x1005, 0x1006 (µs), alarm period in ms (0: no alarm).
    const uint32_t cases[][3] = {{0x40000080, 50000, 50}, {0x40000080, 1500, 1}, {0x40000080, 999, 1},
                                 {0x40000080, 1, 1},      {0x40000080, 0, 0},    {0x00000080, 10000, 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c[1]);
        value<uint32_t>(0x1005, 0) = c[0];
        value<uint32_t>(0x1006, 0) = c[1];
        startSync(&node);
        ASSERT_EQ(node.syncAlarm == kNoAlarm, c[2] == 0);
        if (c[2] == 0)
            continue;
        EXPECT_EQ(alarmSlots[node.syncAlarm].period, c[2]) << "below 1 ms runs at 1 ms, not at 0 ms";
        advance(c[2] * 3);
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
    EXPECT_EQ(write(0x1005, 0, 0x40000080), 0u);
    EXPECT_EQ(node.syncAlarm, kNoAlarm) << "stopped: no longer watched";
    EXPECT_EQ(takeEvents(), Events{"postSync"});
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

TEST_F(EmcyTest, EightSlotsEmcyOffAndReceivedFrames)
{
    for (uint16_t code = 1; code <= 8; ++code)
        EXPECT_EQ(setEmcyError(&node, code, 1, 0), 1) << "recorded, not sent: EMCY is off";
    EXPECT_EQ(setEmcyError(&node, 9, 1, 0), 1) << "no slot";
    EXPECT_EQ(value<uint8_t>(0x1003, 0), 4) << "count limited to the history length";
    EXPECT_TRUE(takeSent().empty());

    feed(0x085, {0x10, 0x23, 0x02, 0, 0, 0, 0, 0}); // EMCY off: dropped
    node.commSwitches.emcy = 1;
    feed(0x085, {0x10, 0x23, 0x02, 0, 0}); // not 8 bytes
    feed(0x085, {0x10, 0x23, 0x02, 0, 0, 0, 0, 0});
    EXPECT_EQ(takeEvents(), Events{"emcy 5 8976 2"});
}

} // namespace
} // namespace svctest
