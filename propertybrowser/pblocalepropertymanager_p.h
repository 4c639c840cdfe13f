// Private part of PbLocalePropertyManager: one record per property and the
// property's Language and Country rows.
#pragma once

#include "propertybrowser/pbcompositerows_p.h"
#include "propertybrowser/pblocalepropertymanager.h"

#include <QMap>

class PbEnumPropertyManager;

class PbLocalePropertyManagerPrivate
{
public:
    struct Data
    {
        QLocale value;
    };
    enum Row { LanguageRow, CountryRow };

    explicit PbLocalePropertyManagerPrivate(PbLocalePropertyManager *q) : q_ptr(q) {}

    PbLocalePropertyManager *q_ptr;
    QMap<const PbProperty *, Data> m_values;
    PbEnumPropertyManager *m_enumPropertyManager = nullptr;
    PbCompositeRows m_rows;
};
