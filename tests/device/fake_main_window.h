// A stand-in main window for device-layer tests: records every log line and
// every switch of the connection-dependent controls, in order.
#pragma once

#include "device/main_window_services.h"

#include <QMutex>
#include <QStringList>

class FakeMainWindow : public MainWindowServices {
public:
    void logMessage(const QString &text, bool information) override
    {
        QMutexLocker lock(&mutex);
        log.append((information ? "info: " : "error: ") + text);
    }
    void setUiConnected(bool connected) override
    {
        QMutexLocker lock(&mutex);
        log.append(connected ? "ui: connected" : "ui: disconnected");
    }
    QStringList lines()
    {
        QMutexLocker lock(&mutex);
        return log;
    }

    QMutex mutex;
    QStringList log;
};
