// Conversion between a device's answer bytes and a record's raw value and
// display text, by data type and by the process-wide display format.
#pragma once

#include "device/can_param.h"

#include <QString>

#include <atomic>

/// Process-wide display mode, set by the View actions.
enum DisplayMode : int {
    DisplayDefault = 0,     ///< hexadecimal for 32/64-bit unsigned and INTEGER64, else decimal
    DisplayDecimal = 1,
    DisplayHexadecimal = 3, ///< "0x" and two lower-case digits per byte
    DisplayBinary = 4,      ///< "b" and eight digits per byte
};
/// Atomic: the loader thread formats values while the GUI thread may switch it.
extern std::atomic<int> displayFormat;

/// Size of the request block's small buffer; no ordinary answer or download is longer.
constexpr int kSdoSmallBufferSize = 70;

/// Stores `count` answer bytes into the record: numbers into currentValue
/// (little-endian, only as many bytes as the data type holds, at most 8) and
/// then its display text; the two text types into currentValueStr as Latin-1
/// (a VISIBLE_STRING cut at the first NUL, an OCTET_STRING whole, so that it is
/// written back byte for byte). `changed` tells whether the display text differs.
void setParamValue(CanParam &param, int count, const quint8 *bytes, bool &changed);

/// Rewrites currentValueStr from currentValue and dataType (the size is the
/// data type's, whatever the record says); types without a numeric rendering
/// (strings, DOMAIN, 0) keep their text.
void formatParamValue(CanParam &param);

/// Renders an integer of type T (one of the eight CiA 301 integer types) held
/// in the low `size` bytes of `raw`, by displayFormat; the hint "hex" makes
/// hexadecimal the default rendering. A size outside 1 to 8 counts as the
/// size of T, and bytes above the size are not shown in any mode.
template <typename T>
QString formatIntegerValue(quint64 raw, int size, const QString &hint)
{
    if (size < 1 || size > 8)
        size = int(sizeof(T));
    if (size < 8)
        raw &= (quint64(1) << (8 * size)) - 1;
    const int mode = displayFormat;
    if (mode == DisplayHexadecimal || (mode == DisplayDefault && hint == QLatin1String("hex")))
        return QString("0x%1").arg(raw, 2 * size, 16, QChar('0'));
    if (mode == DisplayBinary)
        return QString("b%1").arg(raw, 8 * size, 2, QChar('0'));
    return QString::number(static_cast<T>(raw));
}

/// Bytes of a download of the record's value into `buffer`: as many low bytes
/// of currentValue as the data type holds, or the text as Latin-1, the
/// encoding texts are read with. Returns false, writing nothing, when the value
/// does not fit `capacity` bytes, the text holds a character Latin-1 has not
/// (isLatin1Text), or the type has no byte form (DOMAIN, unknown types).
bool paramValueToBytes(const CanParam &param, int &count, quint8 *buffer,
                       int capacity = kSdoSmallBufferSize);

/// True when every character of the text has a Latin-1 byte.
bool isLatin1Text(const QString &text);

/// The float or double whose bits are the 4 or 8 bytes at `bytes`.
float rawToFloat(const void *bytes);
double rawToDouble(const void *bytes);

/// Plain stores through a pointer, as the editing code needs them.
void storeU32(quint32 value, void *destination);
void storeU64(quint64 value, void *destination);

/// Sets (bit value 1) or clears (0) bit `bitNumber` of `value`; numbers outside 0..63 change nothing.
void setBit64(quint64 &value, int bitValue, int bitNumber);

/// Low 16 bits into words[0], high 16 bits into words[1]; returns the high word.
quint16 splitToWords(quint32 value, quint16 *words);
