// Private part of PbKeySequencePropertyManager: one record per property.
#pragma once

#include "propertybrowser/pbkeysequencepropertymanager.h"
#include "propertybrowser/pbplainvalues_p.h"

class PbKeySequencePropertyManagerPrivate : public PbPlainValues<PbKeySequencePropertyManager, QKeySequence>
{
public:
    using PbPlainValues::PbPlainValues;
};
