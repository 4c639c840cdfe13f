// Private part of PbBoolPropertyManager: one record per property and the two
// check-box icons, drawn once from the application style.
#pragma once

#include "propertybrowser/pbboolpropertymanager.h"

#include <QIcon>
#include <QMap>

class PbBoolPropertyManagerPrivate
{
public:
    struct Data
    {
        bool value = false;
        bool textVisible = true;
    };

    explicit PbBoolPropertyManagerPrivate(PbBoolPropertyManager *q);

    /// A check-box indicator painted by the current style, ticked or empty.
    static QIcon drawCheckBox(bool checked);

    PbBoolPropertyManager *q_ptr;
    QMap<const PbProperty *, Data> m_values;
    const QIcon m_checkedIcon;
    const QIcon m_uncheckedIcon;
};
