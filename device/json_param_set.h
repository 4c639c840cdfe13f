// A parameter set: parameters of a device with their values, as a JSON file
// {"params": [{...}, ...]}, and its conversion to and from CanParam records.
#pragma once

#include "can_param.h"
#include "json_param.h"

#include <QJsonObject>
#include <QList>

class QIODevice;

class JsonParamSet {
public:
    JsonParamSet();
    ~JsonParamSet();

    /// Writes the set as an indented JSON document. False when the device did
    /// not take every byte (disk full, closed, read-only).
    bool save(QIODevice *device) const;

    /// Reads all bytes and fills the set from their "params" array; a text that
    /// is not JSON, or has no such array, gives an empty set. Always true.
    bool load(QIODevice *device);

    void readParamsArray(const QJsonObject &json);
    void writeParamsArray(QJsonObject &json) const;
    static JsonParam readParamObject(const QJsonObject &json);
    static void writeParamObject(const JsonParam &param, QJsonObject &json);

    /// One default record per entry carrying its members; the display text of
    /// numbers is rendered again from the raw value in the current display format.
    void toCanParams(QList<CanParam> &params) const;
    /// Replaces the set with one entry per record, in order.
    void fromCanParams(const QList<CanParam *> &params);

    QList<JsonParam> params;
};
