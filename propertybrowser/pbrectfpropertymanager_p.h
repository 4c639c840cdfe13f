// Private part of PbRectFPropertyManager: one record per property and the
// property's X, Y, Width and Height rows.
#pragma once

#include "propertybrowser/pbcompositevalues_p.h"
#include "propertybrowser/pbrectfpropertymanager.h"

#include <limits>

class PbDoublePropertyManager;

/// The record of one property.
struct PbRectFRecord
{
    QRectF value = QRectF(0, 0, 0, 0);
    QRectF constraint;
    int decimals = 2;
};

class PbRectFPropertyManagerPrivate
    : public PbCompositeValues<PbRectFPropertyManager, PbDoublePropertyManager, PbRectFRecord>
{
public:
    using Data = PbRectFRecord;
    // Without a constraint the rows take every float, negative x and y too.
    static constexpr qreal lowest = -std::numeric_limits<float>::max();
    static constexpr qreal highest = std::numeric_limits<float>::max();

    using PbCompositeValues::PbCompositeValues;
};
