// A property of the variant manager: value and attributes travel as
// QVariant; the manager keeps them in a typed property that this one wraps.
#ifndef PBVARIANTPROPERTY_H
#define PBVARIANTPROPERTY_H

#include "propertybrowser/pbproperty.h"

#include <QVariant>

class PbVariantPropertyManager;

class PbVariantProperty : public PbProperty
{
public:
    ~PbVariantProperty() override;

    /// Each operation forwards to the manager with this property.
    QVariant value() const;
    QVariant attributeValue(const QString &attribute) const;
    int valueType() const;
    int propertyType() const;
    void setValue(const QVariant &value);
    void setAttribute(const QString &attribute, const QVariant &value);

protected:
    explicit PbVariantProperty(PbVariantPropertyManager *manager);

private:
    Q_DISABLE_COPY(PbVariantProperty)
    PbVariantPropertyManager *m_manager;
    friend class PbVariantPropertyManager;
};

#endif
