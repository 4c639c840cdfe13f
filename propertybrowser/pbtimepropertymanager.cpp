// Manager of time-of-day properties: a plain time, shown in the short time
// format of the locale that was the default when the manager was built.
#include "propertybrowser/pbtimepropertymanager.h"

#include "propertybrowser/pbtimepropertymanager_p.h"
#include "propertybrowser/pbrangerules_p.h"

#include <QLocale>
using Data = PbTimePropertyManagerPrivate::Data;

PbTimePropertyManagerPrivate::PbTimePropertyManagerPrivate(PbTimePropertyManager *q) : q_ptr(q), m_format(QLocale().timeFormat(QLocale::ShortFormat)) {}

PbTimePropertyManager::PbTimePropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbTimePropertyManagerPrivate(this))
{
}

PbTimePropertyManager::~PbTimePropertyManager()
{
    clear();
    delete d_ptr;
}

QTime PbTimePropertyManager::value(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::value, QTime());
}

QString PbTimePropertyManager::valueText(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    if (it == d_ptr->m_values.constEnd())
        return QString();
    return it->value.toString(d_ptr->m_format);
}

void PbTimePropertyManager::setValue(PbProperty *property, const QTime &val)
{
    PbRangeRules::setPlainValue(this, d_ptr->m_values, property, val, &PbTimePropertyManager::valueChanged);
}

void PbTimePropertyManager::initializeProperty(PbProperty *property) { d_ptr->m_values[property] = Data{QTime::currentTime()}; }

void PbTimePropertyManager::uninitializeProperty(PbProperty *property) { d_ptr->m_values.remove(property); }
