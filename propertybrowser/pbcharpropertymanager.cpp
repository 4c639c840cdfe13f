// Manager of single-character properties: a plain character; the null
// character shows no text.
#include "propertybrowser/pbcharpropertymanager.h"

#include "propertybrowser/pbcharpropertymanager_p.h"

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
    return d_ptr->value(property);
}

QString PbCharPropertyManager::valueText(const PbProperty *property) const
{
    return d_ptr->valueText(property, [](const QChar &c) { return c.isNull() ? QString() : QString(c); });
}

void PbCharPropertyManager::setValue(PbProperty *property, const QChar &val)
{
    d_ptr->setValue(property, val);
}

void PbCharPropertyManager::initializeProperty(PbProperty *property)
{
    d_ptr->initialize(property, QChar());
}

void PbCharPropertyManager::uninitializeProperty(PbProperty *property)
{
    d_ptr->uninitialize(property);
}
