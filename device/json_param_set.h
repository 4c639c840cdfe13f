// A parameter set: parameters of a device with their values, as a JSON file
// {"params": [{...}, ...]}, and its conversion to and from CanParam records.
#pragma once

#include "device/can_param.h"
#include "device/json_param.h"

#include <QJsonObject>
#include <QList>
#include <QStringList>

class QIODevice;

class JsonParamSet {
public:
    JsonParamSet();
    ~JsonParamSet();

    /// Writes the set as an indented JSON document. False when the device did
    /// not take every byte (disk full, closed, read-only).
    bool save(QIODevice *device) const;

    /// Reads all bytes and fills the set from their "params" array. False, with
    /// an empty set, for bytes that are not a parameter set: not JSON (a file
    /// cut short included), no "params" array, or an element that is not an
    /// object. A record that cannot be taken as it stands (an index or subindex
    /// that names no single object, a value that is no unsigned decimal number
    /// within its type) is left out, with a message in `errors`.
    bool load(QIODevice *device);

    /// Clears the set and `errors` and reads the "params" array as `load` does;
    /// false when the object holds no parameter set.
    bool readParamsArray(const QJsonObject &json);
    /// Why the record object cannot be imported; empty when it can.
    static QString checkParamObject(const QJsonObject &json);
    void writeParamsArray(QJsonObject &json) const;
    static JsonParam readParamObject(const QJsonObject &json);
    static void writeParamObject(const JsonParam &param, QJsonObject &json);

    /// One default record per entry carrying its members; a number's size is
    /// its data type's, and its display text is rendered again from the raw
    /// value in the current display format.
    void toCanParams(QList<CanParam> &params) const;
    /// Replaces the set with one entry per record, in order.
    void fromCanParams(const QList<CanParam *> &params);

    QList<JsonParam> params;
    QStringList errors; ///< one message per record left out by the last load
};
