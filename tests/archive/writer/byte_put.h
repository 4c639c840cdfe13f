// Little helpers that append integers to a byte string in the byte orders the
// archive format uses (LE for sizes in headers and records, BE for stored chunks).
#pragma once

#include <QByteArray>
#include <QCryptographicHash>

#include <cstdint>

namespace zpaqtest {

inline void putByte(QByteArray &out, unsigned value)
{
    out.append(static_cast<char>(value & 0xFF));
}

inline void putLe(QByteArray &out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        putByte(out, static_cast<unsigned>(value >> (8 * i)));
}

inline void putBe32(QByteArray &out, uint32_t value)
{
    for (int i = 3; i >= 0; --i)
        putByte(out, value >> (8 * i));
}

inline QByteArray sha1Of(const QByteArray &data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Sha1);
}

} // namespace zpaqtest
