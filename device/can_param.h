// One object-dictionary entry or sub-entry of the connected device, as the
// parameter tree, the worker threads and the JSON parameter sets see it.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

struct CanParam;

/// Parameter map: record `name` to record. The main window keeps one for the
/// device's dictionary and one for an imported parameter set.
using CanParamMap = QMap<QString, CanParam>;

// The spare* members are carried with the record (constructed, copied,
// assigned) so that records keep their layout; nothing in this tool reads them.
struct CanParam {
    QString name;                  ///< unique key in its map: "<sub> <index part> <ParameterName>"
    QString caption;               ///< "<index part> <caption>", shown in the tree and in messages
    QString description{""};       ///< the EDS Comment
    QStringList spareList;
    qint32 valueKind = 0;              ///< 3 for BOOLEAN, 1 for every other type
    qint32 spareKind = 0;
    qint32 dataType = 0;           ///< CiA 301 data-type code; 0 for a record that only groups sub-entries
    QString spareText1, spareText2;
    qint32 spareInt1 = -1, spareInt2 = -1;
    bool readOnly = false;         ///< EDS AccessType is exactly "ro"
    qint32 size = 0;               ///< byte size of the value; -1 for strings, DOMAIN and unknown types
    quint8 spareByte1 = 0, spareByte2 = 0;
    qint32 spareInt3 = 0;
    qint32 spareInt4 = -1, spareInt5 = -1;
    QString currentValueStr{""};   ///< the value as display text
    quint64 currentValue = 0;      ///< raw value: little-endian answer bytes, zero-extended
    quint64 spareValue = 0;
    qint32 spareInt6 = 0;
    bool spareFlag = false;
    QString defaultValue;          ///< EDS DefaultValue, unchanged (may begin with "$NODEID+")
    quint64 spareValue2 = 0;
    quint8 spareByte3 = 0;
    QString parent{""};            ///< `name` of the owning record; empty for a top-level entry
    QVector<QString> subEntryNames;///< `name`s of the sub-entries, ascending text order
    QVector<QString> spareNames;
    QString spareText3{""};
    bool spareFlags[4] = {false, false, true, true};
    QString spareTexts[5] = {"", "", "", "", ""};
    QString index{""};             ///< object index, hexadecimal without prefix ("1018")
    QString subindex{"0"};         ///< subindex, hexadecimal ("0", "1A")
    CanParamMap *ownerMap = nullptr;         ///< the map that holds this record (main or import map)
    QList<QString> spareSequence;
};
