// Private part of PbCursorPropertyManager: the cursor of each property.
#ifndef PBCURSORPROPERTYMANAGER_P_H
#define PBCURSORPROPERTYMANAGER_P_H

#include "propertybrowser/pbcursorpropertymanager.h"

#include <QMap>

class PbCursorPropertyManagerPrivate
{
public:
    explicit PbCursorPropertyManagerPrivate(PbCursorPropertyManager *q) : q_ptr(q) {}

    PbCursorPropertyManager *q_ptr;
    QMap<const PbProperty *, QCursor> m_values;
};

#endif
