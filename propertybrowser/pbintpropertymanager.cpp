// Integer properties: ranged values with step, read-only flag and the editor
// button settings, announced by the shared range rules.
#include "propertybrowser/pbintpropertymanager.h"

#include "propertybrowser/pbintpropertymanager_p.h"


using Data = PbIntPropertyManagerPrivate::Data;

PbIntPropertyManager::PbIntPropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbIntPropertyManagerPrivate(this))
{
}

PbIntPropertyManager::~PbIntPropertyManager()
{
    clear();
    delete d_ptr;
}

int PbIntPropertyManager::value(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::value, 0);
}

int PbIntPropertyManager::minimum(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::minimum, 0);
}

int PbIntPropertyManager::maximum(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::maximum, 0);
}

int PbIntPropertyManager::singleStep(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::singleStep, 0);
}

bool PbIntPropertyManager::isReadOnly(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::readOnly, false);
}

bool PbIntPropertyManager::btnVisibility(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::btnVisible, false);
}

QString PbIntPropertyManager::btnCaption(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::btnCaption, QString(""));
}

QString PbIntPropertyManager::valueText(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    return it == d_ptr->m_values.constEnd() ? QString() : QString::number(it->value);
}

void PbIntPropertyManager::setValue(PbProperty *property, int val, bool checkChanging)
{
    PbRangeRules::setValueInRange(this, d_ptr, property, val, checkChanging, &PbIntPropertyManager::valueChanged);
}

void PbIntPropertyManager::setMinimum(PbProperty *property, int minVal)
{
    PbRangeRules::setRangeBorder(this, d_ptr, property, minVal, &Data::minimum, &Data::applyMinimum,
                                 &PbIntPropertyManager::valueChanged, &PbIntPropertyManager::rangeChanged);
}

void PbIntPropertyManager::setMaximum(PbProperty *property, int maxVal)
{
    PbRangeRules::setRangeBorder(this, d_ptr, property, maxVal, &Data::maximum, &Data::applyMaximum,
                                 &PbIntPropertyManager::valueChanged, &PbIntPropertyManager::rangeChanged);
}

void PbIntPropertyManager::setRange(PbProperty *property, int minVal, int maxVal)
{
    PbRangeRules::setRangeBorders(this, d_ptr, property, minVal, maxVal, &PbIntPropertyManager::valueChanged,
                                  &PbIntPropertyManager::rangeChanged);
}

void PbIntPropertyManager::setSingleStep(PbProperty *property, int step)
{
    step = qMax(step, 0);
    if (!PbRangeRules::storeField(d_ptr->m_values, property, &Data::singleStep, step))
        return;
    Q_EMIT singleStepChanged(property, step);
}

void PbIntPropertyManager::setReadOnly(PbProperty *property, bool readOnly)
{
    if (!PbRangeRules::storeField(d_ptr->m_values, property, &Data::readOnly, readOnly))
        return;
    Q_EMIT propertyChanged(property);
    Q_EMIT readOnlyChanged(property, readOnly);
}

void PbIntPropertyManager::setBtnVisibility(PbProperty *property, bool visible)
{
    if (!PbRangeRules::storeField(d_ptr->m_values, property, &Data::btnVisible, visible))
        return;
    Q_EMIT propertyChanged(property);
}

void PbIntPropertyManager::setBtnCaption(PbProperty *property, const QString &caption)
{
    if (!PbRangeRules::storeField(d_ptr->m_values, property, &Data::btnCaption, caption))
        return;
    Q_EMIT propertyChanged(property);
}

void PbIntPropertyManager::initializeProperty(PbProperty *property)
{
    Data data;
    data.btnCaption = tr("Рассчитать");
    d_ptr->m_values[property] = data;
}

void PbIntPropertyManager::uninitializeProperty(PbProperty *property) { d_ptr->m_values.remove(property); }
