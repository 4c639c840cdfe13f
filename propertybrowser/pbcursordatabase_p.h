// Private part of PbCursorDatabase: the names in value order and the three
// maps between value, shape and icon, which always agree with the names.
#ifndef PBCURSORDATABASE_P_H
#define PBCURSORDATABASE_P_H

#include "propertybrowser/pbcursordatabase.h"

class PbCursorDatabasePrivate
{
public:
    explicit PbCursorDatabasePrivate(PbCursorDatabase *q) : q_ptr(q) {}

    /// The value of `shape`; -1 when it is not held.
    int valueOf(Qt::CursorShape shape) const { return m_cursorShapeToValue.value(shape, -1); }

    PbCursorDatabase *q_ptr;
    QStringList m_cursorNames;
    QMap<int, QIcon> m_cursorIcons;
    QMap<int, Qt::CursorShape> m_valueToCursorShape;
    QMap<Qt::CursorShape, int> m_cursorShapeToValue;
};

#endif
