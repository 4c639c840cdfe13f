// Value conversion: every integer type in every display format, the real and
// boolean types, answers into records, records into download bytes, abort names.
#include "device/data_types.h"
#include "device/sdo_abort_name.h"
#include "device/value_format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <type_traits>

namespace {

class DisplayFormatGuard {
public:
    explicit DisplayFormatGuard(int mode) : saved(displayFormat) { displayFormat = mode; }
    ~DisplayFormatGuard() { displayFormat = saved; }

private:
    int saved;
};

CanParam record(int dataType, quint64 raw)
{
    CanParam p;
    p.dataType = dataType;
    p.size = dataTypeSize(dataType);
    p.currentValue = raw;
    return p;
}

QString render(int dataType, quint64 raw, int mode)
{
    DisplayFormatGuard guard(mode);
    CanParam p = record(dataType, raw);
    formatParamValue(p);
    return p.currentValueStr;
}

struct FormatCase {
    int dataType;
    quint64 raw;
    const char *defaultText, *decimal, *hex, *binary;
};

class FormatTable : public ::testing::TestWithParam<FormatCase> {};

} // namespace

TEST_P(FormatTable, RendersInEveryMode)
{
    const FormatCase &c = GetParam();
    EXPECT_EQ(render(c.dataType, c.raw, DisplayDefault), c.defaultText);
    EXPECT_EQ(render(c.dataType, c.raw, DisplayDecimal), c.decimal);
    EXPECT_EQ(render(c.dataType, c.raw, DisplayHexadecimal), c.hex);
    EXPECT_EQ(render(c.dataType, c.raw, DisplayBinary), c.binary);
}

INSTANTIATE_TEST_SUITE_P(
    IntegerTypes, FormatTable,
    ::testing::Values(
        FormatCase{DataType::Integer8, 0x80, "-128", "-128", "0x80", "b10000000"},
        FormatCase{DataType::Unsigned8, 0x80, "128", "128", "0x80", "b10000000"},
        FormatCase{DataType::Integer16, 0xFFFF, "-1", "-1", "0xffff", "b1111111111111111"},
        FormatCase{DataType::Unsigned16, 0x0102, "258", "258", "0x0102", "b0000000100000010"},
        FormatCase{DataType::Integer32, 0xFFFFFFFE, "-2", "-2", "0xfffffffe",
                   "b11111111111111111111111111111110"},
        FormatCase{DataType::Unsigned32, 10, "0x0000000a", "10", "0x0000000a",
                   "b00000000000000000000000000001010"},
        FormatCase{DataType::Integer64, ~0ull, "0xffffffffffffffff", "-1", "0xffffffffffffffff",
                   "b1111111111111111111111111111111111111111111111111111111111111111"},
        FormatCase{DataType::Unsigned64, ~0ull, "0xffffffffffffffff", "18446744073709551615",
                   "0xffffffffffffffff",
                   "b1111111111111111111111111111111111111111111111111111111111111111"}));

TEST(ValueFormat, RealAndBooleanIgnoreDisplayMode)
{
    double one = 1.0 / 3.0;
    quint64 bits = 0;
    std::memcpy(&bits, &one, 8);
    for (int mode : {DisplayDefault, DisplayDecimal, DisplayHexadecimal, DisplayBinary}) {
        EXPECT_EQ(render(DataType::Real32, 0x3FC00000, mode), "1.5");
        EXPECT_EQ(render(DataType::Real64, bits, mode), "0.333333");
        EXPECT_EQ(render(DataType::Boolean, 1, mode), "1");
    }
}

TEST(ValueFormat, TypesWithoutNumberKeepTheirText)
{
    for (int type : {0, int(DataType::Domain), int(DataType::VisibleString), 99}) {
        CanParam p = record(type, 5);
        p.currentValueStr = "kept";
        formatParamValue(p);
        EXPECT_EQ(p.currentValueStr, "kept") << type;
    }
}

TEST(ValueFormat, SetParamValueNumbersAndChangeFlag)
{
    DisplayFormatGuard guard(DisplayDecimal);
    CanParam p = record(DataType::Unsigned16, 0xDEAD);
    const quint8 answer[] = {0x34, 0x12};
    bool changed = false;
    setParamValue(p, 2, answer, changed);
    EXPECT_EQ(p.currentValue, 0x1234u);
    EXPECT_EQ(p.currentValueStr, "4660");
    EXPECT_TRUE(changed);
    setParamValue(p, 2, answer, changed);
    EXPECT_FALSE(changed); // same text again
}

TEST(ValueFormat, SetParamValueLongNumericAnswerStaysInsideRawValue)
{
    // The member after currentValue holds a sentinel that a write past it would change.
    CanParam p = record(DataType::Unsigned64, 0);
    p.spareValue = 0x2222222222222222ull;
    quint8 answer[70];
    for (int i = 0; i < 70; ++i)
        answer[i] = quint8(i + 1);
    bool changed = false;
    setParamValue(p, 70, answer, changed);
    EXPECT_EQ(p.currentValue, 0x0807060504030201ull);
    EXPECT_EQ(p.spareValue, 0x2222222222222222ull);
}

TEST(ValueFormat, SetParamValueStrings)
{
    CanParam p = record(DataType::VisibleString, 77);
    const quint8 answer[] = {'A', 'B', 0, 'D'};
    bool changed = false;
    setParamValue(p, 4, answer, changed);
    EXPECT_EQ(p.currentValueStr, "AB");
    EXPECT_EQ(p.currentValue, 0u);
    EXPECT_TRUE(changed);

    CanParam octets = record(DataType::OctetString, 0);
    const quint8 latin[] = {0xE9, 'x'};
    setParamValue(octets, 2, latin, changed);
    EXPECT_EQ(octets.currentValueStr, QString::fromLatin1("\xe9x"));
}

// Only the type's bytes of a longer answer are kept, so every mode shows one number.
TEST(ValueFormat, OverLongNumericAnswerKeepsTheTypesSize)
{
    const quint8 answer[] = {0x78, 0x56, 0x34, 0x12, 0x99};
    const struct {
        int dataType, count;
        quint64 raw;
        const char *hex, *decimal;
    } cases[] = {
        {DataType::Unsigned8, 4, 0x78, "0x78", "120"},
        {DataType::Integer16, 5, 0x5678, "0x5678", "22136"},
        {DataType::Unsigned32, 5, 0x12345678, "0x12345678", "305419896"},
        {DataType::Boolean, 2, 0x78, "120", "120"},
    };
    for (const auto &c : cases) {
        CanParam p = record(c.dataType, 0);
        bool changed = false;
        {
            DisplayFormatGuard guard(DisplayHexadecimal);
            setParamValue(p, c.count, answer, changed);
            EXPECT_EQ(p.currentValueStr, c.hex) << c.dataType;
        }
        EXPECT_EQ(p.currentValue, c.raw) << c.dataType;
        EXPECT_EQ(render(c.dataType, p.currentValue, DisplayDecimal), c.decimal) << c.dataType;
    }
}

// A size that is not the type's (a record from a file) neither widens nor breaks a rendering.
TEST(ValueFormat, RenderingIsBoundedByTheTypesSize)
{
    DisplayFormatGuard guard(DisplayHexadecimal);
    for (int size : {-1, 0, 9, 1100000000}) {
        CanParam p = record(DataType::Unsigned8, 10);
        p.size = size;
        formatParamValue(p);
        EXPECT_EQ(p.currentValueStr, "0x0a") << size;
        EXPECT_EQ(formatIntegerValue<quint16>(0x12345, size, ""), "0x2345") << size;
    }
}

// Texts go back in the encoding they were read with, one byte per character.
TEST(ValueFormat, TextsRoundTripByteForByte)
{
    const struct {
        int dataType;
        QByteArray answer;
        const char *shownLatin1;
        int shownLength;
    } cases[] = {
        {DataType::VisibleString, QByteArray("Drive \xb0" "C"), "Drive \xb0" "C", 8},
        {DataType::OctetString, QByteArray("\x01\x00\x02\xff", 4), "\x01\x00\x02\xff", 4},
        {DataType::OctetString, QByteArray("\x00\x00", 2), "\x00\x00", 2},
    };
    for (const auto &c : cases) {
        CanParam p = record(c.dataType, 0);
        bool changed = false;
        setParamValue(p, c.answer.size(), reinterpret_cast<const quint8 *>(c.answer.constData()), changed);
        EXPECT_EQ(p.currentValueStr, QString::fromLatin1(c.shownLatin1, c.shownLength));
        quint8 buffer[70];
        int count = -1;
        ASSERT_TRUE(paramValueToBytes(p, count, buffer));
        EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(buffer), count),
                  QByteArray(c.shownLatin1, c.shownLength));
    }
    CanParam text = record(DataType::VisibleString, 0);
    text.currentValueStr = QString::fromUtf8("Привод");
    int count = -1;
    quint8 buffer[70];
    EXPECT_FALSE(isLatin1Text(text.currentValueStr));
    EXPECT_FALSE(paramValueToBytes(text, count, buffer));
    EXPECT_EQ(count, -1);
}

// The loader thread formats values while the GUI thread switches the mode.
TEST(ValueFormat, DisplayFormatIsSharedSafelyBetweenThreads)
{
    static_assert(std::is_same<decltype(displayFormat), std::atomic<int>>::value,
                  "read by the loader thread while the GUI thread writes it");
    DisplayFormatGuard guard(DisplayDefault);
    std::thread formatter([] {
        CanParam p = record(DataType::Unsigned16, 0x1234);
        for (int i = 0; i < 2000; ++i) {
            formatParamValue(p);
            EXPECT_TRUE(p.currentValueStr == "0x1234" || p.currentValueStr == "b0001001000110100"
                        || p.currentValueStr == "4660") << p.currentValueStr.toStdString();
        }
    });
    for (int i = 0; i < 2000; ++i)
        displayFormat = (i % 2) ? DisplayHexadecimal : DisplayBinary;
    formatter.join();
}

TEST(ValueFormat, DownloadBytesOfNumbers)
{
    CanParam p = record(DataType::Integer16, 0xFFFE);
    quint8 buffer[70];
    std::memset(buffer, 0xAA, sizeof buffer);
    int count = 0;
    ASSERT_TRUE(paramValueToBytes(p, count, buffer));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(buffer[0], 0xFE);
    EXPECT_EQ(buffer[1], 0xFF);
    EXPECT_EQ(buffer[2], 0xAA);
}

TEST(ValueFormat, DownloadBytesRefuseWhatDoesNotFit)
{
    quint8 buffer[80];
    std::memset(buffer, 0xAA, sizeof buffer);
    int count = -1;

    CanParam text = record(DataType::VisibleString, 0);
    text.currentValueStr = QString(70, 'x');
    ASSERT_TRUE(paramValueToBytes(text, count, buffer));
    EXPECT_EQ(count, 70);

    std::memset(buffer, 0xAA, sizeof buffer);
    count = -1;
    text.currentValueStr = QString(71, 'x');
    EXPECT_FALSE(paramValueToBytes(text, count, buffer));
    EXPECT_EQ(count, -1);
    EXPECT_EQ(buffer[0], 0xAA);

    EXPECT_FALSE(paramValueToBytes(record(DataType::Domain, 0), count, buffer));
    EXPECT_FALSE(paramValueToBytes(record(0, 0), count, buffer));
}

TEST(ValueFormat, RawHelpers)
{
    const quint8 floatBits[] = {0x00, 0x00, 0xC0, 0x3F};
    EXPECT_FLOAT_EQ(rawToFloat(floatBits), 1.5f);
    quint8 store[8] = {};
    storeU32(0x11223344, store);
    EXPECT_EQ(store[0], 0x44);
    storeU64(0x0102030405060708ull, store);
    EXPECT_EQ(store[7], 0x01);

    quint64 value = 0;
    setBit64(value, 1, 30);
    EXPECT_EQ(value, 0x40000000u);
    setBit64(value, 0, 30);
    EXPECT_EQ(value, 0u);
    setBit64(value, 1, 64); // out of range: unchanged, no undefined shift
    EXPECT_EQ(value, 0u);

    quint16 words[2];
    EXPECT_EQ(splitToWords(0xABCD1234, words), 0xABCD);
    EXPECT_EQ(words[0], 0x1234);
}

TEST(ValueFormat, SizesAndKinds)
{
    EXPECT_EQ(dataTypeSize(DataType::Boolean), 1);
    EXPECT_EQ(dataTypeSize(DataType::Unsigned16), 2);
    EXPECT_EQ(dataTypeSize(DataType::Real32), 4);
    EXPECT_EQ(dataTypeSize(DataType::Integer64), 8);
    EXPECT_EQ(dataTypeSize(DataType::VisibleString), -1);
    EXPECT_EQ(dataTypeSize(DataType::Domain), -1);
    EXPECT_EQ(dataTypeKind(DataType::Boolean), 3);
    EXPECT_EQ(dataTypeKind(DataType::Unsigned8), 1);
}

TEST(AbortNames, KnownAndUnknownCodes)
{
    EXPECT_EQ(sdoAbortName(0x06020000), "OD_NO_SUCH_OBJECT");
    EXPECT_EQ(sdoAbortName(0x06010002), "OD_NO_SUCH_OBJECT");
    EXPECT_EQ(sdoAbortName(0x05040000), "SDOABT_TIMED_OUT");
    EXPECT_EQ(sdoAbortName(0x08000021), "SDOABT_LOCAL_CTRL_ERROR");
    EXPECT_EQ(sdoAbortName(0x06090032), "OD_VALUE_TOO_HIGH");
    EXPECT_TRUE(sdoAbortName(0x05040001).isEmpty()); // made by the stack, but not named
    EXPECT_TRUE(sdoAbortName(0).isEmpty());
}
