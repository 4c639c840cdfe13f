// Private part of PbProperty: links to parents and children and the row texts.
#pragma once

#include "propertybrowser/pbproperty.h"

#include <QSet>

class PbPropertyPrivate
{
public:
    explicit PbPropertyPrivate(PbProperty *q, PbAbstractPropertyManager *manager)
        : q_ptr(q), m_manager(manager)
    {
    }

    PbProperty *q_ptr;
    QSet<PbProperty *> m_parentItems;
    QList<PbProperty *> m_subItems;
    QString m_toolTip;
    QString m_statusTip;
    QString m_whatsThis;
    QString m_name;
    QStringList m_columnTexts;
    bool m_enabled = true;
    bool m_modified = false;
    PbAbstractPropertyManager *const m_manager;
};
