// A node record crossing a queued connection by value.
#include "device/connection_settings.h"

#include <QTest>
#include <QObject>
#include <QThread>

#include <gtest/gtest.h>

namespace {
class NodeSender : public QObject {
    Q_OBJECT
signals:
    void signalReturnNode(DeviceNodeInfo info);
};
class NodeReceiver : public QObject {
    Q_OBJECT
public slots:
    void slotNodeReceive(DeviceNodeInfo info) { received.append(info); }

public:
    QList<DeviceNodeInfo> received;
};
} // namespace

TEST(Records, NodeInfoTravelsWholeThroughQueuedSignal)
{
    NodeSender sender;
    NodeReceiver receiver;
    ASSERT_TRUE(QObject::connect(&sender, SIGNAL(signalReturnNode(DeviceNodeInfo)), &receiver,
                                 SLOT(slotNodeReceive(DeviceNodeInfo)), Qt::QueuedConnection));
    DeviceNodeInfo info;
    info.nodeId = 42;
    info.ident = "1234";
    info.deviceName = "Drive";
    info.edsChecksum = "1a2b";
    QThread thread;
    sender.moveToThread(&thread);
    thread.start();
    QMetaObject::invokeMethod(&sender, [&] { emit sender.signalReturnNode(info); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return !receiver.received.isEmpty(); }, 5000));
    thread.quit();
    thread.wait(5000);
    ASSERT_EQ(receiver.received.size(), 1);
    const DeviceNodeInfo &got = receiver.received.first();
    EXPECT_EQ(got.nodeId, 42);
    EXPECT_EQ(got.ident, "1234");
    EXPECT_EQ(got.deviceName, "Drive");
    EXPECT_EQ(got.edsChecksum, "1a2b");
}

#include "records_test.moc"
