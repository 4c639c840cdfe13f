// The scan loop. Stop requests and the adapter's error flag are looked at
// before each id, so a scan ends within one node's probe of being asked.
#include "device/connection_thread.h"

#include "device/device_identity.h"
#include "device/sdo_request.h"

#include "canopen/port.h"

#include <QMutexLocker>

ConnectionThread::ConnectionThread(QObject *)
    : QThread(nullptr), m_methodName("")
{
}

ConnectionThread::~ConnectionThread()
{
    stopProcess();
    wait();
}

void ConnectionThread::slotGetNodeList()
{
    {
        QMutexLocker lock(&m_mutex);
        m_stop = false;
    }
    m_stopRefreshing = false;
    m_methodName = "getNodeList";
    start(QThread::InheritPriority);
}

void ConnectionThread::stopProcess()
{
    QMutexLocker lock(&m_mutex);
    m_stop = true;
}

void ConnectionThread::slotStopRefreshingNodeList()
{
    m_stopRefreshing = true;
}

void ConnectionThread::run()
{
    if (m_methodName == "getNodeList")
        getNodeList();
}

bool ConnectionThread::stopRequested()
{
    QMutexLocker lock(&m_mutex);
    return m_stop || m_stopRefreshing;
}

bool ConnectionThread::checkNode(int nodeId)
{
    return sdoRequest(quint8(nodeId), requestDeviceType).ok;
}

void ConnectionThread::getNodeList()
{
    for (int id = 0; id <= 127; ++id) {
        if (canLinkError != 0) {
            emit signalConnectionError();
            return;
        }
        if (stopRequested()) {
            emit signalNodeListRefreshingStopped();
            return;
        }
        pointSdoClientAt(quint8(id));
        if (checkNode(id)) {
            DeviceNodeInfo info;
            info.nodeId = id;
            info.deviceName = readDeviceName(quint8(id));
            info.ident = QString("");
            info.edsChecksum = QString("");
            emit signalReturnNode(info);
        }
        emit signalNodeChecked(id);
    }
    emit signalAllNodesChecked();
}
