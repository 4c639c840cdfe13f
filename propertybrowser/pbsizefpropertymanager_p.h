// Private part of PbSizeFPropertyManager: one ranged record per property and the
// property's Width and Height rows.
#pragma once

#include "propertybrowser/pbcompositevalues_p.h"
#include "propertybrowser/pbrangerules_p.h"
#include "propertybrowser/pbsizefpropertymanager.h"

class PbDoublePropertyManager;

/// The record of one property.
struct PbSizeFRecord
{
    QSizeF value = QSizeF(0.0, 0.0);
    QSizeF minimum = QSizeF(0.0, 0.0);
    QSizeF maximum = QSizeF(2147483647.0, 2147483647.0);
    int decimals = 2;

    void applyMinimum(const QSizeF &border) { PbRangeRules::applySizeMinimum(*this, border); }
    void applyMaximum(const QSizeF &border) { PbRangeRules::applySizeMaximum(*this, border); }
};

class PbSizeFPropertyManagerPrivate
    : public PbCompositeValues<PbSizeFPropertyManager, PbDoublePropertyManager, PbSizeFRecord>
{
public:
    using Data = PbSizeFRecord;
    enum Row { WidthRow, HeightRow };

    using PbCompositeValues::PbCompositeValues;

    // Hooks of the range rules: bring the rows up to the stored value or
    // range; their echoes are ignored.
    void pushValue(PbProperty *property, const QSizeF &val);
    void pushRange(PbProperty *property, const QSizeF &minVal, const QSizeF &maxVal, const QSizeF &val);
};
