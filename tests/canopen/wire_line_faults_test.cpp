// The adapter's serial line misbehaving under the stack: answers split across reads,
// lower-case hex, garbage and status replies between lines, and a port that vanishes.
#include "wire_test_fixture.h"

#include "canopen/adapter/serial_can.h"

#include <thread>

namespace veqtest {
namespace {

using WireLineFaults = WireTest;

// A way the line can misbehave that must cost no frame: each is switched on, then one
// expedited read with hex letters in it, one segmented and one block upload, and a
// segmented download must all work.
struct LineFault {
    const char* name;
    void (*switchOn)(VirtualCanAdapter& adapter);
};

class WireLineFaultRoads : public WireTest, public ::testing::WithParamInterface<LineFault> {};

TEST_P(WireLineFaultRoads, EveryRoadWorks)
{
    GetParam().switchOn(adapter);
    node->setDomain(0x2100, 0, std::vector<uint8_t>(889, 0xAB));
    EXPECT_EQ(session.read(5, 0x2003, 0).data, (std::vector<uint8_t>{0xEF, 0xBE, 0xAD, 0xDE}));
    EXPECT_EQ(session.read(5, 0x2100, 0).data, std::vector<uint8_t>(889, 0xAB));
    EXPECT_EQ(session.read(5, 0x2100, 0, true).data, std::vector<uint8_t>(889, 0xAB));
    EXPECT_EQ(session.write(5, 0x2100, 0, std::vector<uint8_t>(100, 0xCD)).state, 1u);
    EXPECT_EQ(node->value(0x2100, 0), std::vector<uint8_t>(100, 0xCD));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, WireLineFaultRoads,
    ::testing::Values(
        LineFault{"LinesSplitAcrossReadsAreJoined", [](VirtualCanAdapter& a) { a.setSplitLines(true, 3ms); }},
        LineFault{"LowerCaseHexIsUnderstood", [](VirtualCanAdapter& a) { a.setLowerCaseHex(true); }},
        // A BEL, an unknown record, a frame record with non-hex digits and one with a
        // length digit of 9: none of them may become a frame, none may cost a real one.
        LineFault{"GarbageBetweenLinesIsSkipped",
                  [](VirtualCanAdapter& a) { a.setGarbageBetweenLines("\axy\rtZZZ8\rt58590000\r\n"); }},
        LineFault{"StatusRepliesOfARealAdapterAreSkipped", [](VirtualCanAdapter& a) { a.setCommandReplies(true); }}),
    [](const ::testing::TestParamInfo<LineFault>& info) { return info.param.name; });

TEST_F(WireLineFaults, StrayAnswerWithBadDigitsIsNotTakenForAFrame)
{
    // A record whose data digits are not hexadecimal, for a transfer in progress: it must
    // be dropped, not read as an answer with made-up bytes.
    node->setAnswerDelay(20ms);
    session.pointClientAt(NodeId);
    ASSERT_EQ(session.startRead(NodeId, 0x1000, 0), 0);
    adapter.sendRaw("t5858430010009G010000\r");
    const auto out = session.waitForCompletion(1s);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->state, 1u);
    EXPECT_EQ(out->data, (std::vector<uint8_t>{0x91, 0x01, 0x00, 0x00}));
}

TEST_F(WireLineFaults, VanishedPortEndsTransfersAndSetsTheLinkError)
{
    EXPECT_EQ(session.read(NodeId, 0x1000, 0).state, 1u);
    adapter.vanish();
    SdoOutcome out = session.read(NodeId, 0x1008, 0);
    ASSERT_TRUE(out.completed) << "the time-out still ends the transfer";
    EXPECT_EQ(out.abortCode, abort::TimedOut);
    // The writer learns of the lost port on its next write (the time-out's abort frame).
    const auto end = std::chrono::steady_clock::now() + 2s;
    while (canLinkError == 0 && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(5ms);
    EXPECT_EQ(canLinkError, 1);
    // Disconnecting from a vanished port neither hangs nor crashes.
    const auto before = std::chrono::steady_clock::now();
    session.disconnect();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 3s);
}

} // namespace
} // namespace veqtest
