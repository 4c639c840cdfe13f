// Private part of PbSizePropertyManager: one ranged record per property and the
// property's Width and Height rows.
#pragma once

#include "propertybrowser/pbcompositerows_p.h"
#include "propertybrowser/pbrangerules_p.h"
#include "propertybrowser/pbsizepropertymanager.h"

#include <QMap>

#include <climits>
class PbIntPropertyManager;

class PbSizePropertyManagerPrivate
{
public:
    struct Data
    {
        QSize value = QSize(0, 0);
        QSize minimum = QSize(0, 0);
        QSize maximum = QSize(INT_MAX, INT_MAX);

        void applyMinimum(const QSize &border) { PbRangeRules::applySizeMinimum(*this, border); }
        void applyMaximum(const QSize &border) { PbRangeRules::applySizeMaximum(*this, border); }
    };
    enum Row { WidthRow, HeightRow };

    explicit PbSizePropertyManagerPrivate(PbSizePropertyManager *q) : q_ptr(q) {}

    // Hooks of the range rules: bring the rows up to the stored value or
    // range; their echoes are ignored.
    void pushValue(PbProperty *property, const QSize &val);
    void pushRange(PbProperty *property, const QSize &minVal, const QSize &maxVal, const QSize &val);

    PbSizePropertyManager *q_ptr;
    QMap<const PbProperty *, Data> m_values;
    PbIntPropertyManager *m_intPropertyManager = nullptr;
    PbCompositeRows m_rows;
};
