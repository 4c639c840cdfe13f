// The node scan: node ids 0 to 127 in turn, in a thread of its own, with a
// signal per answering node and per checked id.
#pragma once

#include "device/device_node_info.h"

#include <QMutex>
#include <QString>
#include <QThread>

#include <atomic>

class ConnectionThread : public QThread {
    Q_OBJECT
    Q_DISABLE_COPY(ConnectionThread)

public:
    /// The parent is not taken: the thread object has no Qt parent.
    explicit ConnectionThread(QObject *parent = nullptr);
    /// Stops a running scan and waits for its end.
    ~ConnectionThread() override;

    /// One probe of the node (object 0x1000, 3 tries) on the channel as it is set.
    bool checkNode(int nodeId);

signals:
    void signalNodeListRefreshingStopped();
    void signalReturnNode(DeviceNodeInfo info);
    void signalNodeChecked(int nodeId);
    void signalAllNodesChecked();
    void signalConnectionError();

public slots:
    void slotGetNodeList();
    void stopProcess();
    void slotStopRefreshingNodeList();

protected:
    void run() override;

private:
    void getNodeList();
    bool stopRequested();

    bool m_stop = false;
    QMutex m_mutex;
    std::atomic<bool> m_stopRefreshing{false};
    QString m_methodName;
};
