// Private part of PbColorPropertyManager: the colour of each property and
// its four channel rows.
#ifndef PBCOLORPROPERTYMANAGER_P_H
#define PBCOLORPROPERTYMANAGER_P_H

#include "propertybrowser/pbcolorpropertymanager.h"
#include "propertybrowser/pbcompositerows_p.h"

#include <QMap>

class PbColorPropertyManagerPrivate
{
public:
    enum Row { RedRow, GreenRow, BlueRow, AlphaRow };

    explicit PbColorPropertyManagerPrivate(PbColorPropertyManager *q) : q_ptr(q) {}

    /// Brings the rows of `property` up to `val`; their echoes are ignored.
    void pushValue(PbProperty *property, const QColor &val);

    PbColorPropertyManager *q_ptr;
    QMap<const PbProperty *, QColor> m_values;
    PbIntPropertyManager *m_intPropertyManager = nullptr;
    PbCompositeRows m_rows;
};

#endif
