// Connecting again after a disconnect that a scan or a save outlived: what
// they ask of the stopped stack fails at once and takes no alarm slot, so the
// next connection starts with a free table, boots, and finds its node. A
// start that cannot be posted fails the connect with a message.
#include "device/connection_thread.h"
#include "device/data_types.h"
#include "device/save_can_data_thread.h"
#include "device/sdo_request.h"
#include "device_fixture.h"

#include "canopen/alarm.h"
#include "canopen/stack_lock.h"

#include <atomic>

namespace {

class Reconnect : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        // Keeps a regression (tries that wait for a stack that never runs them) short.
        connectionSettings.sdoTimeout = 200;
        device = &addDevice(5);
        device->setU8(0x2100, 0, 0);
        connect();
    }

    // Connects again and works with the device as after a fresh start.
    void expectCleanReconnect()
    {
        {
            StackLockGuard guard;
            EXPECT_EQ(highestAlarm, -1) << "the stopped loop left alarms behind";
        }
        connect();
        EXPECT_TRUE(findNode(window));
        EXPECT_TRUE(sdoWrite(5, 0x2100, 0, DataType::Unsigned8, QByteArray("\x2A", 1)).ok);
        EXPECT_EQ(device->value(0x2100, 0), std::vector<uint8_t>{0x2A});
    }

    veqtest::VirtualNode *device = nullptr;
};

} // namespace

TEST_F(Reconnect, AfterAScanThatKeptProbing)
{
    std::atomic<int> checked{-1};
    std::atomic<bool> all{false};
    ConnectionThread scan;
    QObject::connect(&scan, &ConnectionThread::signalNodeChecked, [&](int id) { checked = id; });
    QObject::connect(&scan, &ConnectionThread::signalAllNodesChecked, [&] { all = true; });
    scan.slotGetNodeList();
    ASSERT_TRUE(waitUntil([&] { return checked >= 2; }, 10000ms));
    disconnectCan(window);
    const int atDisconnect = checked;
    ASSERT_TRUE(scan.wait(60000));
    EXPECT_TRUE(all);
    EXPECT_GE(127 - atDisconnect, 40) << "the scan went on probing after the disconnect";
    expectCleanReconnect();
}

TEST_F(Reconnect, AfterASaveThatKeptWriting)
{
    device->setAnswerDelay(10ms); // the save outlives the disconnect
    QList<CanParam> records;
    for (int i = 0; i < 60; ++i) {
        CanParam p;
        p.name = p.caption = QString("p%1").arg(i);
        p.index = "2100";
        p.subindex = "0";
        p.dataType = DataType::Unsigned8;
        p.currentValue = quint64(i);
        records.append(p);
    }
    QList<CanParam *> pending;
    for (CanParam &p : records)
        pending.append(&p);
    std::atomic<int> saved{0};
    std::atomic<int> failed{0};
    SaveCanDataThread saver;
    QObject::connect(&saver, &SaveCanDataThread::paramSavingSuccess, [&](QString) { ++saved; });
    QObject::connect(&saver, &SaveCanDataThread::paramSavingFail, [&](QString, QString) { ++failed; });
    saver.saveParams(0, &pending);
    ASSERT_TRUE(waitUntil([&] { return saved >= 3; }, 10000ms));
    disconnectCan(window);
    ASSERT_TRUE(saver.wait(60000));
    EXPECT_EQ(saved + failed, 60);
    EXPECT_GE(failed.load(), 40);
    device->setAnswerDelay(0ms);
    expectCleanReconnect();
}

TEST_F(Reconnect, StartThatCannotBePostedFailsTheConnect)
{
    disconnectCan(window);
    int16_t taken[kAlarmSlots];
    {
        StackLockGuard guard;
        for (int16_t &slot : taken)
            slot = setAlarm(nullptr, 0, [](NodeContext *, uint32_t) {}, 3600000, 0);
    }
    const QStringList before = window.lines();
    EXPECT_FALSE(connectCan(window));
    EXPECT_FALSE(window.m_connected);
    EXPECT_EQ(window.lines().mid(before.size()),
              (QStringList{QString::fromUtf8("info: Подключение..."),
                           QString::fromUtf8("error: Не удалось запустить стек CANopen."),
                           "ui: disconnected"}));
    EXPECT_TRUE(waitUntil([&] { return !adapter.channelOpen(); })) << "the port is closed again";
    {
        StackLockGuard guard;
        for (int i = kAlarmSlots - 1; i >= 0; --i) // highest first: the bound drops with each
            deleteAlarm(taken[i]);
    }
    expectCleanReconnect();
}
