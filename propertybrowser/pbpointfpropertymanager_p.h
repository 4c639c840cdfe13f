// Private part of PbPointFPropertyManager: one record per property and the
// property's X and Y rows.
#pragma once

#include "propertybrowser/pbcompositerows_p.h"
#include "propertybrowser/pbpointfpropertymanager.h"

#include <QMap>

class PbDoublePropertyManager;

class PbPointFPropertyManagerPrivate
{
public:
    struct Data
    {
        QPointF value;
        int decimals = 2;
    };
    enum Row { XRow, YRow };

    explicit PbPointFPropertyManagerPrivate(PbPointFPropertyManager *q) : q_ptr(q) {}

    /// Brings the rows of `property` up to `val`; their echoes are ignored.
    void pushValue(PbProperty *property, const QPointF &val);

    PbPointFPropertyManager *q_ptr;
    QMap<const PbProperty *, Data> m_values;
    PbDoublePropertyManager *m_doublePropertyManager = nullptr;
    PbCompositeRows m_rows;
};
