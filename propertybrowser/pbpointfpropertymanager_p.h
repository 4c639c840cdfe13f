// Private part of PbPointFPropertyManager: one record per property and the
// property's X and Y rows.
#pragma once

#include "propertybrowser/pbcompositevalues_p.h"
#include "propertybrowser/pbpointfpropertymanager.h"

class PbDoublePropertyManager;

/// The record of one property.
struct PbPointFRecord
{
    QPointF value;
    int decimals = 2;
};

class PbPointFPropertyManagerPrivate
    : public PbCompositeValues<PbPointFPropertyManager, PbDoublePropertyManager, PbPointFRecord>
{
public:
    using Data = PbPointFRecord;
    enum Row { XRow, YRow };

    using PbCompositeValues::PbCompositeValues;

    /// Brings the rows of `property` up to `val`; their echoes are ignored.
    void pushValue(PbProperty *property, const QPointF &val);
};
