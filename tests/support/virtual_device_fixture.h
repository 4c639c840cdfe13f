// The one pty fixture of the end-to-end tests: the virtual adapter on a pty with node 5
// behind it carrying the standard objects. VirtualDeviceTest talks to it through a raw
// line client (the virtual device's own tests); WireTest (wire_test_fixture.h) connects
// the real master stack to it.
#pragma once

#include "can_frame_line.h"
#include "pty_line_client.h"
#include "virtual_can_adapter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace veqtest {

using namespace std::chrono_literals;

class VirtualAdapterTest : public ::testing::Test {
protected:
    static constexpr uint8_t NodeId = 5;

    explicit VirtualAdapterTest(std::string deviceName) : deviceName_(std::move(deviceName)) {}

    // Node 5 with the standard objects, then the adapter serving on its pty.
    void SetUp() override
    {
        node = &adapter.addNode(NodeId);
        node->addStandardObjects(deviceName_);
        addEntries();
        std::string error;
        ASSERT_TRUE(adapter.start(&error)) << error;
    }

    // Entries a fixture adds to node 5 before the adapter starts.
    virtual void addEntries() {}

    VirtualCanAdapter adapter;
    VirtualNode* node = nullptr;

private:
    const std::string deviceName_;
};

class VirtualDeviceTest : public VirtualAdapterTest {
protected:
    VirtualDeviceTest() : VirtualAdapterTest("Test drive") {}

    void SetUp() override
    {
        VirtualAdapterTest::SetUp();
        client = std::make_unique<PtyLineClient>(adapter.portPath());
        ASSERT_TRUE(client->isOpen());
    }

    void openChannel()
    {
        ASSERT_TRUE(client->writeLine("O"));
        ASSERT_TRUE(client->writeLine("S5"));
        ASSERT_TRUE(adapter.log().waitFor(WireDirection::FromMaster, "S5", 1s));
    }

    // Sends one SDO request to node 5 and returns the next frame that comes back.
    std::optional<CanFrame> exchange(std::initializer_list<uint8_t> request,
                                     std::chrono::milliseconds timeout = 1000ms)
    {
        send(request);
        return nextFrame(timeout);
    }

    void send(std::initializer_list<uint8_t> request)
    {
        ASSERT_TRUE(client->writeLine(frameLine(CanFrame(0x600 + NodeId, request))));
    }

    std::optional<CanFrame> nextFrame(std::chrono::milliseconds timeout = 1000ms)
    {
        const auto line = client->readLine(timeout);
        CanFrame frame;
        if (!line || !parseFrameLine(*line, frame))
            return std::nullopt;
        return frame;
    }

    static CanFrame answer(std::initializer_list<uint8_t> bytes) { return CanFrame(0x580 + NodeId, bytes); }

    std::unique_ptr<PtyLineClient> client;
};

// Prints frames as their wire text in assertion messages.
inline void PrintTo(const CanFrame& frame, std::ostream* out) { *out << frameLine(frame); }

} // namespace veqtest
