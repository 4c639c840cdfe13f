// Manager of single-character properties: a plain character; the null
// character shows no text.
#include "propertybrowser/pbcharpropertymanager.h"

#include "propertybrowser/pbcharpropertymanager_p.h"
#include "propertybrowser/pbrangerules_p.h"

using Data = PbCharPropertyManagerPrivate::Data;

PbCharPropertyManagerPrivate::PbCharPropertyManagerPrivate(PbCharPropertyManager *q) : q_ptr(q) {}

PbCharPropertyManager::PbCharPropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbCharPropertyManagerPrivate(this))
{
}

PbCharPropertyManager::~PbCharPropertyManager()
{
    clear();
    delete d_ptr;
}

QChar PbCharPropertyManager::value(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::value, QChar());
}

QString PbCharPropertyManager::valueText(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    if (it == d_ptr->m_values.constEnd())
        return QString();
    return it->value.isNull() ? QString() : QString(it->value);
}

void PbCharPropertyManager::setValue(PbProperty *property, const QChar &val)
{
    PbRangeRules::setPlainValue(this, d_ptr->m_values, property, val, &PbCharPropertyManager::valueChanged);
}

void PbCharPropertyManager::initializeProperty(PbProperty *property) { d_ptr->m_values[property] = Data{QChar()}; }

void PbCharPropertyManager::uninitializeProperty(PbProperty *property) { d_ptr->m_values.remove(property); }
