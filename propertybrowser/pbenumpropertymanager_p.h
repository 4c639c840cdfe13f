// Private part of PbEnumPropertyManager: one record per property.
#pragma once

#include "propertybrowser/pbenumpropertymanager.h"

class PbEnumPropertyManagerPrivate
{
public:
    struct Data
    {
        int value = -1;
        QStringList enumNames;
        QMap<int, QIcon> enumIcons;
    };

    explicit PbEnumPropertyManagerPrivate(PbEnumPropertyManager *q) : q_ptr(q) {}

    /// Stores a new valid index; false when the index is refused or unchanged.
    bool storeValue(const PbProperty *property, int val);

    PbEnumPropertyManager *q_ptr;
    QMap<const PbProperty *, Data> m_values;
};
