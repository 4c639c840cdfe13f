// Manager of key-sequence properties: a plain key sequence, shown with the
// platform's own key names.
#include "propertybrowser/pbkeysequencepropertymanager.h"

#include "propertybrowser/pbkeysequencepropertymanager_p.h"
#include "propertybrowser/pbrangerules_p.h"

using Data = PbKeySequencePropertyManagerPrivate::Data;

PbKeySequencePropertyManagerPrivate::PbKeySequencePropertyManagerPrivate(PbKeySequencePropertyManager *q) : q_ptr(q) {}

PbKeySequencePropertyManager::PbKeySequencePropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbKeySequencePropertyManagerPrivate(this))
{
}

PbKeySequencePropertyManager::~PbKeySequencePropertyManager()
{
    clear();
    delete d_ptr;
}

QKeySequence PbKeySequencePropertyManager::value(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::value, QKeySequence());
}

QString PbKeySequencePropertyManager::valueText(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    if (it == d_ptr->m_values.constEnd())
        return QString();
    return it->value.toString(QKeySequence::NativeText);
}

void PbKeySequencePropertyManager::setValue(PbProperty *property, const QKeySequence &val)
{
    PbRangeRules::setPlainValue(this, d_ptr->m_values, property, val, &PbKeySequencePropertyManager::valueChanged);
}

void PbKeySequencePropertyManager::initializeProperty(PbProperty *property) { d_ptr->m_values[property] = Data{QKeySequence()}; }

void PbKeySequencePropertyManager::uninitializeProperty(PbProperty *property) { d_ptr->m_values.remove(property); }
