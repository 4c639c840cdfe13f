// Times the device-access layer against the virtual adapter on a pty and
// prints the figures: full node scan, one loader pass over 100 parameters,
// reads per second through the request glue, and reading a 5,000-section EDS.
#include "device/can_connection.h"
#include "device/connection_settings.h"
#include "device/connection_thread.h"
#include "device/data_types.h"
#include "device/eds_reader.h"
#include "device/load_can_data_thread.h"
#include "device/main_window_services.h"
#include "device/sdo_request.h"

#include "virtual_can_adapter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

class QuietWindow : public MainWindowServices {
public:
    void logMessage(const QString &text, bool) override
    {
        std::printf("  log: %s\n", text.toUtf8().constData());
    }
    void setUiConnected(bool) override {}
};

double scanSeconds()
{
    ConnectionThread scan;
    QElapsedTimer timer;
    timer.start();
    scan.slotGetNodeList();
    scan.wait();
    return timer.elapsed() / 1000.0;
}

double loaderPassSeconds(veqtest::VirtualNode &node)
{
    QVector<CanParam> records(100);
    QList<CanParam *> list;
    for (int i = 0; i < records.size(); ++i) {
        node.setU32(0x2100, quint8(i + 1), quint32(i));
        records[i].index = "2100";
        records[i].subindex = QString::number(i + 1, 16);
        records[i].name = QString("%1 0x2100sub%2 P").arg(i + 1, 3, 10, QChar('0')).arg(i + 1);
        records[i].dataType = DataType::Unsigned32;
        records[i].size = 4;
        list.append(&records[i]);
    }
    LoadCanDataThread loader;
    QElapsedTimer timer;
    qint64 passEnd = -1;
    QObject::connect(&loader, &LoadCanDataThread::paramsLoaded, [&] {
        passEnd = timer.elapsed();
        loader.stopProcess();
    });
    timer.start();
    loader.loadParams(list);
    loader.wait();
    return passEnd / 1000.0;
}

double readsPerSecond(int count)
{
    QElapsedTimer timer;
    timer.start();
    int good = 0;
    for (int i = 0; i < count; ++i)
        good += sdoRead(5, 0x2100, quint8(1 + i % 100), DataType::Unsigned32).ok;
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (good != count)
        std::printf("  (%d of %d reads failed)\n", count - good, count);
    return count / seconds;
}

double edsMilliseconds(const QString &path, int *records)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    int sections = 0;
    for (int index = 0x2000; sections < 5000; ++index) {
        const QString indexText = QString::number(index, 16).toUpper();
        file.write(QString("[%1]\nParameterName=Object %1\nDataType=0x0007\nAccessType=rw\n"
                           "DefaultValue=0\nComment=object\n")
                       .arg(indexText)
                       .toUtf8());
        ++sections;
        for (int sub = 0; sub < 9 && sections < 5000; ++sub, ++sections)
            file.write(QString("[%1sub%2]\nParameterName=Entry %2\nDataType=0x0006\nAccessType=ro\n"
                               "DefaultValue=0x%2\nComment=entry, of an object\n")
                           .arg(indexText)
                           .arg(sub)
                           .toUtf8());
    }
    file.close();
    CanParamMap map;
    QElapsedTimer timer;
    timer.start();
    readEdsFile(path, "", map, [](const QString &) { return quint16(0); });
    const double ms = timer.nsecsElapsed() / 1e6;
    *records = map.size();
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    veqtest::VirtualCanAdapter adapter;
    veqtest::VirtualNode &node = adapter.addNode(5);
    node.addStandardObjects("Bench drive");
    std::string error;
    if (!adapter.start(&error)) {
        std::printf("virtual adapter: %s\n", error.c_str());
        return 1;
    }
    QTemporaryDir folder;
    connectionSettings.port = QString::fromStdString(adapter.portPath());
    connectionSettings.baudRate = "250000";
    connectionSettings.device.nodeId = 5;
    QuietWindow window;
    if (!connectCan(window) || !probeNode(5))
        return 1;

    std::printf("\ndevice-access benchmark (virtual adapter on %s)\n", adapter.portPath().c_str());
    const double scan = scanSeconds();
    std::printf("full scan of ids 0-127, one device:   %6.2f s  (bound 19.2 s, target <= 21.1 s)\n", scan);
    probeNode(5);
    const double pass = loaderPassSeconds(node);
    std::printf("loader pass over 100 parameters:      %6.3f s  (incl. 1 s pause, target < 1.2 s)\n", pass);
    const double rate = readsPerSecond(5000);
    std::printf("reads through the request glue:       %6.0f /s (target >= 1500)\n", rate);
    int records = 0;
    const double eds = edsMilliseconds(folder.path() + "/bench.eds", &records);
    std::printf("EDS of 5000 sections into %d records: %6.1f ms (target < 250 ms)\n", records, eds);

    disconnectCan(window);
    return 0;
}
