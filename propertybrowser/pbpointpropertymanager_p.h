// Private part of PbPointPropertyManager: one record per property and the
// property's X and Y rows.
#pragma once

#include "propertybrowser/pbcompositevalues_p.h"
#include "propertybrowser/pbpointpropertymanager.h"

class PbIntPropertyManager;

/// The record of one property.
struct PbPointRecord
{
    QPoint value;
};

class PbPointPropertyManagerPrivate
    : public PbCompositeValues<PbPointPropertyManager, PbIntPropertyManager, PbPointRecord>
{
public:
    using Data = PbPointRecord;
    enum Row { XRow, YRow };

    using PbCompositeValues::PbCompositeValues;

    /// Brings the rows of `property` up to `val`; their echoes are ignored.
    void pushValue(PbProperty *property, const QPoint &val);
};
