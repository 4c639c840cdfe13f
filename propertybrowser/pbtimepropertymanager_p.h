// Private part of PbTimePropertyManager: one record per property.
#pragma once

#include "propertybrowser/pbtimepropertymanager.h"

#include <QMap>

class PbTimePropertyManagerPrivate
{
public:
    struct Data
    {
        QTime value;
    };

    explicit PbTimePropertyManagerPrivate(PbTimePropertyManager *q);

    PbTimePropertyManager *q_ptr;
    QString m_format;  // fixed when the manager is built
    QMap<const PbProperty *, Data> m_values;
};
