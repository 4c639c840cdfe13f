// Private part of PbRectPropertyManager: one record per property and the
// property's X, Y, Width and Height rows.
#pragma once

#include "propertybrowser/pbcompositerows_p.h"
#include "propertybrowser/pbrectpropertymanager.h"

#include <QMap>

#include <limits>

class PbIntPropertyManager;

class PbRectPropertyManagerPrivate
{
public:
    struct Data
    {
        QRect value = QRect(0, 0, 0, 0);
        QRect constraint;
    };
    // Without a constraint the rows take every int.
    static constexpr int lowest = std::numeric_limits<int>::min();
    static constexpr int highest = std::numeric_limits<int>::max();

    explicit PbRectPropertyManagerPrivate(PbRectPropertyManager *q) : q_ptr(q) {}

    PbRectPropertyManager *q_ptr;
    QMap<const PbProperty *, Data> m_values;
    PbIntPropertyManager *m_subManager = nullptr;
    PbCompositeRows m_rows;
};
