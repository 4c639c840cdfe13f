// JSON parameter sets. Records pass through the same JSON object form as the
// file, so a set read from disk and a set built from records agree exactly.
#include "device/json_param_set.h"

#include "device/data_types.h"
#include "device/object_address.h"
#include "device/value_format.h"

#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

namespace {

// The JSON text of a value, for messages.
QString jsonText(const QJsonValue &value)
{
    if (value.isUndefined())
        return QString::fromUtf8("(нет)");
    if (value.isString())
        return '"' + value.toString() + '"';
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(wrapped.mid(1, wrapped.size() - 2));
}

// True when the value is an unsigned decimal text that fits the data type
// (all 64 bits for types without a numeric size).
bool readableValue(const QJsonValue &value, int dataType)
{
    static const QRegularExpression digits("^[0-9]+$");
    if (!value.isString() || !digits.match(value.toString()).hasMatch())
        return false;
    bool ok = false;
    const quint64 number = value.toString().toULongLong(&ok, 10);
    const int size = dataTypeSize(dataType);
    return ok && (size < 1 || size >= 8 || number >> (8 * size) == 0);
}

} // namespace

JsonParamSet::JsonParamSet() = default;
JsonParamSet::~JsonParamSet() = default;

bool JsonParamSet::save(QIODevice *device) const
{
    QJsonObject root;
    writeParamsArray(root);
    const QByteArray bytes = QJsonDocument(root).toJson(QJsonDocument::Indented);
    return device != nullptr && device->write(bytes) == bytes.size();
}

bool JsonParamSet::load(QIODevice *device)
{
    params.clear();
    errors.clear();
    if (device == nullptr)
        return false;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(device->readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return false;
    return readParamsArray(document.object());
}

bool JsonParamSet::readParamsArray(const QJsonObject &json)
{
    params.clear();
    errors.clear();
    const QJsonValue array = json.value("params");
    if (!array.isArray())
        return false;
    for (const QJsonValue &element : array.toArray()) {
        if (!element.isObject()) {
            params.clear();
            errors.clear();
            return false;
        }
        const QJsonObject object = element.toObject();
        const QString problem = checkParamObject(object);
        if (problem.isEmpty())
            params.append(readParamObject(object));
        else
            errors.append(QString::fromUtf8("Параметр %1 не загружен: %2")
                              .arg(object.value("name").toString(), problem));
    }
    return true;
}

QString JsonParamSet::checkParamObject(const QJsonObject &json)
{
    const QString index = json.value("index").toString();
    const QString subindex = json.value("subindex").toString();
    ObjectAddress address;
    if (!parseObjectAddress(index, subindex, address))
        return badObjectAddressText(index, subindex);
    // A number must never be written as 0 because its text could not be read.
    const int dataType = json.value("dataType").toInt(0);
    const QJsonValue value = json.value("currentValue");
    if ((!value.isUndefined() || dataTypeSize(dataType) > 0) && !readableValue(value, dataType))
        return QString::fromUtf8("неверное значение %1").arg(jsonText(value));
    return QString();
}

void JsonParamSet::writeParamsArray(QJsonObject &json) const
{
    QJsonArray array;
    for (const JsonParam &param : params) {
        QJsonObject object;
        writeParamObject(param, object);
        array.append(object);
    }
    json["params"] = array;
}

JsonParam JsonParamSet::readParamObject(const QJsonObject &json)
{
    JsonParam param;
    param.name = json.value("name").toString("");
    param.caption = json.value("caption").toString("");
    param.description = json.value("description").toString("");
    param.parent = json.value("parent").toString("");
    param.index = json.value("index").toString("");
    param.subindex = json.value("subindex").toString("");
    param.dataType = json.value("dataType").toInt(0);
    param.size = json.value("size").toInt(0);
    param.currentValueStr = json.value("currentValueStr").toString("");
    bool ok = false;
    const quint64 value = json.value("currentValue").toString().toULongLong(&ok, 10);
    param.currentValue = ok ? value : 0;
    return param;
}

void JsonParamSet::writeParamObject(const JsonParam &param, QJsonObject &json)
{
    json["name"] = param.name;
    json["caption"] = param.caption;
    json["description"] = param.description;
    json["parent"] = param.parent;
    json["index"] = param.index;
    json["subindex"] = param.subindex;
    json["dataType"] = param.dataType;
    json["size"] = param.size;
    json["currentValue"] = QString::number(param.currentValue);
    json["currentValueStr"] = param.currentValueStr;
}

void JsonParamSet::toCanParams(QList<CanParam> &out) const
{
    out.clear();
    for (const JsonParam &entry : params) {
        QJsonObject object;
        writeParamObject(entry, object);
        const JsonParam param = readParamObject(object);
        CanParam record;
        record.name = param.name;
        record.caption = param.caption;
        record.parent = param.parent;
        record.description = param.description;
        record.index = param.index;
        record.subindex = param.subindex;
        record.dataType = param.dataType;
        const int typeSize = dataTypeSize(param.dataType);
        record.size = typeSize > 0 ? typeSize : param.size;
        record.currentValue = param.currentValue;
        record.currentValueStr = param.currentValueStr;
        formatParamValue(record);
        out.append(record);
    }
}

void JsonParamSet::fromCanParams(const QList<CanParam *> &records)
{
    params.clear();
    for (const CanParam *record : records) {
        if (record == nullptr)
            continue;
        JsonParam param;
        param.name = record->name;
        param.caption = record->caption;
        param.description = record->description;
        param.parent = record->parent;
        param.index = record->index;
        param.subindex = record->subindex;
        param.dataType = record->dataType;
        param.size = record->size;
        param.currentValue = record->currentValue;
        param.currentValueStr = record->currentValueStr;
        QJsonObject object;
        writeParamObject(param, object);
        params.append(readParamObject(object));
    }
}
