// Times the property-browser core on a tree like the main window's: integer
// properties under 100 groups, created through the managers, each value
// changed once, then all deleted one by one. Each size runs in a child
// process so that its peak memory (VmHWM) is its own.
// Usage: propertybrowser_core_bench [count...]   (default: 1000 10000)
#include "propertybrowser/pbabstractpropertybrowser.h"
#include "propertybrowser/pbgrouppropertymanager.h"
#include "propertybrowser/pbintpropertymanager.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QVector>

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const int groupCount = 100;

// A browser that only counts its rows, to time the item bookkeeping itself.
class CountingBrowser : public PbAbstractPropertyBrowser
{
public:
    long rows = 0;

protected:
    void itemInserted(PbBrowserItem *, PbBrowserItem *) override { ++rows; }
    void itemRemoved(PbBrowserItem *) override { --rows; }
    void itemChanged(PbBrowserItem *) override {}
};

long peakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

double elapsedMs(QElapsedTimer &timer)
{
    const double ms = timer.nsecsElapsed() / 1e6;
    timer.restart();
    return ms;
}

void runOnce(int count, bool withBrowser)
{
    PbGroupPropertyManager groups;
    PbIntPropertyManager ints;
    CountingBrowser browser;
    QVector<PbProperty *> groupProperties;
    QVector<PbProperty *> intProperties;
    groupProperties.reserve(groupCount);
    intProperties.reserve(count);

    QElapsedTimer timer;
    timer.start();
    for (int g = 0; g < groupCount; ++g) {
        PbProperty *group = groups.addProperty(QStringLiteral("group %1").arg(g));
        groupProperties.append(group);
        if (withBrowser)
            browser.addProperty(group);
    }
    for (int i = 0; i < count; ++i) {
        PbProperty *property = ints.addProperty(QStringLiteral("param %1").arg(i));
        ints.setRange(property, 0, 1000000);
        groupProperties.at(i % groupCount)->addSubProperty(property);
        intProperties.append(property);
    }
    const double createMs = elapsedMs(timer);

    for (int i = 0; i < count; ++i)
        ints.setValue(intProperties.at(i), i + 1);
    const double changeMs = elapsedMs(timer);

    for (PbProperty *property : qAsConst(intProperties))
        delete property;
    qDeleteAll(groupProperties);
    const double deleteMs = elapsedMs(timer);

    if (!ints.properties().isEmpty() || browser.rows != 0)
        std::fprintf(stderr, "leftovers after deletion\n");
    std::printf("%-8s %8d %10.2f %10.2f %10.2f %12ld\n", withBrowser ? "browser" : "managers", count, createMs,
                changeMs, deleteMs, peakKiB());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QVector<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.append(std::atoi(argv[i]));
    if (counts.isEmpty())
        counts = {1000, 10000};

    std::printf("%-8s %8s %10s %10s %10s %12s\n", "shown in", "props", "create ms", "change ms", "delete ms",
                "peak KiB");
    std::fflush(stdout);
    for (bool withBrowser : {false, true}) {
        for (int count : qAsConst(counts)) {
            const pid_t child = fork();
            if (child == 0) {
                QApplication app(argc, argv);
                runOnce(count, withBrowser);
                std::_Exit(0);
            }
            int status = 0;
            waitpid(child, &status, 0);
        }
    }
    return 0;
}
