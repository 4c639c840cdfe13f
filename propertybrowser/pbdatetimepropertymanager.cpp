// Manager of date-time properties: a plain date and time, shown in the short
// date and time formats of the locale that was the default when the manager
// was built.
#include "propertybrowser/pbdatetimepropertymanager.h"

#include "propertybrowser/pbdatetimepropertymanager_p.h"

#include <QLocale>

PbDateTimePropertyManagerPrivate::PbDateTimePropertyManagerPrivate(PbDateTimePropertyManager *q)
    : PbPlainValues(q),
      m_format(QLocale().dateFormat(QLocale::ShortFormat) + QLatin1Char(' ')
               + QLocale().timeFormat(QLocale::ShortFormat))
{
}

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
    return d_ptr->value(property);
}

QString PbDateTimePropertyManager::valueText(const PbProperty *property) const
{
    return d_ptr->valueText(property, [this](const QDateTime &t) { return t.toString(d_ptr->m_format); });
}

void PbDateTimePropertyManager::setValue(PbProperty *property, const QDateTime &val)
{
    d_ptr->setValue(property, val);
}

void PbDateTimePropertyManager::initializeProperty(PbProperty *property)
{
    d_ptr->initialize(property, QDateTime::currentDateTime());
}

void PbDateTimePropertyManager::uninitializeProperty(PbProperty *property)
{
    d_ptr->uninitialize(property);
}
