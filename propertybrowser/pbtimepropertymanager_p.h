// Private part of PbTimePropertyManager: one record per property.
#pragma once

#include "propertybrowser/pbtimepropertymanager.h"
#include "propertybrowser/pbplainvalues_p.h"

class PbTimePropertyManagerPrivate : public PbPlainValues<PbTimePropertyManager, QTime>
{
public:
    explicit PbTimePropertyManagerPrivate(PbTimePropertyManager *q);

    QString m_format;  // fixed when the manager is built
};
