// Manager of time-of-day properties: a plain time, shown in the short time
// format of the locale that was the default when the manager was built.
#include "propertybrowser/pbtimepropertymanager.h"

#include "propertybrowser/pbtimepropertymanager_p.h"

#include <QLocale>

PbTimePropertyManagerPrivate::PbTimePropertyManagerPrivate(PbTimePropertyManager *q)
    : PbPlainValues(q), m_format(QLocale().timeFormat(QLocale::ShortFormat))
{
}

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
    return d_ptr->value(property);
}

QString PbTimePropertyManager::valueText(const PbProperty *property) const
{
    return d_ptr->valueText(property, [this](const QTime &t) { return t.toString(d_ptr->m_format); });
}

void PbTimePropertyManager::setValue(PbProperty *property, const QTime &val)
{
    d_ptr->setValue(property, val);
}

void PbTimePropertyManager::initializeProperty(PbProperty *property)
{
    d_ptr->initialize(property, QTime::currentTime());
}

void PbTimePropertyManager::uninitializeProperty(PbProperty *property)
{
    d_ptr->uninitialize(property);
}
