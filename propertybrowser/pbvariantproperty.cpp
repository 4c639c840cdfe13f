// The variant property forwards everything to its manager.
#include "propertybrowser/pbvariantproperty.h"

#include "propertybrowser/pbvariantpropertymanager.h"

PbVariantProperty::PbVariantProperty(PbVariantPropertyManager *manager) : PbProperty(manager), m_manager(manager) {}

PbVariantProperty::~PbVariantProperty() = default;

QVariant PbVariantProperty::value() const
{
    return m_manager->value(this);
}

QVariant PbVariantProperty::attributeValue(const QString &attribute) const
{
    return m_manager->attributeValue(this, attribute);
}

int PbVariantProperty::valueType() const
{
    return m_manager->valueType(this);
}

int PbVariantProperty::propertyType() const
{
    return m_manager->propertyType(this);
}

void PbVariantProperty::setValue(const QVariant &value)
{
    m_manager->setValue(this, value);
}

void PbVariantProperty::setAttribute(const QString &attribute, const QVariant &value)
{
    m_manager->setAttribute(this, attribute, value);
}
