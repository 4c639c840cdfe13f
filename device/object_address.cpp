// Strict reading of index and subindex texts.
#include "device/object_address.h"

#include <QRegularExpression>

bool parseObjectAddress(const QString &indexText, const QString &subindexText,
                        ObjectAddress &address)
{
    static const QRegularExpression indexPattern("^[0-9A-Fa-f]{1,4}$");
    static const QRegularExpression subindexPattern("^[0-9A-Fa-f]+$");
    if (!indexPattern.match(indexText).hasMatch() || !subindexPattern.match(subindexText).hasMatch())
        return false;
    bool ok = false;
    const uint subindex = subindexText.toUInt(&ok, 16);
    if (!ok || subindex > 0xFF)
        return false;
    address.index = quint16(indexText.toUInt(nullptr, 16));
    address.subindex = quint8(subindex);
    return true;
}

QString badObjectAddressText(const QString &indexText, const QString &subindexText)
{
    return QString::fromUtf8("неверный адрес объекта (индекс \"%1\", субиндекс \"%2\")")
        .arg(indexText, subindexText);
}
