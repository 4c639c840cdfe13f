// PDO unit frame by frame: bit packing, short receive frames, the 64-bit limit, event
// and inhibit timers, transmission types on SYNC and at start, remote requests.
#include "service_fixture.h"

#include "canopen/alarm.h"
#include "canopen/pdo.h"
#include "canopen/stack_lock.h"

namespace svctest {
namespace {

const std::vector<uint32_t> kEightBooleans = {0x200F0001, 0x20100001, 0x20110001, 0x20120001,
                                              0x20130001, 0x20140001, 0x20150001, 0x20160001};

class PdoTest : public ServiceTest {
protected:
    void SetUp() override
    {
        ServiceTest::SetUp();
        node.nmtState = NmtState::Operational;
        node.commSwitches.pdo = node.commSwitches.sync = 1;
        value<uint32_t>(0x1801, 1) |= 0x80000000; // only the first transmit PDO is valid
        map(0x1A00, {0x20000008});
    }
};

TEST_F(PdoTest, EightBooleansPackIntoByteZeroAndBack)
{
    map(0x1A00, kEightBooleans);
    map(0x1600, kEightBooleans);
    for (uint16_t i = 0; i < 8; ++i)
        value<uint8_t>(uint16_t(0x200F + i), 0) = (0x8D >> i) & 1;
    EXPECT_EQ(transmitPdo(&node, 0), 1);
    EXPECT_EQ(takeSent(), (Frames{{kTpdoCob, {0x8D}}}));
    feed(kRpdoCob, {0x52});
    for (uint16_t i = 0; i < 8; ++i)
        EXPECT_EQ(value<uint8_t>(uint16_t(0x200F + i), 0), (0x52 >> i) & 1) << "bit " << i;
}

TEST_F(PdoTest, ReceiveShorterThanMappingWritesOnlyWhatFits)
{
    map(0x1600, {0x20000008, 0x20010010, 0x20020020});
    value<uint32_t>(0x2002, 0) = 0x11111111;
    feed(kRpdoCob, {0xAB, 0x34, 0x12, 0x99});
    EXPECT_EQ(value<uint8_t>(0x2000, 0), 0xAB);
    EXPECT_EQ(value<uint16_t>(0x2001, 0), 0x1234);
    EXPECT_EQ(value<uint32_t>(0x2002, 0), 0x11111111u) << "32 bits do not fit in the 8 left";

    // A length past 8 is read as 8: a 72-bit entry never fits.
    map(0x1600, {0x20000048});
    CanMessage longFrame = {kRpdoCob, 0, 15, {0x77, 1, 2, 3, 4, 5, 6, 7}};
    EXPECT_EQ(processPdoFrame(&node, &longFrame), 0);
    EXPECT_EQ(value<uint8_t>(0x2000, 0), 0xAB);
}

TEST_F(PdoTest, MappingLengthUpToSixtyFourBits)
{
    value<uint32_t>(0x2002, 0) = 0x44332211;
    struct Case {
        std::vector<uint32_t> mapping;
        int built;
        Bytes data;
    } cases[] = {{{0x20020020, 0x20020020}, 0, {0x11, 0x22, 0x33, 0x44, 0x11, 0x22, 0x33, 0x44}},
                 {{0x20020020, 0x20000008, 0x20020020}, -1, {}}, // 72 bits
                 {{}, 0, {}}};                                     // empty mapping: empty frame
    for (const Case &c : cases) {
        map(0x1A00, c.mapping);
        CanMessage frame;
        ASSERT_EQ(buildPdo(&node, 0, &frame), c.built);
        if (c.built == 0) {
            EXPECT_EQ(Bytes(frame.data, frame.data + frame.len), c.data);
        }
    }
}

TEST_F(PdoTest, EventTimerResendsAndInhibitTimeHoldsBack)
{
    value<uint16_t>(0x1800, 5) = 100;
    EXPECT_EQ(transmitPdo(&node, 0), 1);
    EXPECT_EQ(transmitPdo(&node, 0), 0) << "same frame";
    advance(99);
    EXPECT_EQ(takeSent().size(), 1u);
    advance(1);
    EXPECT_EQ(takeSent(), (Frames{{kTpdoCob, {0}}})) << "the event timer sends it again";

    value<uint16_t>(0x1800, 3) = 5; // 0.5 ms: held for a whole millisecond
    value<uint8_t>(0x2000, 0) = 1;
    EXPECT_EQ(transmitPdo(&node, 0), 1);
    value<uint8_t>(0x2000, 0) = 2;
    EXPECT_EQ(transmitPdo(&node, 0), 0) << "inhibit time runs";
    advance(1);
    EXPECT_EQ(takeSent(), (Frames{{kTpdoCob, {1}}, {kTpdoCob, {2}}}));
}

TEST_F(PdoTest, TransmissionTypesOnSyncAndAtStart)
{
    // Frames sent by startPdo, then over three SYNCs with the value unchanged.
    const int cases[][3] = {{1, 0, 3}, {3, 0, 1}, {0, 0, 1}, {252, 0, 0}, {254, 1, 0}, {255, 1, 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c[0]);
        stopPdo(&node);
        value<uint8_t>(0x1800, 2) = uint8_t(c[0]);
        startPdo(&node);
        EXPECT_EQ(int(takeSent().size()), c[1]);
        for (int i = 0; i < 3; ++i)
            feed(0x080, {});
        EXPECT_EQ(int(takeSent().size()), c[2]);
    }
}

TEST_F(PdoTest, RemoteRequestsBothWays)
{
    value<uint8_t>(0x2000, 0) = 7;
    value<uint8_t>(0x1800, 2) = 252;
    feed(0x080, {}); // the SYNC samples the value
    value<uint8_t>(0x2000, 0) = 8;
    feed(kTpdoCob, {}, 1);
    value<uint8_t>(0x1800, 2) = 253;
    feed(kTpdoCob, {}, 1);
    value<uint8_t>(0x1800, 2) = 1;
    feed(kTpdoCob, {}, 1); // not answered
    EXPECT_EQ(takeSent(), (Frames{{kTpdoCob, {7}}, {kTpdoCob, {8}}}));

    EXPECT_EQ(requestPdo(&node, 0x1400), -1) << "refused by the adapter: a failed send";
    EXPECT_EQ(refusedRemote, 1);
    EXPECT_TRUE(takeSent().empty()) << "no data frame in its place";
    EXPECT_EQ(requestPdo(&node, 0x1402), -1);
    node.commSwitches.pdo = 0;
    EXPECT_EQ(requestPdo(&node, 0x1400), 0);
}

TEST_F(PdoTest, ParameterWriteAndReceiveEventTimer)
{
    startPdo(&node);
    takeSent();
    EXPECT_EQ(write(0x1800, 5, 50), 0u) << "event timer written: the PDO restarts and sends";
    advance(50);
    EXPECT_EQ(takeSent().size(), 2u);

    map(0x1600, {0x20000008});
    value<uint16_t>(0x1400, 5) = 30;
    feed(kRpdoCob, {1});
    advance(20);
    feed(kRpdoCob, {2}); // restarts the receive timer
    advance(29);
    EXPECT_TRUE(takeEvents().empty());
    advance(1);
    EXPECT_EQ(takeEvents(), Events{"rpdoEvent 0"});
    EXPECT_EQ(rpdoAlarms[0], kNoAlarm) << "the expired timer's id goes with its slot";

    // An unrelated alarm takes the freed slot; the next receive PDO must not delete it.
    int16_t other;
    {
        StackLockGuard guard;
        other = setAlarm(&node, 7, [](NodeContext *, uint32_t) { ServiceTest::events.push_back("other"); }, 40, 0);
    }
    ASSERT_NE(other, kNoAlarm);
    feed(kRpdoCob, {3});
    advance(30);
    EXPECT_EQ(takeEvents(), Events{"rpdoEvent 0"});
    advance(10);
    EXPECT_EQ(takeEvents(), Events{"other"});
    stopPdo(&node);
}

} // namespace
} // namespace svctest
