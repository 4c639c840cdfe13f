// The loader's passes: pause, read every record but DOMAIN entries, report.
// A record that fails is followed by a presence check of the device, which
// tells a refused entry from a device that has gone.
#include "device/load_can_data_thread.h"

#include "device/data_types.h"
#include "device/object_address.h"
#include "device/sdo_abort_name.h"
#include "device/sdo_request.h"
#include "device/value_format.h"

#include "canopen/port.h"

#include <QDebug>
#include <QMutexLocker>

namespace {
// An open group is refreshed about once a second without keeping the bus busy.
constexpr int kPassPauseMs = 1000;
}

LoadCanDataThread::LoadCanDataThread(QObject *)
    : QThread(nullptr)
{
}

LoadCanDataThread::~LoadCanDataThread()
{
    stopProcess();
    wait();
}

void LoadCanDataThread::loadParams(const QList<CanParam *> &params)
{
    {
        QMutexLocker lock(&m_mutex);
        m_params = params;
        m_stop = false;
    }
    start(QThread::InheritPriority);
}

void LoadCanDataThread::reloadParams(const QList<CanParam *> &params)
{
    loadParams(params);
}

bool LoadCanDataThread::isIdle() const
{
    QMutexLocker lock(&m_mutex);
    return m_idle;
}

void LoadCanDataThread::stopProcess()
{
    QMutexLocker lock(&m_mutex);
    m_stop = true;
    m_stopCondition.wakeAll();
}

bool LoadCanDataThread::stopRequested()
{
    QMutexLocker lock(&m_mutex);
    return m_stop;
}

bool LoadCanDataThread::devicePresent()
{
    return sdoRead(configuredNodeId(), 0x1000, 0, DataType::Unsigned32).ok;
}

void LoadCanDataThread::run()
{
    for (;;) {
        QList<CanParam *> params;
        {
            QMutexLocker lock(&m_mutex);
            if (m_stop)
                return;
            params = m_params;
        }
        if (canLinkError != 0) {
            emit signalConnectionError();
            return;
        }
        {
            QMutexLocker lock(&m_mutex);
            m_idle = false;
            if (!m_stop)
                m_stopCondition.wait(&m_mutex, kPassPauseMs);
            if (m_stop)
                return;
        }
        if (params.isEmpty() && !devicePresent()) {
            emit paramsLoadingFail();
            return;
        }
        for (CanParam *param : qAsConst(params)) {
            if (param == nullptr || param->dataType == DataType::Domain)
                continue;
            const QString failPrefix =
                QString::fromUtf8("Не удалось получить данные параметра ") + param->caption + ". ";
            ObjectAddress address;
            if (!parseObjectAddress(param->index, param->subindex, address)) {
                // Nothing is read from an object the record does not name exactly.
                emit paramLoadingFail(failPrefix + QString::fromUtf8("Ошибка: ")
                                      + badObjectAddressText(param->index, param->subindex));
                if (stopRequested())
                    return;
                continue;
            }
            const SdoReply reply = sdoRead(configuredNodeId(), address.index, address.subindex,
                                           quint8(param->dataType & 0xFF));
            if (reply.ok) {
                bool changed = false;
                setParamValue(*param, reply.data.size(),
                              reinterpret_cast<const quint8 *>(reply.data.constData()), changed);
                emit paramLoaded(param->name);
            } else {
                if (!devicePresent()) {
                    emit paramsLoadingFail();
                    return;
                }
                qDebug().noquote() << QString::fromUtf8("Не удалось получить данные параметра ")
                                              + param->caption;
                qDebug().noquote() << "index " + param->index;
                qDebug().noquote() << "subindex " + param->subindex;
                emit paramLoadingFail(failPrefix + QString::fromUtf8("Ошибка: ")
                                      + sdoAbortName(reply.abortCode));
            }
            if (stopRequested())
                return;
        }
        {
            QMutexLocker lock(&m_mutex);
            m_idle = true;
        }
        emit paramsLoaded();
    }
}
