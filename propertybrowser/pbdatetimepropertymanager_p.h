// Private part of PbDateTimePropertyManager: one record per property.
#pragma once

#include "propertybrowser/pbdatetimepropertymanager.h"

#include <QMap>

class PbDateTimePropertyManagerPrivate
{
public:
    struct Data
    {
        QDateTime value;
    };

    explicit PbDateTimePropertyManagerPrivate(PbDateTimePropertyManager *q);

    PbDateTimePropertyManager *q_ptr;
    QString m_format;  // fixed when the manager is built
    QMap<const PbProperty *, Data> m_values;
};
