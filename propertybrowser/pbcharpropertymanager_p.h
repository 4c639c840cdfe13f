// Private part of PbCharPropertyManager: one record per property.
#pragma once

#include "propertybrowser/pbcharpropertymanager.h"

#include <QMap>

class PbCharPropertyManagerPrivate
{
public:
    struct Data
    {
        QChar value;
    };

    explicit PbCharPropertyManagerPrivate(PbCharPropertyManager *q);

    PbCharPropertyManager *q_ptr;
    QMap<const PbProperty *, Data> m_values;
};
