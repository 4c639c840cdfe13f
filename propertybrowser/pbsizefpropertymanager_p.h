// Private part of PbSizeFPropertyManager: one ranged record per property and the
// property's Width and Height rows.
#pragma once

#include "propertybrowser/pbcompositerows_p.h"
#include "propertybrowser/pbrangerules_p.h"
#include "propertybrowser/pbsizefpropertymanager.h"

#include <QMap>

class PbDoublePropertyManager;

class PbSizeFPropertyManagerPrivate
{
public:
    struct Data
    {
        QSizeF value = QSizeF(0.0, 0.0);
        QSizeF minimum = QSizeF(0.0, 0.0);
        QSizeF maximum = QSizeF(2147483647.0, 2147483647.0);
        int decimals = 2;

        void applyMinimum(const QSizeF &border) { PbRangeRules::applySizeMinimum(*this, border); }
        void applyMaximum(const QSizeF &border) { PbRangeRules::applySizeMaximum(*this, border); }
    };
    enum Row { WidthRow, HeightRow };

    explicit PbSizeFPropertyManagerPrivate(PbSizeFPropertyManager *q) : q_ptr(q) {}

    // Hooks of the range rules: bring the rows up to the stored value or
    // range; their echoes are ignored.
    void pushValue(PbProperty *property, const QSizeF &val);
    void pushRange(PbProperty *property, const QSizeF &minVal, const QSizeF &maxVal, const QSizeF &val);

    PbSizeFPropertyManager *q_ptr;
    QMap<const PbProperty *, Data> m_values;
    PbDoublePropertyManager *m_doublePropertyManager = nullptr;
    PbCompositeRows m_rows;
};
