// Private part of PbRectFPropertyManager: one record per property and the
// property's X, Y, Width and Height rows.
#pragma once

#include "propertybrowser/pbcompositerows_p.h"
#include "propertybrowser/pbrectfpropertymanager.h"

#include <QMap>

#include <limits>

class PbDoublePropertyManager;

class PbRectFPropertyManagerPrivate
{
public:
    struct Data
    {
        QRectF value = QRectF(0, 0, 0, 0);
        QRectF constraint;
        int decimals = 2;
    };
    // Without a constraint the rows take every float, negative x and y too.
    static constexpr qreal lowest = -std::numeric_limits<float>::max();
    static constexpr qreal highest = std::numeric_limits<float>::max();

    explicit PbRectFPropertyManagerPrivate(PbRectFPropertyManager *q) : q_ptr(q) {}

    PbRectFPropertyManager *q_ptr;
    QMap<const PbProperty *, Data> m_values;
    PbDoublePropertyManager *m_subManager = nullptr;
    PbCompositeRows m_rows;
};
