// Private part of PbKeySequencePropertyManager: one record per property.
#pragma once

#include "propertybrowser/pbkeysequencepropertymanager.h"

#include <QMap>

class PbKeySequencePropertyManagerPrivate
{
public:
    struct Data
    {
        QKeySequence value;
    };

    explicit PbKeySequencePropertyManagerPrivate(PbKeySequencePropertyManager *q);

    PbKeySequencePropertyManager *q_ptr;
    QMap<const PbProperty *, Data> m_values;
};
