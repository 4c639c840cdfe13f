// Private part of PbDateTimePropertyManager: one record per property.
#pragma once

#include "propertybrowser/pbdatetimepropertymanager.h"
#include "propertybrowser/pbplainvalues_p.h"

class PbDateTimePropertyManagerPrivate : public PbPlainValues<PbDateTimePropertyManager, QDateTime>
{
public:
    explicit PbDateTimePropertyManagerPrivate(PbDateTimePropertyManager *q);

    QString m_format;  // fixed when the manager is built
};
