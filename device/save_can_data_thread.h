// Writes a list of parameter records to the device once, in a thread of its own.
#pragma once

#include "device/can_param.h"

#include <QList>
#include <QMutex>
#include <QThread>

class SaveCanDataThread : public QThread {
    Q_OBJECT
    Q_DISABLE_COPY(SaveCanDataThread)

public:
    /// The parent is not taken: the thread object has no Qt parent.
    explicit SaveCanDataThread(QObject *parent = nullptr);
    /// Stops the thread and waits for its end.
    ~SaveCanDataThread() override;

    /// Operation 0 writes the records of `params` (owned by the caller, which
    /// keeps the list unchanged until the run ends); any other code does nothing.
    void saveParams(int operation, QList<CanParam *> *params);

    /// False after any failed write of the last run.
    bool succeeded() const;

signals:
    void paramSavingSuccess(QString name);
    void paramSavingFail(QString name, QString message);

public slots:
    void stopProcess();

protected:
    void run() override;

private:
    bool stopRequested();

    bool m_success = true;
    bool m_stop = false;
    mutable QMutex m_mutex;
    int m_operation = 0;
    QList<CanParam *> *m_params = nullptr;
};
