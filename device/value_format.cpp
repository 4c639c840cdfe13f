// Answer bytes to record values and back, and the integer renderings.
#include "device/value_format.h"

#include "device/data_types.h"
#include "device/little_endian.h"

#include <cstring>

std::atomic<int> displayFormat{DisplayDefault};

void setParamValue(CanParam &param, int count, const quint8 *bytes, bool &changed)
{
    param.currentValue = 0;
    const QString previous = param.currentValueStr;
    if (count < 0 || bytes == nullptr)
        count = 0;
    if (!isStringType(param.dataType)) {
        // An answer longer than the type keeps only the type's bytes, so that
        // every display mode shows the same number.
        const int size = dataTypeSize(param.dataType);
        param.currentValue = littleEndianValue(bytes, count, size > 0 ? size : 8);
        formatParamValue(param);
    } else {
        int length = count;
        if (param.dataType == DataType::VisibleString) {
            length = 0;
            while (length < count && bytes[length] != 0)
                ++length;
        }
        param.currentValueStr = QString::fromLatin1(reinterpret_cast<const char *>(bytes), length);
    }
    changed = param.currentValueStr != previous;
}

void formatParamValue(CanParam &param)
{
    const quint64 raw = param.currentValue;
    const int size = dataTypeSize(param.dataType);
    const QString none("");
    const QString hex("hex");
    switch (param.dataType) {
    case DataType::Real32: {
        quint8 bytes[4];
        for (int i = 0; i < 4; ++i)
            bytes[i] = quint8(raw >> (8 * i));
        param.currentValueStr = QString::number(double(rawToFloat(bytes)), 'g', 6);
        break;
    }
    case DataType::Real64: {
        quint8 bytes[8];
        for (int i = 0; i < 8; ++i)
            bytes[i] = quint8(raw >> (8 * i));
        param.currentValueStr = QString::number(rawToDouble(bytes), 'g', 6);
        break;
    }
    case DataType::Boolean:
        param.currentValueStr = QString::number(raw);
        break;
    case DataType::Integer8:
        param.currentValueStr = formatIntegerValue<qint8>(raw, size, none);
        break;
    case DataType::Integer16:
        param.currentValueStr = formatIntegerValue<qint16>(raw, size, none);
        break;
    case DataType::Integer32:
        param.currentValueStr = formatIntegerValue<qint32>(raw, size, none);
        break;
    case DataType::Unsigned8:
        param.currentValueStr = formatIntegerValue<quint8>(raw, size, none);
        break;
    case DataType::Unsigned16:
        param.currentValueStr = formatIntegerValue<quint16>(raw, size, none);
        break;
    case DataType::Unsigned32:
        param.currentValueStr = formatIntegerValue<quint32>(raw, size, hex);
        break;
    case DataType::Integer64:
        param.currentValueStr = formatIntegerValue<qint64>(raw, size, hex);
        break;
    case DataType::Unsigned64:
        param.currentValueStr = formatIntegerValue<quint64>(raw, size, hex);
        break;
    default:
        break;
    }
}

bool paramValueToBytes(const CanParam &param, int &count, quint8 *buffer, int capacity)
{
    if (isStringType(param.dataType)) {
        if (!isLatin1Text(param.currentValueStr))
            return false;
        const QByteArray text = param.currentValueStr.toLatin1();
        if (text.size() > capacity)
            return false;
        count = text.size();
        if (count > 0)
            std::memcpy(buffer, text.constData(), size_t(count));
        return true;
    }
    const int size = dataTypeSize(param.dataType);
    if (size < 1 || size > capacity)
        return false;
    count = size;
    for (int i = 0; i < count; ++i)
        buffer[i] = quint8(param.currentValue >> (8 * i));
    return true;
}

bool isLatin1Text(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return false;
    }
    return true;
}

float rawToFloat(const void *bytes)
{
    float value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

double rawToDouble(const void *bytes)
{
    double value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

void storeU32(quint32 value, void *destination)
{
    std::memcpy(destination, &value, sizeof value);
}

void storeU64(quint64 value, void *destination)
{
    std::memcpy(destination, &value, sizeof value);
}

void setBit64(quint64 &value, int bitValue, int bitNumber)
{
    if (bitNumber < 0 || bitNumber > 63)
        return;
    const quint64 mask = quint64(1) << bitNumber;
    value = bitValue ? (value | mask) : (value & ~mask);
}

quint16 splitToWords(quint32 value, quint16 *words)
{
    words[0] = quint16(value & 0xFFFF);
    words[1] = quint16(value >> 16);
    return words[1];
}
