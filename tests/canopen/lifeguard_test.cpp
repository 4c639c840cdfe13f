// Heartbeat consumer and producer, guarding of remote nodes (remote requests the
// adapter refuses) and the local node's guarding answers.
#include "service_fixture.h"

#include "canopen/lifeguard.h"
#include "canopen/nmt.h"

namespace svctest {
namespace {

class LifeGuardTest : public ServiceTest {
protected:
    void SetUp() override
    {
        ServiceTest::SetUp();
        node.commSwitches.lifeGuard = 1;
    }
    void TearDown() override
    {
        stopLifeGuard(&node);
        ServiceTest::TearDown();
    }
};

TEST_F(LifeGuardTest, HeartbeatStatesAndConsumerTimeOut)
{
    value<uint32_t>(0x1016, 1) = 0x00050064; // node 5 within 100 ms
    value<uint32_t>(0x1016, 2) = 0x00060000; // no time: not watched
    startHeartbeat(&node);
    feed(0x705, {0x00});
    feed(0x705, {}); // no state byte
    advance(60);
    feed(0x705, {0x05});
    feed(0x705, {0x05});
    advance(99);
    EXPECT_EQ(takeEvents(), (Events{"state 5 0", "boot 5", "state 5 5"}));
    advance(1);
    EXPECT_EQ(takeEvents(), Events{"hbError 5"});
    EXPECT_EQ(getRemoteNodeState(&node, 5), kRemoteNodeLost);
    advance(500);
    EXPECT_TRUE(takeEvents().empty()) << "one error per silence";
    EXPECT_EQ(getRemoteNodeState(&node, 200), NmtState::Unknown);
    onHeartbeatTimeout(&node, 7); // past the consumer entries
    EXPECT_TRUE(takeEvents().empty());
}

TEST_F(LifeGuardTest, ProducerFollowsObject1017AndGuardingAnswersToggle)
{
    startHeartbeat(&node);
    EXPECT_EQ(write(0x1017, 0, 20), 0u);
    advance(40);
    EXPECT_EQ(write(0x1017, 0, 0), 0u);
    advance(40);
    EXPECT_EQ(takeSent(), (Frames{{0x701, {0x7F}}, {0x701, {0x7F}}}));
    for (int i = 0; i < 3; ++i)
        feed(0x701, {}, 1);
    feed(0x702, {}, 1); // another node's request
    EXPECT_EQ(takeSent(), (Frames{{0x701, {0x7F}}, {0x701, {0xFF}}, {0x701, {0x7F}}}));
}

TEST_F(LifeGuardTest, GuardingSendsRemoteRequestsAndCountsTheLifeTime)
{
    feed(0x705, {0x05}); // node 5 is known
    takeEvents();
    value<uint16_t>(0x100C, 0) = 100;
    value<uint8_t>(0x100D, 0) = 2;
    startGuarding(&node);
    advance(200);
    EXPECT_EQ(refusedRemote, 2) << "one request per guard time, refused by the adapter";
    EXPECT_TRUE(takeSent().empty()) << "never a data frame on 0x705 in its place";
    advance(100);
    EXPECT_EQ(takeEvents(), Events{"guardError 5"});
    EXPECT_EQ(getRemoteNodeState(&node, 5), kRemoteNodeLost);
    feed(0x705, {0x85}); // an answer with the toggle renews the life time
    advance(200);
    EXPECT_EQ(takeEvents(), Events{"state 5 5"});
    EXPECT_EQ(write(0x100C, 0, 0), 0u) << "guard time 0 stops guarding";
    advance(1000);
    EXPECT_EQ(refusedRemote, 5);
    EXPECT_EQ(requestNodeGuard(&node, 5), 1);
    EXPECT_EQ(getRemoteNodeState(&node, 5), 5u) << "a refused request changes nothing";
}

} // namespace
} // namespace svctest
