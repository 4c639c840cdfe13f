// The saver's run: one download per record (3 tries each), a signal per record.
#include "device/save_can_data_thread.h"

#include "device/data_types.h"
#include "device/object_address.h"
#include "device/sdo_abort_name.h"
#include "device/sdo_request.h"
#include "device/value_format.h"

#include <QMutexLocker>

SaveCanDataThread::SaveCanDataThread(QObject *)
    : QThread(nullptr)
{
}

SaveCanDataThread::~SaveCanDataThread()
{
    stopProcess();
    wait();
}

void SaveCanDataThread::saveParams(int operation, QList<CanParam *> *params)
{
    {
        QMutexLocker lock(&m_mutex);
        m_operation = operation;
        m_params = params;
        m_stop = false;
    }
    start(QThread::InheritPriority);
}

bool SaveCanDataThread::succeeded() const
{
    QMutexLocker lock(&m_mutex);
    return m_success;
}

void SaveCanDataThread::stopProcess()
{
    QMutexLocker lock(&m_mutex);
    m_stop = true;
}

bool SaveCanDataThread::stopRequested()
{
    QMutexLocker lock(&m_mutex);
    return m_stop;
}

void SaveCanDataThread::run()
{
    int operation;
    QList<CanParam *> *params;
    {
        QMutexLocker lock(&m_mutex);
        m_success = true;
        operation = m_operation;
        params = m_params;
    }
    if (operation != 0 || params == nullptr)
        return;
    const QString failPrefix = QString::fromUtf8("Ошиба записи параметра ");
    for (CanParam *param : qAsConst(*params)) {
        quint8 bytes[kSdoSmallBufferSize];
        int count = 0;
        QString failure;
        ObjectAddress address;
        if (!parseObjectAddress(param->index, param->subindex, address)) {
            // Never written to an object the record does not name exactly.
            failure = badObjectAddressText(param->index, param->subindex);
        } else if (isStringType(param->dataType) && !isLatin1Text(param->currentValueStr)) {
            // Device texts are single bytes per character, read as Latin-1.
            failure = QString::fromUtf8("текст содержит символы вне кодировки Latin-1");
        } else if (!isStringType(param->dataType) && dataTypeSize(param->dataType) < 1) {
            // DOMAIN data and group records have no value of their own to download.
            failure = QString::fromUtf8("у параметра типа 0x%1 нет значения для записи")
                          .arg(param->dataType & 0xFF, 4, 16, QChar('0'));
        } else if (!paramValueToBytes(*param, count, bytes)) {
            failure = QString::fromUtf8("значение не помещается в %1 байт").arg(kSdoSmallBufferSize);
        } else {
            const SdoReply reply = sdoWrite(configuredNodeId(), address.index, address.subindex,
                                            quint8(param->dataType & 0xFF),
                                            QByteArray(reinterpret_cast<const char *>(bytes), count));
            if (!reply.ok)
                failure = sdoAbortName(reply.abortCode);
            else
                emit paramSavingSuccess(param->name);
        }
        if (!failure.isNull()) {
            {
                QMutexLocker lock(&m_mutex);
                m_success = false;
            }
            emit paramSavingFail(param->name, failPrefix + param->caption + ": " + failure);
        }
        if (stopRequested())
            return;
    }
}
