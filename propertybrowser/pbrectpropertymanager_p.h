// Private part of PbRectPropertyManager: one record per property and the
// property's X, Y, Width and Height rows.
#pragma once

#include "propertybrowser/pbcompositevalues_p.h"
#include "propertybrowser/pbrectpropertymanager.h"

#include <limits>

class PbIntPropertyManager;

/// The record of one property.
struct PbRectRecord
{
    QRect value = QRect(0, 0, 0, 0);
    QRect constraint;
};

class PbRectPropertyManagerPrivate : public PbCompositeValues<PbRectPropertyManager, PbIntPropertyManager, PbRectRecord>
{
public:
    using Data = PbRectRecord;
    // Without a constraint the rows take every int but INT_MIN: an empty
    // rectangle there would have its right edge (x - 1) below every int.
    static constexpr int lowest = -std::numeric_limits<int>::max();
    static constexpr int highest = std::numeric_limits<int>::max();

    using PbCompositeValues::PbCompositeValues;
};
