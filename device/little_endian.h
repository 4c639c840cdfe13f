// Answer bytes of the bus as a number: CANopen sends values least significant byte first.
#pragma once

#include <QByteArray>
#include <QtGlobal>

/// The first `count` bytes (at most `maxBytes`, at most 8) as a little-endian number, zero-extended.
inline quint64 littleEndianValue(const quint8 *bytes, int count, int maxBytes = 8)
{
    const int n = qBound(0, qMin(count, maxBytes), 8);
    quint64 value = 0;
    for (int i = 0; i < n; ++i)
        value |= quint64(bytes[i]) << (8 * i);
    return value;
}

inline quint64 littleEndianValue(const QByteArray &bytes, int maxBytes = 8)
{
    return littleEndianValue(reinterpret_cast<const quint8 *>(bytes.constData()), bytes.size(),
                             maxBytes);
}
