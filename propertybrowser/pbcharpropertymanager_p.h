// Private part of PbCharPropertyManager: one record per property.
#pragma once

#include "propertybrowser/pbcharpropertymanager.h"
#include "propertybrowser/pbplainvalues_p.h"

class PbCharPropertyManagerPrivate : public PbPlainValues<PbCharPropertyManager, QChar>
{
public:
    using PbPlainValues::PbPlainValues;
};
