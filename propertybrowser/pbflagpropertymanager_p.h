// Private part of PbFlagPropertyManager: one record per property and its
// flag rows, row i for flag name i.
#pragma once

#include "propertybrowser/pbcompositerows_p.h"
#include "propertybrowser/pbflagpropertymanager.h"

#include <QMap>

class PbBoolPropertyManager;

class PbFlagPropertyManagerPrivate
{
public:
    struct Data
    {
        int value = -1;
        QStringList flagNames;
    };
    /// The value is an int: bits 0 to 30 hold flags, the sign bit none.
    static constexpr int maxFlags = 31;

    explicit PbFlagPropertyManagerPrivate(PbFlagPropertyManager *q) : q_ptr(q) {}

    PbFlagPropertyManager *q_ptr;
    QMap<const PbProperty *, Data> m_values;
    PbBoolPropertyManager *m_boolPropertyManager = nullptr;
    PbCompositeRows m_rows;
};
