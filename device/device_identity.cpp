// Identity reads through the request glue.
#include "device_identity.h"

#include "sdo_request.h"

namespace {
// Answer bytes little-endian, zero-extended, at most `maxBytes` of them.
quint32 littleEndian(const QByteArray &data, int maxBytes)
{
    quint32 value = 0;
    const int n = qMin(data.size(), maxBytes);
    for (int i = 0; i < n; ++i)
        value |= quint32(quint8(data[i])) << (8 * i);
    return value;
}
} // namespace

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
    return QString::number(qint32(littleEndian(reply.data, 4)));
}

QString readValueAsHex(quint16 index, quint8 subindex, quint8 dataType)
{
    const SdoReply reply = sdoRead(configuredNodeId(), index, subindex, dataType);
    const quint32 value = reply.ok ? littleEndian(reply.data, 4) : 0;
    if (value == 0)
        return QString("");
    return QString::number(value, 16);
}

int readStorageFormat()
{
    const SdoReply reply = sdoRequest(configuredNodeId(), requestStorageFormat);
    return reply.ok ? int(littleEndian(reply.data, 2)) : -1;
}

int readModuleCount()
{
    const SdoReply reply = sdoRequest(configuredNodeId(), requestModuleCount);
    return reply.ok ? int(littleEndian(reply.data, 1)) : -1;
}
