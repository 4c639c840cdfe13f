// The virtual adapter's serial line: the command lines, the channel state, the wire log
// with its bounded waits, and each line fault as the driver under test will see it.
#include "virtual_device_fixture.h"

#include <thread>

namespace veqtest {
namespace {

using AdapterLineTest = VirtualDeviceTest;

const std::string readDeviceType = frameLine(0x605, {0x40, 0x00, 0x10, 0x00, 0, 0, 0, 0});
const std::string deviceTypeAnswer = frameLine(0x585, {0x43, 0x00, 0x10, 0x00, 0x91, 0x01, 0, 0});

TEST_F(AdapterLineTest, FramesAreServedOnlyWhileTheChannelIsOpen)
{
    ASSERT_TRUE(client->writeLine(readDeviceType));
    EXPECT_FALSE(client->readLine(50ms)) << "channel not open yet";

    openChannel();
    EXPECT_TRUE(adapter.channelOpen());
    EXPECT_EQ(adapter.bitRate(), '5');
    ASSERT_TRUE(client->writeLine(readDeviceType));
    EXPECT_EQ(client->readLine(1s), deviceTypeAnswer);

    ASSERT_TRUE(client->writeLine("C"));
    ASSERT_TRUE(adapter.log().waitFor(WireDirection::FromMaster, "C", 1s));
    EXPECT_FALSE(adapter.channelOpen());
    ASSERT_TRUE(client->writeLine(readDeviceType));
    EXPECT_FALSE(client->readLine(50ms)) << "channel closed again";

    EXPECT_EQ(adapter.log().texts(WireDirection::FromMaster),
              (std::vector<std::string>{readDeviceType, "O", "S5", readDeviceType, "C", readDeviceType}));
    EXPECT_EQ(adapter.log().texts(WireDirection::ToMaster), std::vector<std::string>{deviceTypeAnswer});
}

TEST_F(AdapterLineTest, NoisyInputFromTheMasterIsSkippedAndCounted)
{
    openChannel();
    // Lower-case digits, an unknown record, a frame with a bad digit, an overlong line,
    // LF characters and a line split over three writes.
    ASSERT_TRUE(client->writeRaw("x12\rt60580g\r" + std::string(100, '7') + "\r\n"));
    ASSERT_TRUE(client->writeRaw(readDeviceType.substr(0, 7)));
    std::this_thread::sleep_for(5ms); // let the adapter see part of a line
    ASSERT_TRUE(client->writeRaw(readDeviceType.substr(7, 9)));
    ASSERT_TRUE(client->writeRaw(readDeviceType.substr(16) + "\r"));
    EXPECT_EQ(client->readLine(1s), deviceTypeAnswer);
    node->setU8(0x200A, 0x0B, 0x42);
    ASSERT_TRUE(client->writeLine("t6058400a200b00000000"));
    EXPECT_EQ(client->readLine(1s), "t58584F0A200B42000000");
    EXPECT_EQ(adapter.badLines(), 3);
}

TEST_F(AdapterLineTest, CommandRepliesLikeARealAdapter)
{
    adapter.setCommandReplies(true);
    ASSERT_TRUE(client->writeLine("O"));
    EXPECT_EQ(client->readLine(1s), "");
    ASSERT_TRUE(client->writeLine("S8"));
    EXPECT_EQ(client->readLine(1s), "");
    ASSERT_TRUE(client->writeLine(readDeviceType));
    EXPECT_EQ(client->readLine(1s), "z");
    EXPECT_EQ(client->readLine(1s), deviceTypeAnswer);
    ASSERT_TRUE(client->writeLine("Q"));
    ASSERT_TRUE(client->writeLine("C"));
    EXPECT_EQ(client->readLine(1s), "\a");
}

TEST_F(AdapterLineTest, LowerCaseHexAndGarbageBetweenLines)
{
    openChannel();
    adapter.setLowerCaseHex(true);
    adapter.setGarbageBetweenLines("\a?");
    node->setU32(0x2000, 0xAB, 0xCAFEBABE);
    ASSERT_TRUE(client->writeLine(frameLine(0x605, {0x40, 0x00, 0x20, 0xAB, 0, 0, 0, 0})));
    EXPECT_EQ(client->readLine(1s), "\a?t5858430020abbebafeca");
    // The log holds the line itself, not the garbage.
    EXPECT_TRUE(adapter.log().waitFor(WireDirection::ToMaster, "t5858430020abbebafeca", 1s));
}

TEST_F(AdapterLineTest, SplitLinesArriveInTwoPieces)
{
    openChannel();
    adapter.setSplitLines(true, 40ms);
    ASSERT_TRUE(client->writeLine(readDeviceType));
    const std::string first = client->readAvailable(1s);
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(first.find('\r'), std::string::npos);
    std::string whole = first;
    while (whole.find('\r') == std::string::npos) {
        const std::string more = client->readAvailable(1s);
        ASSERT_FALSE(more.empty());
        whole += more;
    }
    EXPECT_EQ(whole, deviceTypeAnswer + "\r");
}

TEST_F(AdapterLineTest, DelayedAnswersLeaveLateButInOrder)
{
    openChannel();
    node->setAnswerDelay(80ms);
    const auto sent = Clock::now();
    ASSERT_TRUE(client->writeLine(readDeviceType));
    EXPECT_FALSE(client->readLine(40ms));
    EXPECT_EQ(client->readLine(1s), deviceTypeAnswer);
    EXPECT_GE(Clock::now() - sent, 80ms);

    // A frame put on the bus meanwhile does not wait for the slow node.
    ASSERT_TRUE(client->writeLine(readDeviceType));
    adapter.sendFrame(CanFrame(0x701, {0x00}));
    EXPECT_EQ(client->readLine(1s), "t701100");
    EXPECT_EQ(client->readLine(1s), deviceTypeAnswer);
}

TEST_F(AdapterLineTest, SeveralNodesAnswerOnTheirOwnIdentifiers)
{
    VirtualNode& other = adapter.addNode(0x7F);
    other.addStandardObjects("Other", 0x12345678);
    openChannel();
    ASSERT_TRUE(client->writeLine(frameLine(0x67F, {0x40, 0x00, 0x10, 0x00, 0, 0, 0, 0})));
    EXPECT_EQ(client->readLine(1s), frameLine(0x5FF, {0x43, 0x00, 0x10, 0x00, 0x78, 0x56, 0x34, 0x12}));
    ASSERT_TRUE(client->writeLine(frameLine(0x606, {0x40, 0x00, 0x10, 0x00, 0, 0, 0, 0})));
    EXPECT_FALSE(client->readLine(50ms)) << "no node 6";
}

TEST_F(AdapterLineTest, WaitsAreBoundedAndSearchFromAMark)
{
    openChannel();
    const size_t mark = adapter.log().size();
    EXPECT_FALSE(adapter.log().waitFor(WireDirection::FromMaster, "O", 20ms, mark));
    EXPECT_TRUE(adapter.log().waitFor(WireDirection::FromMaster, "O", 20ms, 0));
    ASSERT_TRUE(client->writeLine(readDeviceType));
    EXPECT_TRUE(adapter.log().waitForCount(WireDirection::ToMaster, 1, 1s));
    EXPECT_FALSE(adapter.log().waitForCount(WireDirection::ToMaster, 2, 20ms));
}

TEST_F(AdapterLineTest, VanishedPortHangsUpTheDriversEnd)
{
    openChannel();
    adapter.vanish();
    EXPECT_FALSE(adapter.running());
    EXPECT_TRUE(client->waitForHangUp(1s));
    EXPECT_FALSE(client->writeLine(readDeviceType));
    EXPECT_EQ(adapter.log().texts(WireDirection::FromMaster), (std::vector<std::string>{"O", "S5"}));
}

} // namespace
} // namespace veqtest
