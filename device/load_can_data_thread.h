// Reads a list of parameter records from the device again and again, about
// once a second, until stopped. It writes the records' values directly: the
// owner leaves them alone while the thread runs.
#pragma once

#include "device/can_param.h"

#include <QList>
#include <QMutex>
#include <QThread>
#include <QWaitCondition>

class LoadCanDataThread : public QThread {
    Q_OBJECT
    Q_DISABLE_COPY(LoadCanDataThread)

public:
    /// The parent is not taken: the thread object has no Qt parent.
    explicit LoadCanDataThread(QObject *parent = nullptr);
    /// Stops the thread and waits for its end.
    ~LoadCanDataThread() override;

    /// Takes a copy of the list, clears the stop flag and starts the passes.
    void loadParams(const QList<CanParam *> &params);
    /// The same, for re-reading a subset.
    void reloadParams(const QList<CanParam *> &params);

    /// True after a pass has ended, false while one reads.
    bool isIdle() const;

signals:
    void paramLoaded(QString name);
    void paramsLoaded();
    void paramsLoadingFail();
    void paramLoadingFail(QString message);
    void signalConnectionError();
    void test(int value);

public slots:
    void stopProcess();

protected:
    void run() override;

private:
    bool stopRequested();
    bool devicePresent();

    bool m_idle = false;
    bool m_stop = false;
    mutable QMutex m_mutex;
    QList<CanParam *> m_params;
    QWaitCondition m_stopCondition; // ends the pause between passes early
};
