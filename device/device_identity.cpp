// Identity reads through the request glue.
#include "device/device_identity.h"

#include "device/little_endian.h"
#include "device/sdo_request.h"

QString readDeviceName(quint8 nodeId)
{
    const SdoReply reply = sdoRequest(nodeId, requestDeviceName);
    if (reply.ok) {
        const QString name = QString::fromLatin1(reply.data).remove(QChar(0)).trimmed();
        if (!name.isEmpty())
            return name;
    }
    return QString("CANopen device");
}

QString readValueAsDecimal(quint16 index, quint8 subindex, quint8 dataType)
{
    const SdoReply reply = sdoRead(configuredNodeId(), index, subindex, dataType);
    if (!reply.ok)
        return QString("");
    return QString::number(qint32(littleEndianValue(reply.data, 4)));
}

QString readValueAsHex(quint16 index, quint8 subindex, quint8 dataType)
{
    const SdoReply reply = sdoRead(configuredNodeId(), index, subindex, dataType);
    const quint32 value = reply.ok ? quint32(littleEndianValue(reply.data, 4)) : 0;
    if (value == 0)
        return QString("");
    return QString::number(value, 16);
}

int readStorageFormat()
{
    const SdoReply reply = sdoRequest(configuredNodeId(), requestStorageFormat);
    return reply.ok ? int(littleEndianValue(reply.data, 2)) : -1;
}

int readModuleCount()
{
    const SdoReply reply = sdoRequest(configuredNodeId(), requestModuleCount);
    return reply.ok ? int(littleEndianValue(reply.data, 1)) : -1;
}
