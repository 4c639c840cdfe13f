// Private part of PbColorPropertyManager: the colour of each property and
// its four channel rows.
#ifndef PBCOLORPROPERTYMANAGER_P_H
#define PBCOLORPROPERTYMANAGER_P_H

#include "propertybrowser/pbcolorpropertymanager.h"
#include "propertybrowser/pbcompositevalues_p.h"

class PbIntPropertyManager;

/// The record of one property.
struct PbColorRecord
{
    QColor value;
};

class PbColorPropertyManagerPrivate
    : public PbCompositeValues<PbColorPropertyManager, PbIntPropertyManager, PbColorRecord>
{
public:
    using Data = PbColorRecord;
    enum Row { RedRow, GreenRow, BlueRow, AlphaRow };

    using PbCompositeValues::PbCompositeValues;

    /// Brings the rows of `property` up to `val`; their echoes are ignored.
    void pushValue(PbProperty *property, const QColor &val);
};

#endif
