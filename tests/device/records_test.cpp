// Defaults of the plain records, and a node record crossing a queued
// connection by value.
#include "can_param.h"
#include "connection_settings.h"
#include "json_param.h"

#include <QTest>
#include <QObject>
#include <QThread>

#include <gtest/gtest.h>

TEST(Records, CanParamDefaults)
{
    const CanParam p;
    EXPECT_TRUE(p.name.isNull());
    EXPECT_TRUE(p.caption.isNull());
    EXPECT_EQ(p.subindex, "0");
    EXPECT_EQ(p.dataType, 0);
    EXPECT_EQ(p.size, 0);
    EXPECT_EQ(p.currentValue, 0u);
    for (const QString *text : {&p.currentValueStr, &p.description, &p.parent, &p.index}) {
        EXPECT_FALSE(text->isNull());
        EXPECT_TRUE(text->isEmpty());
    }
    EXPECT_TRUE(p.defaultValue.isNull());
    EXPECT_FALSE(p.readOnly);
    EXPECT_TRUE(p.subEntryNames.isEmpty());
    EXPECT_EQ(p.ownerMap, nullptr);
}

TEST(Records, NodeInfoAndSettingsDefaults)
{
    const DeviceNodeInfo info;
    EXPECT_EQ(info.nodeId, 0);
    EXPECT_TRUE(info.ident.isNull());
    EXPECT_TRUE(info.deviceName.isNull());
    EXPECT_TRUE(info.edsChecksum.isNull());

    const ConnectionSettings settings;
    EXPECT_EQ(settings.sdoTimeout, 800);
    EXPECT_EQ(settings.baudRate, "250000");
    EXPECT_EQ(settings.canBusAccess, 0);
    EXPECT_EQ(settings.device.nodeId, 0);
    EXPECT_EQ(connectionSettings.sdoTimeout, 800);
}

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
