// JSON parameter sets: round trips through files and records, the file's
// shape, text that is not JSON, and a write that fails.
#include "data_types.h"
#include "json_param_set.h"
#include "value_format.h"

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

JsonParamSet loaded(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    JsonParamSet set;
    EXPECT_TRUE(set.load(&buffer));
    return set;
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
        {"name": "u32", "dataType": 7, "size": 4, "currentValue": "10", "currentValueStr": "99"},
        {"name": "str", "dataType": 9, "size": -1, "currentValue": "3", "currentValueStr": "text"},
        {"name": "dom", "dataType": 15, "size": -1, "currentValueStr": "file"},
        {"name": "bad", "dataType": 5, "size": 1, "currentValue": "12abc", "extra": true}
    ]})";
    QList<CanParam> records;
    loaded(file).toCanParams(records);
    displayFormat = savedFormat;
    ASSERT_EQ(records.size(), 4);
    EXPECT_EQ(records[0].currentValueStr, "10");
    EXPECT_EQ(records[1].currentValueStr, "text");
    EXPECT_EQ(records[1].currentValue, 3u);
    EXPECT_EQ(records[2].currentValueStr, "file");
    EXPECT_EQ(records[3].currentValue, 0u); // not a decimal number
    EXPECT_EQ(records[3].currentValueStr, "0");
    EXPECT_EQ(records[2].index, "");         // missing text: empty
    EXPECT_EQ(records[2].subindex, "");
}

TEST(JsonParamSet, InputThatIsNotAParameterSetGivesEmptySet)
{
    for (const QByteArray &bad :
         {QByteArray(""), QByteArray("not json"), QByteArray("{\"params\": [1, 2"),
          QByteArray("[1, 2, 3]"), QByteArray("{\"other\": []}"), QByteArray("{\"params\": 5}"),
          QByteArray("\xff\xfe\x00garbage", 10), QByteArray("{\"params\": []}")}) {
        JsonParamSet set = loaded(bad);
        EXPECT_TRUE(set.params.isEmpty()) << bad.toStdString();
        QList<CanParam> records{CanParam()};
        set.toCanParams(records);
        EXPECT_TRUE(records.isEmpty());
    }
}

TEST(JsonParamSet, ArrayElementsThatAreNotObjectsReadAsEmptyEntries)
{
    const JsonParamSet set = loaded(R"({"params": [3, "x", {"name": "ok"}]})");
    ASSERT_EQ(set.params.size(), 3);
    EXPECT_EQ(set.params[0].name, "");
    EXPECT_EQ(set.params[2].name, "ok");
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
