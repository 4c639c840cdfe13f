// JSON parameter sets. Records pass through the same JSON object form as the
// file, so a set read from disk and a set built from records agree exactly.
#include "json_param_set.h"

#include "value_format.h"

#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>

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
    if (device == nullptr)
        return true;
    const QJsonDocument document = QJsonDocument::fromJson(device->readAll());
    readParamsArray(document.object());
    return true;
}

void JsonParamSet::readParamsArray(const QJsonObject &json)
{
    params.clear();
    const QJsonArray array = json.value("params").toArray();
    for (const QJsonValue &element : array)
        params.append(readParamObject(element.toObject()));
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
        record.size = param.size;
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
