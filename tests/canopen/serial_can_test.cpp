// The serial adapter driver against a real pseudo-terminal: the command
// lines it writes, frames leaving in the order queued, received lines (split,
// lower case, garbage), and the connection-error flag on a failed write.
#include "canopen/adapter/serial_can.h"
#include "canopen/adapter/serial_device.h"
#include "stack_test_pty.h"
#include "stack_test_wait.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <termios.h>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

class SerialCanTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pty_.isOpen());
        spec_ = {pty_.path().c_str(), "4800"};
    }

    void TearDown() override
    {
        if (handle_ != nullptr)
            serialCanClose(handle_);
    }

    void openAdapter()
    {
        handle_ = serialCanOpen(&spec_);
        ASSERT_NE(handle_, nullptr);
        ASSERT_EQ(readMaster(2), "O\r");
    }

    std::string readMaster(std::size_t count, std::chrono::milliseconds wait = std::chrono::seconds(3))
    {
        return pty_.read(count, wait);
    }

    void writeMaster(const std::string &text) { ASSERT_TRUE(pty_.write(text)); }

    // Receives until `count` frames arrived or 3 s passed.
    std::vector<CanMessage> receive(std::size_t count)
    {
        std::vector<CanMessage> all;
        CanMessage frames[kCanReceiveBatch];
        const Clock::time_point deadline = Clock::now() + std::chrono::seconds(3);
        while (all.size() < count && Clock::now() < deadline) {
            const int n = serialCanReceive(handle_, frames);
            all.insert(all.end(), frames, frames + n);
        }
        return all;
    }

    StackTestPty pty_;
    BoardSpec spec_ = {nullptr, nullptr};
    CanHandle handle_ = nullptr;
};

TEST(SerialDeviceNames, BusNameIsPathOrNameUnderDev)
{
    EXPECT_EQ(serialDevicePath("ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(serialDevicePath("/dev/pts/7"), "/dev/pts/7");
    EXPECT_EQ(serialDevicePath(""), "");
    EXPECT_EQ(serialDevicePath(nullptr), "");
}

TEST(SerialDeviceNames, LineRatesMapToTermiosSpeeds)
{
    EXPECT_EQ(serialSpeedFor("2400"), static_cast<unsigned>(B2400));
    EXPECT_EQ(serialSpeedFor("4800"), static_cast<unsigned>(B4800));
    EXPECT_EQ(serialSpeedFor("115200"), static_cast<unsigned>(B115200));
    EXPECT_EQ(serialSpeedFor("12345"), 0u);
    EXPECT_EQ(serialSpeedFor("48OO"), 0u);
    EXPECT_EQ(serialSpeedFor(""), 0u);
    EXPECT_EQ(serialSpeedFor(nullptr), 0u);
}

TEST(SerialDeviceNames, OpenRefusesMissingDeviceAndUnknownRate)
{
    BoardSpec missing = {"/nonexistent/tty-for-test", "4800"};
    EXPECT_EQ(serialCanOpen(&missing), nullptr);
    BoardSpec empty = {"", "4800"};
    EXPECT_EQ(serialCanOpen(&empty), nullptr);
}

TEST_F(SerialCanTest, UnknownLineRateOpensNothing)
{
    BoardSpec odd = {pty_.path().c_str(), "12345"};
    EXPECT_EQ(serialCanOpen(&odd), nullptr);
    EXPECT_EQ(readMaster(1, std::chrono::milliseconds(100)), "") << "nothing may reach the adapter";
}

TEST_F(SerialCanTest, CommandLinesOfOpenRateAndClose)
{
    openAdapter();
    EXPECT_EQ(serialCanChangeBaudRate(handle_, "5"), 0);
    EXPECT_EQ(readMaster(3), "S5\r");
    EXPECT_EQ(serialCanChangeBaudRate(handle_, "48"), 0) << "only the first character counts";
    EXPECT_EQ(readMaster(3), "S4\r");
    EXPECT_EQ(serialCanChangeBaudRate(handle_, ""), 1);
    EXPECT_EQ(serialCanClose(handle_), 1);
    EXPECT_EQ(readMaster(2), "C\r");
    EXPECT_EQ(serialCanClose(handle_), 0) << "a second close finds nothing to close";
    EXPECT_EQ(serialCanChangeBaudRate(handle_, "5"), 1);
    handle_ = nullptr;
}

TEST_F(SerialCanTest, FramesLeaveInTheOrderQueued)
{
    openAdapter();
    std::string expected;
    for (int i = 0; i < 200; ++i) {
        const CanMessage frame = {0x601, 0, 2, {static_cast<uint8_t>(i), static_cast<uint8_t>(i >> 8)}};
        ASSERT_EQ(serialCanSend(handle_, &frame), 0);
        char hex[8];
        std::snprintf(hex, sizeof hex, "%02X%02X", i & 0xFF, i >> 8);
        expected += std::string("t6012") + hex + "\r";
    }
    EXPECT_EQ(readMaster(expected.size()), expected);
}

TEST_F(SerialCanTest, OverlongFramesAndRemoteRequestsAreRefusedAndNotSent)
{
    openAdapter();
    const CanMessage refused[] = {
        {0x123, 0, 9, {}}, // longer than 8
        {0x705, 1, 0, {}}, // guarding request: as data it would be node 5's boot-up
        {0x181, 1, 8, {}}, // PDO request
    };
    for (const CanMessage &frame : refused) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(serialCanSend(handle_, &frame), 1) << std::hex << frame.cobId;
        const std::string said = testing::internal::GetCapturedStdout();
        EXPECT_EQ(said.find("remote request") != std::string::npos, frame.rtr != 0) << said;
    }
    const CanMessage bootUp = {0x701, 0, 0, {}};
    EXPECT_EQ(serialCanSend(handle_, &bootUp), 0);
    EXPECT_EQ(readMaster(6), "t7010\r") << "only the data frame leaves";
}

TEST_F(SerialCanTest, ReceivedLinesBecomeFrames)
{
    openAdapter();
    writeMaster("t58180102030405060708\rt5814a1b2c3d4\r");
    const std::vector<CanMessage> frames = receive(2);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].cobId, 0x581);
    EXPECT_EQ(frames[0].len, 8);
    EXPECT_EQ(frames[0].data[7], 0x08);
    EXPECT_EQ(frames[1].len, 4);
    EXPECT_EQ(frames[1].data[0], 0xA1);
    EXPECT_EQ(frames[1].data[3], 0xD4);
}

TEST_F(SerialCanTest, LineSplitAcrossReadsIsJoinedAndGarbageSkipped)
{
    openAdapter();
    writeMaster("\a\r\xff\x55z\rt5814a1");
    CanMessage frames[kCanReceiveBatch];
    // The first half must not produce a frame, however often it is read.
    EXPECT_EQ(serialCanReceive(handle_, frames), 0);
    writeMaster("B2c3D4\rt7010\r");
    const std::vector<CanMessage> got = receive(2);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].cobId, 0x581);
    EXPECT_EQ(got[0].data[1], 0xB2);
    EXPECT_EQ(got[1].cobId, 0x701);
    EXPECT_EQ(got[1].len, 0);
}

TEST_F(SerialCanTest, FailedWriteSetsLinkErrorAndCompletedWriteClearsIt)
{
    openAdapter();
    canLinkError = 1;
    const CanMessage frame = {0x601, 0, 1, {0x40}};
    ASSERT_EQ(serialCanSend(handle_, &frame), 0);
    EXPECT_EQ(readMaster(8), "t601140\r");
    EXPECT_TRUE(waitFor([] { return canLinkError.load() == 0; }));

    pty_.closeMaster(); // the adapter disappears
    ASSERT_EQ(serialCanSend(handle_, &frame), 0);
    EXPECT_TRUE(waitFor([] { return canLinkError.load() == 1; }));
    CanMessage frames[kCanReceiveBatch];
    EXPECT_EQ(serialCanReceive(handle_, frames), 0);
    EXPECT_EQ(serialCanClose(handle_), 0) << "\"C\" cannot be written any more";
    handle_ = nullptr;
    canLinkError = 0;
}

TEST_F(SerialCanTest, PortThatDisappearedIsNotPolledInALoop)
{
    openAdapter();
    pty_.closeMaster();
    std::atomic<int> receives{0};
    std::atomic<bool> stop{false};
    std::thread reader([this, &receives, &stop] {
        CanMessage frames[kCanReceiveBatch];
        while (!stop) {
            serialCanReceive(handle_, frames);
            ++receives;
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    stop = true;
    EXPECT_EQ(serialCanClose(handle_), 0); // wakes the waiting receive
    reader.join();
    handle_ = nullptr;
    // A spinning receive would have run thousands of times in 300 ms.
    EXPECT_LE(receives.load(), 5);
}

} // namespace
