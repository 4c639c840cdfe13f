// End-to-end fixture: a virtual USB-CAN adapter on a pty with virtual CANopen
// nodes behind it, a fake main window, and a temporary working folder. The
// stack is process-wide, so every test leaves it disconnected.
#pragma once

#include "device/can_connection.h"
#include "device/connection_settings.h"
#include "fake_main_window.h"
#include "working_folder.h"

#include "canopen/port.h"
#include "virtual_can_adapter.h"

#include <chrono>
#include <functional>
#include <thread>
#include <string>

using namespace std::chrono_literals;
using veqtest::WireDirection;

class DeviceTest : public WorkingFolderTest {
protected:
    void SetUp() override
    {
        WorkingFolderTest::SetUp();
        std::string error;
        ASSERT_TRUE(adapter.start(&error)) << error;
        connectionSettings = ConnectionSettings();
        connectionSettings.port = QString::fromStdString(adapter.portPath());
        connectionSettings.baudRate = "250000";
        connectionSettings.device.nodeId = 5;
    }
    void TearDown() override
    {
        disconnectCan(window);
        connectionSettings = ConnectionSettings();
        WorkingFolderTest::TearDown();
    }

    // A node with the objects every device has, named `name`.
    veqtest::VirtualNode &addDevice(uint8_t nodeId, const std::string &name = "Test drive")
    {
        veqtest::VirtualNode &node = adapter.addNode(nodeId);
        node.addStandardObjects(name);
        return node;
    }

    void connect()
    {
        const size_t mark = adapter.log().size();
        ASSERT_TRUE(connectCan(window));
        // The stack is up once the master's boot-up frame (0x701, one byte 0) has left.
        ASSERT_TRUE(adapter.log().waitFor(WireDirection::FromMaster, "t701100", 2000ms, mark).has_value());
    }

    // Polls the adapter's state (which has no wait of its own) for at most `limit`.
    static bool waitUntil(const std::function<bool()> &condition,
                          std::chrono::milliseconds limit = 2000ms)
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!condition()) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            std::this_thread::sleep_for(1ms);
        }
        return true;
    }

    // Connects with device 5 present and the SDO client pointed at it.
    veqtest::VirtualNode &connectToDevice()
    {
        veqtest::VirtualNode &node = addDevice(5);
        connect();
        EXPECT_TRUE(probeNode(5));
        return node;
    }

    std::vector<std::string> fromMaster() const { return adapter.log().texts(WireDirection::FromMaster); }

    veqtest::VirtualCanAdapter adapter;
    FakeMainWindow window;
};
