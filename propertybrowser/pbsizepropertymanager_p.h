// Private part of PbSizePropertyManager: one ranged record per property and the
// property's Width and Height rows.
#pragma once

#include "propertybrowser/pbcompositevalues_p.h"
#include "propertybrowser/pbrangerules_p.h"
#include "propertybrowser/pbsizepropertymanager.h"

#include <climits>
class PbIntPropertyManager;

/// The record of one property.
struct PbSizeRecord
{
    QSize value = QSize(0, 0);
    QSize minimum = QSize(0, 0);
    QSize maximum = QSize(INT_MAX, INT_MAX);

    void applyMinimum(const QSize &border) { PbRangeRules::applySizeMinimum(*this, border); }
    void applyMaximum(const QSize &border) { PbRangeRules::applySizeMaximum(*this, border); }
};

class PbSizePropertyManagerPrivate : public PbCompositeValues<PbSizePropertyManager, PbIntPropertyManager, PbSizeRecord>
{
public:
    using Data = PbSizeRecord;
    enum Row { WidthRow, HeightRow };

    using PbCompositeValues::PbCompositeValues;

    // Hooks of the range rules: bring the rows up to the stored value or
    // range; their echoes are ignored.
    void pushValue(PbProperty *property, const QSize &val);
    void pushRange(PbProperty *property, const QSize &minVal, const QSize &maxVal, const QSize &val);
};
