// PDO unit frame by frame: bit packing, short receive frames, the 64-bit
// limit, event and inhibit timers, transmission types on SYNC and at start,
// and remote requests that the adapter cannot carry.
#include "service_fixture.h"

#include "pdo.h"
#include "sync.h"

namespace svctest {
namespace {

class PdoTest : public ServiceTest {
protected:
    void SetUp() override
    {
        ServiceTest::SetUp();
        node.nmtState = NmtState::Operational;
        node.commSwitches.pdo = 1;
        node.commSwitches.sync = 1;
    }
    void setType(uint16_t comm, uint8_t type) { value<uint8_t>(comm, 2) = type; }
};

TEST_F(PdoTest, EightBooleansPackIntoByteZero)
{
    map(0x1A00, {0x200F0001, 0x20100001, 0x20110001, 0x20120001, 0x20130001, 0x20140001, 0x20150001, 0x20160001});
    const uint8_t bits[8] = {1, 0, 1, 1, 0, 0, 0, 1};
    for (uint16_t i = 0; i < 8; ++i)
        value<uint8_t>(static_cast<uint16_t>(0x200F + i), 0) = bits[i];
    EXPECT_EQ(transmitPdo(&node, 0), 1);
    EXPECT_EQ(takeSent(), (Frames{{kTpdoCob, {0x8D}}}));

    // And back: a receive PDO with the same mapping unpacks byte 0 into the eight entries.
    map(0x1600, {0x200F0001, 0x20100001, 0x20110001, 0x20120001, 0x20130001, 0x20140001, 0x20150001, 0x20160001});
    feed(kRpdoCob, {0x52});
    for (uint16_t i = 0; i < 8; ++i)
        EXPECT_EQ(value<uint8_t>(static_cast<uint16_t>(0x200F + i), 0), (0x52 >> i) & 1) << "bit " << i;
}

TEST_F(PdoTest, ReceiveShorterThanMappingWritesOnlyWhatFits)
{
    map(0x1600, {0x20000008, 0x20010010, 0x20020020});
    value<uint32_t>(0x2002, 0) = 0x11111111;
    feed(kRpdoCob, {0xAB, 0x34, 0x12, 0x99});
    EXPECT_EQ(value<uint8_t>(0x2000, 0), 0xAB);
    EXPECT_EQ(value<uint16_t>(0x2001, 0), 0x1234);
    EXPECT_EQ(value<uint32_t>(0x2002, 0), 0x11111111u) << "32 bits do not fit in the 8 left";
}

TEST_F(PdoTest, MappingUpToSixtyFourBits)
{
    value<uint32_t>(0x2002, 0) = 0x44332211;
    value<uint8_t>(0x2000, 0) = 0x55;
    map(0x1A00, {0x20020020, 0x20020020});
    EXPECT_EQ(transmitPdo(&node, 0), 1);
    EXPECT_EQ(takeSent(), (Frames{{kTpdoCob, {0x11, 0x22, 0x33, 0x44, 0x11, 0x22, 0x33, 0x44}}}));

    map(0x1A00, {0x20020020, 0x20000008, 0x20020020});
    CanMessage frame;
    EXPECT_EQ(buildPdo(&node, 0, &frame), -1) << "72 bits";
    EXPECT_EQ(transmitPdo(&node, 0), 0);
    EXPECT_TRUE(takeSent().empty());

    map(0x1A00, {});
    EXPECT_EQ(buildPdo(&node, 0, &frame), 0);
    EXPECT_EQ(frame.len, 0) << "an empty mapping is an empty frame";
}

TEST_F(PdoTest, UnchangedValueWaitsForTheEventTimer)
{
    map(0x1A00, {0x20000008});
    value<uint16_t>(0x1800, 5) = 100;
    EXPECT_EQ(transmitPdo(&node, 0), 1);
    EXPECT_EQ(transmitPdo(&node, 0), 0) << "same frame";
    advance(99);
    EXPECT_EQ(takeSent().size(), 1u);
    advance(1);
    EXPECT_EQ(takeSent(), (Frames{{kTpdoCob, {0}}})) << "the event timer sends it again";
}

TEST_F(PdoTest, InhibitTimeHoldsTheNextFrameBack)
{
    map(0x1A00, {0x20000008});
    value<uint16_t>(0x1800, 3) = 5; // 0.5 ms: held for a whole millisecond
    value<uint8_t>(0x2000, 0) = 1;
    EXPECT_EQ(transmitPdo(&node, 0), 1);
    value<uint8_t>(0x2000, 0) = 2;
    EXPECT_EQ(transmitPdo(&node, 0), 0) << "inhibit time runs";
    EXPECT_EQ(takeSent(), (Frames{{kTpdoCob, {1}}}));
    advance(1);
    EXPECT_EQ(takeSent(), (Frames{{kTpdoCob, {2}}})) << "sent when the inhibit time ends";
}

TEST_F(PdoTest, TransmissionTypesOnSyncAndAtStart)
{
    struct Case {
        uint8_t type;
        int atStart;        // frames sent by startPdo
        int onThreeSyncs;   // frames sent over three SYNCs, value unchanged
    } cases[] = {{1, 0, 3}, {3, 0, 1}, {0, 0, 1}, {252, 0, 0}, {254, 1, 0}, {255, 1, 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.type));
        stopPdo(&node);
        map(0x1A00, {0x20000008});
        setType(0x1800, c.type);
        value<uint32_t>(0x1801, 1) = 0x80000000 | kTpdo2Cob; // second PDO not valid
        startPdo(&node);
        EXPECT_EQ(static_cast<int>(takeSent().size()), c.atStart);
        for (int i = 0; i < 3; ++i)
            feed(0x080, {});
        EXPECT_EQ(static_cast<int>(takeSent().size()), c.onThreeSyncs);
    }
}

TEST_F(PdoTest, RemoteRequestForTypes252And253)
{
    map(0x1A00, {0x20000008});
    value<uint8_t>(0x2000, 0) = 7;
    setType(0x1800, 252);
    feed(0x080, {}); // the SYNC samples the value
    value<uint8_t>(0x2000, 0) = 8;
    feed(kTpdoCob, {}, 1);
    EXPECT_EQ(takeSent(), (Frames{{kTpdoCob, {7}}})) << "the frame held since the SYNC";
    setType(0x1800, 253);
    feed(kTpdoCob, {}, 1);
    EXPECT_EQ(takeSent(), (Frames{{kTpdoCob, {8}}}));
    setType(0x1800, 1);
    EXPECT_EQ(processPdoFrame(&node, &(const CanMessage &)CanMessage{uint16_t(kTpdoCob), 1, 0, {}}), 255);
}

TEST_F(PdoTest, PdoRequestIsARemoteFrameTheAdapterRefuses)
{
    EXPECT_EQ(requestPdo(&node, 0x1400), -1) << "refused by the driver: a failed send";
    EXPECT_EQ(refusedRemote(), 1);
    EXPECT_TRUE(takeSent().empty()) << "no data frame in its place";
    EXPECT_EQ(requestPdo(&node, 0x13FF), -1);
    EXPECT_EQ(requestPdo(&node, 0x1402), -1);
    node.commSwitches.pdo = 0;
    EXPECT_EQ(requestPdo(&node, 0x1400), 0);
    EXPECT_EQ(refusedRemote(), 1);
}

TEST_F(PdoTest, ParameterWriteAndReceiveEventTimer)
{
    map(0x1A00, {0x20000008});
    startPdo(&node);
    takeSent();
    EXPECT_EQ(write(0x1800, 5, 50), 0u) << "event timer written: the PDO restarts and sends";
    EXPECT_EQ(takeSent().size(), 1u);
    advance(50);
    EXPECT_EQ(takeSent().size(), 1u);

    map(0x1600, {0x20000008});
    value<uint16_t>(0x1400, 5) = 30;
    feed(kRpdoCob, {1});
    advance(20);
    feed(kRpdoCob, {2}); // restarts the receive timer
    advance(29);
    EXPECT_TRUE(takeEvents().empty());
    advance(1);
    EXPECT_EQ(takeEvents(), std::vector<std::string>{"rpdoEvent 0"});
    stopPdo(&node);
}

} // namespace
} // namespace svctest
