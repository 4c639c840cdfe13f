// Private part of PbSizePolicyPropertyManager: one record per property and
// its four rows.
#pragma once

#include "propertybrowser/pbcompositerows_p.h"
#include "propertybrowser/pbsizepolicypropertymanager.h"

#include <QMap>

class PbEnumPropertyManager;
class PbIntPropertyManager;

class PbSizePolicyPropertyManagerPrivate
{
public:
    struct Data
    {
        QSizePolicy value;  // both policies Fixed, both stretches 0
    };
    enum Row { HorizontalPolicyRow, VerticalPolicyRow, HorizontalStretchRow, VerticalStretchRow };

    explicit PbSizePolicyPropertyManagerPrivate(PbSizePolicyPropertyManager *q) : q_ptr(q) {}

    PbSizePolicyPropertyManager *q_ptr;
    QMap<const PbProperty *, Data> m_values;
    PbIntPropertyManager *m_intPropertyManager = nullptr;
    PbEnumPropertyManager *m_enumPropertyManager = nullptr;
    PbCompositeRows m_rows;
};
