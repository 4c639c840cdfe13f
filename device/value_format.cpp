// Answer bytes to record values and back, and the integer renderings.
#include "value_format.h"

#include "data_types.h"

#include <cstring>

int displayFormat = DisplayDefault;

void setParamValue(CanParam &param, int count, const quint8 *bytes, bool &changed)
{
    param.currentValue = 0;
    const QString previous = param.currentValueStr;
    if (count < 0 || bytes == nullptr)
        count = 0;
    if (!isStringType(param.dataType)) {
        // A numeric answer longer than the raw value is cut to its 8 low bytes.
        const int n = count < 8 ? count : 8;
        quint64 raw = 0;
        for (int i = 0; i < n; ++i)
            raw |= quint64(bytes[i]) << (8 * i);
        param.currentValue = raw;
        formatParamValue(param);
    } else {
        int length = 0;
        while (length < count && bytes[length] != 0)
            ++length;
        param.currentValueStr = QString::fromLatin1(reinterpret_cast<const char *>(bytes), length);
    }
    changed = param.currentValueStr != previous;
}

void formatParamValue(CanParam &param)
{
    const quint64 raw = param.currentValue;
    const int size = param.size;
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
        // Counted in encoded bytes: a multi-byte local encoding must not cut the text short.
        const QByteArray text = param.currentValueStr.toLocal8Bit();
        if (text.size() > capacity)
            return false;
        count = text.size();
        if (count > 0)
            std::memcpy(buffer, text.constData(), size_t(count));
        return true;
    }
    if (param.size < 1 || param.size > 8 || param.size > capacity)
        return false;
    count = param.size;
    for (int i = 0; i < count; ++i)
        buffer[i] = quint8(param.currentValue >> (8 * i));
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
