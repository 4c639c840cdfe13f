// The node scan: the exact signal sequence of a full scan with one device, of
// scans stopped at a given id, and of a scan that meets the adapter's error flag.
#include "device/connection_thread.h"
#include "device_fixture.h"

#include <QMutex>

namespace {

// Records the scan's signals in the order the scan thread emits them; the
// connections are made by signature, as the main window makes them.
class ScanRecorder : public QObject {
    Q_OBJECT
public:
    explicit ScanRecorder(ConnectionThread &scan)
    {
        const char *pairs[][2] = {
            {SIGNAL(signalNodeListRefreshingStopped()), SLOT(onStopped())},
            {SIGNAL(signalReturnNode(DeviceNodeInfo)), SLOT(onNode(DeviceNodeInfo))},
            {SIGNAL(signalNodeChecked(int)), SLOT(onChecked(int))},
            {SIGNAL(signalAllNodesChecked()), SLOT(onAll())},
            {SIGNAL(signalConnectionError()), SLOT(onError())},
        };
        for (const auto &pair : pairs)
            EXPECT_TRUE(connect(&scan, pair[0], this, pair[1], Qt::DirectConnection)) << pair[0];
    }
    QStringList events()
    {
        QMutexLocker lock(&mutex);
        return log;
    }
    std::function<void(int)> onCheckedHook;

public slots:
    void onStopped() { add("stopped"); }
    void onNode(DeviceNodeInfo info)
    {
        add(QString("node %1 %2 [%3|%4]")
                .arg(info.nodeId)
                .arg(info.deviceName, info.ident, info.edsChecksum));
    }
    void onChecked(int id)
    {
        add(QString("checked %1").arg(id));
        if (onCheckedHook)
            onCheckedHook(id);
    }
    void onAll() { add("all"); }
    void onError() { add("error"); }

private:
    void add(const QString &event)
    {
        QMutexLocker lock(&mutex);
        log.append(event);
    }
    QMutex mutex;
    QStringList log;
};

QStringList checkedRange(int first, int last)
{
    QStringList events;
    for (int id = first; id <= last; ++id)
        events.append(QString("checked %1").arg(id));
    return events;
}

class Scan : public DeviceTest {
protected:
    void runScan(int timeoutMs)
    {
        scan.slotGetNodeList();
        ASSERT_TRUE(scan.wait(timeoutMs));
    }
    ConnectionThread scan;
    ScanRecorder recorder{scan};
};

} // namespace

TEST_F(Scan, FullScanWithOneDevice)
{
    addDevice(40, "Scan me");
    connect();
    runScan(60000);
    QStringList expected = checkedRange(0, 39);
    expected << "node 40 Scan me [|]";
    expected << checkedRange(40, 127) << "all";
    EXPECT_EQ(recorder.events(), expected);

    // Every id was probed on its own channel: three tries at a silent id, one
    // probe and one name read at the device.
    int toSilent = 0;
    int toDevice = 0;
    for (const std::string &line : fromMaster()) {
        toSilent += line == "t60084000100000000000";
        toDevice += line.rfind("t628840", 0) == 0;
    }
    EXPECT_EQ(toSilent, 3);
    EXPECT_EQ(toDevice, 2);
}

TEST_F(Scan, StopRefreshingAtId40)
{
    addDevice(3, "Early");
    addDevice(41, "Never reached");
    connect();
    recorder.onCheckedHook = [this](int id) {
        if (id == 39)
            scan.slotStopRefreshingNodeList();
    };
    runScan(30000);
    QStringList expected = checkedRange(0, 2);
    expected << "node 3 Early [|]" << checkedRange(3, 39) << "stopped";
    EXPECT_EQ(recorder.events(), expected);
    EXPECT_EQ(adapter.node(41)->requestsReceived(), 0);
}

TEST_F(Scan, StopProcessAndRestart)
{
    connect();
    recorder.onCheckedHook = [this](int id) {
        if (id == 4)
            scan.stopProcess();
    };
    runScan(10000);
    EXPECT_EQ(recorder.events(), checkedRange(0, 4) << "stopped");

    // A new scan clears both flags and starts again from id 0.
    recorder.onCheckedHook = [this](int id) {
        if (id == 1)
            scan.slotStopRefreshingNodeList();
    };
    runScan(10000);
    EXPECT_EQ(recorder.events().mid(6), checkedRange(0, 1) << "stopped");
}

TEST_F(Scan, ConnectionErrorEndsTheScan)
{
    connect();
    recorder.onCheckedHook = [](int id) {
        if (id == 2)
            canLinkError = 1;
    };
    runScan(10000);
    canLinkError = 0;
    EXPECT_EQ(recorder.events(), checkedRange(0, 2) << "error");
}

TEST_F(Scan, DestroyingARunningScanStopsIt)
{
    connect();
    auto *running = new ConnectionThread;
    running->slotGetNodeList();
    delete running; // must not abort the process with a running thread
    SUCCEED();
}

#include "scan_test.moc"
