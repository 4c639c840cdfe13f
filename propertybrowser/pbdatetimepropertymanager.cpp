// Manager of date-time properties: a plain date and time, shown in the short
// date and time formats of the locale that was the default when the manager
// was built.
#include "propertybrowser/pbdatetimepropertymanager.h"

#include "propertybrowser/pbdatetimepropertymanager_p.h"
#include "propertybrowser/pbrangerules_p.h"

#include <QLocale>
using Data = PbDateTimePropertyManagerPrivate::Data;

PbDateTimePropertyManagerPrivate::PbDateTimePropertyManagerPrivate(PbDateTimePropertyManager *q) : q_ptr(q), m_format(QLocale().dateFormat(QLocale::ShortFormat) + QLatin1Char(' ') + QLocale().timeFormat(QLocale::ShortFormat)) {}

PbDateTimePropertyManager::PbDateTimePropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbDateTimePropertyManagerPrivate(this))
{
}

PbDateTimePropertyManager::~PbDateTimePropertyManager()
{
    clear();
    delete d_ptr;
}

QDateTime PbDateTimePropertyManager::value(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::value, QDateTime());
}

QString PbDateTimePropertyManager::valueText(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    if (it == d_ptr->m_values.constEnd())
        return QString();
    return it->value.toString(d_ptr->m_format);
}

void PbDateTimePropertyManager::setValue(PbProperty *property, const QDateTime &val)
{
    PbRangeRules::setPlainValue(this, d_ptr->m_values, property, val, &PbDateTimePropertyManager::valueChanged);
}

void PbDateTimePropertyManager::initializeProperty(PbProperty *property) { d_ptr->m_values[property] = Data{QDateTime::currentDateTime()}; }

void PbDateTimePropertyManager::uninitializeProperty(PbProperty *property) { d_ptr->m_values.remove(property); }
