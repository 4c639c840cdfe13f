// JSON parameter sets: round trips through files and records, the file's
// shape, files that are not parameter sets, records that cannot be taken as
// they stand, and a write that fails.
#include "device/data_types.h"
#include "device/json_param_set.h"
#include "device/value_format.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryFile>

#include <gtest/gtest.h>

namespace {

CanParam makeRecord(const QString &name, int dataType, quint64 value, const QString &text)
{
    CanParam p;
    p.name = name;
    p.caption = "cap " + name;
    p.description = "desc";
    p.parent = "parent";
    p.index = "2000";
    p.subindex = "1A";
    p.dataType = dataType;
    p.size = dataTypeSize(dataType);
    p.currentValue = value;
    p.currentValueStr = text;
    return p;
}

QByteArray saved(const JsonParamSet &set)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(set.save(&buffer));
    return buffer.data();
}

JsonParamSet loaded(const QByteArray &bytes, bool expected = true)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    JsonParamSet set;
    EXPECT_EQ(set.load(&buffer), expected) << bytes.toStdString();
    return set;
}

// A file of one record with the given members (JSON text without braces).
QByteArray oneRecord(const QByteArray &members)
{
    return R"({"params": [{"name": "p", )" + members + "}]}";
}

} // namespace

TEST(JsonParamSet, RoundTripKeepsRecordsAndOrder)
{
    CanParam a = makeRecord("b second", DataType::Unsigned64, ~0ull, "0xffffffffffffffff");
    CanParam b = makeRecord("a first", DataType::VisibleString, 0, QString::fromUtf8("Привод"));
    JsonParamSet out;
    out.fromCanParams({&a, &b});
    const QByteArray bytes = saved(out);
    EXPECT_TRUE(bytes.contains("\"currentValue\": \"18446744073709551615\""));

    QList<CanParam> back;
    loaded(bytes).toCanParams(back);
    ASSERT_EQ(back.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const CanParam &orig = i == 0 ? a : b;
        EXPECT_EQ(back[i].name, orig.name);
        EXPECT_EQ(back[i].caption, orig.caption);
        EXPECT_EQ(back[i].description, orig.description);
        EXPECT_EQ(back[i].parent, orig.parent);
        EXPECT_EQ(back[i].index, orig.index);
        EXPECT_EQ(back[i].subindex, orig.subindex);
        EXPECT_EQ(back[i].dataType, orig.dataType);
        EXPECT_EQ(back[i].size, orig.size);
        EXPECT_EQ(back[i].currentValue, orig.currentValue);
        EXPECT_EQ(back[i].currentValueStr, orig.currentValueStr);
        EXPECT_EQ(back[i].ownerMap, nullptr);
    }
}

TEST(JsonParamSet, FileShape)
{
    CanParam a = makeRecord("n", DataType::Unsigned8, 5, "5");
    JsonParamSet set;
    set.fromCanParams({&a});
    const QJsonDocument doc = QJsonDocument::fromJson(saved(set));
    const QJsonObject entry = doc.object().value("params").toArray().at(0).toObject();
    EXPECT_EQ(entry.keys(), (QStringList{"caption", "currentValue", "currentValueStr", "dataType",
                                         "description", "index", "name", "parent", "size",
                                         "subindex"}));
    EXPECT_TRUE(entry.value("dataType").isDouble());
    EXPECT_TRUE(entry.value("currentValue").isString());
}

TEST(JsonParamSet, NumbersAreRenderedAgainFromTheRawValue)
{
    const int savedFormat = displayFormat;
    displayFormat = DisplayDecimal;
    const QByteArray file = R"({"params": [
        {"name": "u32", "index": "2000", "subindex": "0", "dataType": 7, "size": 4,
         "currentValue": "10", "currentValueStr": "99"},
        {"name": "str", "index": "2000", "subindex": "1", "dataType": 9, "size": -1,
         "currentValue": "3", "currentValueStr": "text"},
        {"name": "dom", "index": "2000", "subindex": "2", "dataType": 15, "size": -1,
         "currentValueStr": "file", "extra": true}
    ]})";
    QList<CanParam> records;
    loaded(file).toCanParams(records);
    displayFormat = savedFormat;
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records[0].currentValueStr, "10");
    EXPECT_EQ(records[1].currentValueStr, "text");
    EXPECT_EQ(records[1].currentValue, 3u);
    EXPECT_EQ(records[2].currentValueStr, "file");
    EXPECT_EQ(records[2].currentValue, 0u);
}

TEST(JsonParamSet, InputThatIsNotAParameterSetFailsWithAnEmptySet)
{
    for (const QByteArray &bad :
         {QByteArray(""), QByteArray("not json"), QByteArray("{\"params\": [1, 2"),
          QByteArray("[1, 2, 3]"), QByteArray("{\"other\": []}"), QByteArray("{\"params\": 5}"),
          QByteArray("\xff\xfe\x00garbage", 10), QByteArray(R"({"params": [3, "x", {"name": "ok"}]})"),
          QByteArray(R"({"params": [{"name": "a", "index": "2000", "subindex": "0"}]} trailing)"),
          oneRecord(R"("index": "2000", "subindex": "0")").chopped(3)}) {
        JsonParamSet set = loaded(bad, false);
        EXPECT_TRUE(set.params.isEmpty()) << bad.toStdString();
        QList<CanParam> records{CanParam()};
        set.toCanParams(records);
        EXPECT_TRUE(records.isEmpty());
    }
    EXPECT_TRUE(loaded(R"({"params": []})").params.isEmpty());
}

// Records that would read or write something else than the file says are
// refused one by one, with a message, and the rest of the file is taken.
TEST(JsonParamSet, RecordsThatCannotBeTakenAsTheyStandAreRefused)
{
    const struct {
        const char *members;
        const char *reason;
    } cases[] = {
        {R"("index": "12103", "subindex": "0", "dataType": 7, "currentValue": "1")",
         "неверный адрес объекта (индекс \"12103\", субиндекс \"0\")"},
        {R"("index": "2103", "subindex": "100", "dataType": 7, "currentValue": "1")",
         "неверный адрес объекта (индекс \"2103\", субиндекс \"100\")"},
        {R"("index": "0x21", "subindex": "0", "dataType": 7, "currentValue": "1")",
         "неверный адрес объекта (индекс \"0x21\", субиндекс \"0\")"},
        {R"("index": "2103", "dataType": 7, "currentValue": "1")",
         "неверный адрес объекта (индекс \"2103\", субиндекс \"\")"},
        {R"("index": "2103", "subindex": "0", "dataType": 7, "currentValue": 4660)",
         "неверное значение 4660"},
        {R"("index": "2103", "subindex": "0", "dataType": 7, "currentValue": "-1")",
         "неверное значение \"-1\""},
        {R"("index": "2103", "subindex": "0", "dataType": 7, "currentValue": "0x1234")",
         "неверное значение \"0x1234\""},
        {R"("index": "2103", "subindex": "0", "dataType": 5, "currentValue": "12abc")",
         "неверное значение \"12abc\""},
        {R"("index": "2103", "subindex": "0", "dataType": 5, "currentValue": "256")",
         "неверное значение \"256\""},
        {R"("index": "2103", "subindex": "0", "dataType": 27, "currentValue": "18446744073709551616")",
         "неверное значение \"18446744073709551616\""},
        {R"("index": "2103", "subindex": "0", "dataType": 7)", "неверное значение (нет)"},
    };
    for (const auto &c : cases) {
        const QByteArray file = R"({"params": [{"name": "bad", )" + QByteArray(c.members)
                                + R"(}, {"name": "good", "index": "1", "subindex": "FF", "dataType": 5, "currentValue": "255"}]})";
        const JsonParamSet set = loaded(file);
        ASSERT_EQ(set.params.size(), 1) << c.members;
        EXPECT_EQ(set.params[0].name, "good");
        EXPECT_EQ(set.errors, QStringList{QString::fromUtf8("Параметр bad не загружен: ") + QString::fromUtf8(c.reason)})
            << c.members;
    }
}

// The size of a number comes from its type, whatever the file says.
TEST(JsonParamSet, NumberSizeComesFromTheDataType)
{
    const int savedFormat = displayFormat;
    displayFormat = DisplayHexadecimal;
    const struct {
        const char *members;
        int size;
        const char *text;
    } cases[] = {
        {R"("dataType": 7, "size": 1100000000, "currentValue": "1")", 4, "0x00000001"},
        {R"("dataType": 5, "size": -1, "currentValue": "10")", 1, "0x0a"},
        {R"("dataType": 27, "size": 2, "currentValue": "18446744073709551615")", 8, "0xffffffffffffffff"},
        {R"("dataType": 9, "size": 7, "currentValue": "0", "currentValueStr": "abc")", 7, "abc"},
    };
    for (const auto &c : cases) {
        QList<CanParam> records;
        loaded(oneRecord(R"("index": "2000", "subindex": "0", )" + QByteArray(c.members))).toCanParams(records);
        ASSERT_EQ(records.size(), 1) << c.members;
        EXPECT_EQ(records[0].size, c.size) << c.members;
        EXPECT_EQ(records[0].currentValueStr, c.text) << c.members;
    }
    displayFormat = savedFormat;
}

TEST(JsonParamSet, FailedWriteIsReported)
{
    CanParam a = makeRecord("n", DataType::Unsigned8, 5, "5");
    JsonParamSet set;
    set.fromCanParams({&a});

    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    EXPECT_FALSE(set.save(&readOnly));

    QBuffer closed;
    EXPECT_FALSE(set.save(&closed));
    EXPECT_FALSE(set.save(nullptr));

    QFile full("/dev/full");
    if (full.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        EXPECT_FALSE(set.save(&full));
    }
}
