// Private part of PbPointPropertyManager: one record per property and the
// property's X and Y rows.
#pragma once

#include "propertybrowser/pbcompositerows_p.h"
#include "propertybrowser/pbpointpropertymanager.h"

#include <QMap>

class PbIntPropertyManager;

class PbPointPropertyManagerPrivate
{
public:
    struct Data
    {
        QPoint value;
    };
    enum Row { XRow, YRow };

    explicit PbPointPropertyManagerPrivate(PbPointPropertyManager *q) : q_ptr(q) {}

    /// Brings the rows of `property` up to `val`; their echoes are ignored.
    void pushValue(PbProperty *property, const QPoint &val);

    PbPointPropertyManager *q_ptr;
    QMap<const PbProperty *, Data> m_values;
    PbIntPropertyManager *m_intPropertyManager = nullptr;
    PbCompositeRows m_rows;
};
