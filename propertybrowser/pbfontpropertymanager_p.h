// Private part of PbFontPropertyManager: the font of each property, its seven
// rows on three inner managers, the family list and the refresh timer.
#ifndef PBFONTPROPERTYMANAGER_P_H
#define PBFONTPROPERTYMANAGER_P_H

#include "propertybrowser/pbcompositerows_p.h"
#include "propertybrowser/pbfontpropertymanager.h"

#include <QMap>
#include <QStringList>

class QTimer;

class PbFontPropertyManagerPrivate
{
public:
    enum Row { FamilyRow, PointSizeRow, BoldRow, ItalicRow, UnderlineRow, StrikeOutRow, KerningRow };

    explicit PbFontPropertyManagerPrivate(PbFontPropertyManager *q) : q_ptr(q) {}

    /// Brings the rows of `property` up to `val`; their echoes are ignored.
    void pushValue(PbProperty *property, const QFont &val);
    /// The position of `family` in the family list; 0 when it is not there.
    int familyIndex(const QString &family) const { return qMax(0, m_familyNames.indexOf(family)); }

    PbFontPropertyManager *q_ptr;
    QStringList m_familyNames;  // empty until first needed
    QMap<const PbProperty *, QFont> m_values;
    PbIntPropertyManager *m_intPropertyManager = nullptr;
    PbEnumPropertyManager *m_enumPropertyManager = nullptr;
    PbBoolPropertyManager *m_boolPropertyManager = nullptr;
    PbCompositeRows m_rows;
    QTimer *m_fontDatabaseChangeTimer = nullptr;
};

#endif
