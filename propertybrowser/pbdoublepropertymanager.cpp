// Floating-point properties: ranged values compared exactly, step, decimals
// and read-only flag; shown in the system locale.
#include "propertybrowser/pbdoublepropertymanager.h"

#include "propertybrowser/pbdoublepropertymanager_p.h"

#include <QLocale>
#include <QtNumeric>

using Data = PbDoublePropertyManagerPrivate::Data;

namespace {
const int maxDecimals = 13;
}

// A NaN compares false with everything: as a value or border it would slip
// past every range rule and break minimum <= value <= maximum for good, so
// every setter refuses it like any other invalid argument.

PbDoublePropertyManager::PbDoublePropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbDoublePropertyManagerPrivate(this))
{
}

PbDoublePropertyManager::~PbDoublePropertyManager()
{
    clear();
    delete d_ptr;
}

double PbDoublePropertyManager::value(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::value, 0.0);
}

double PbDoublePropertyManager::minimum(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::minimum, 0.0);
}

double PbDoublePropertyManager::maximum(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::maximum, 0.0);
}

double PbDoublePropertyManager::singleStep(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::singleStep, 0.0);
}

int PbDoublePropertyManager::decimals(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::decimals, 0);
}

bool PbDoublePropertyManager::isReadOnly(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::readOnly, false);
}

QString PbDoublePropertyManager::valueText(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    if (it == d_ptr->m_values.constEnd())
        return QString();
    return QLocale::system().toString(it->value, 'f', it->decimals);
}

void PbDoublePropertyManager::setValue(PbProperty *property, double val, bool checkChanging)
{
    if (qIsNaN(val))
        return;
    PbRangeRules::setValueInRange(this, d_ptr, property, val, checkChanging, &PbDoublePropertyManager::valueChanged);
}

void PbDoublePropertyManager::setMinimum(PbProperty *property, double minVal)
{
    if (qIsNaN(minVal))
        return;
    PbRangeRules::setRangeBorder(this, d_ptr, property, minVal, &Data::minimum, &Data::applyMinimum,
                                 &PbDoublePropertyManager::valueChanged, &PbDoublePropertyManager::rangeChanged);
}

void PbDoublePropertyManager::setMaximum(PbProperty *property, double maxVal)
{
    if (qIsNaN(maxVal))
        return;
    PbRangeRules::setRangeBorder(this, d_ptr, property, maxVal, &Data::maximum, &Data::applyMaximum,
                                 &PbDoublePropertyManager::valueChanged, &PbDoublePropertyManager::rangeChanged);
}

void PbDoublePropertyManager::setRange(PbProperty *property, double minVal, double maxVal)
{
    if (qIsNaN(minVal) || qIsNaN(maxVal))
        return;
    PbRangeRules::setRangeBorders(this, d_ptr, property, minVal, maxVal, &PbDoublePropertyManager::valueChanged,
                                  &PbDoublePropertyManager::rangeChanged);
}

void PbDoublePropertyManager::setSingleStep(PbProperty *property, double step)
{
    if (qIsNaN(step))
        return;
    if (step < 0)
        step = 0.0;
    if (!PbRangeRules::storeField(d_ptr->m_values, property, &Data::singleStep, step))
        return;
    Q_EMIT singleStepChanged(property, step);
}

void PbDoublePropertyManager::setDecimals(PbProperty *property, int prec)
{
    prec = qBound(0, prec, maxDecimals);
    if (!PbRangeRules::storeField(d_ptr->m_values, property, &Data::decimals, prec))
        return;
    Q_EMIT decimalsChanged(property, prec);
}

void PbDoublePropertyManager::setReadOnly(PbProperty *property, bool readOnly)
{
    if (!PbRangeRules::storeField(d_ptr->m_values, property, &Data::readOnly, readOnly))
        return;
    Q_EMIT propertyChanged(property);
    Q_EMIT readOnlyChanged(property, readOnly);
}

void PbDoublePropertyManager::initializeProperty(PbProperty *property) { d_ptr->m_values[property] = Data(); }

void PbDoublePropertyManager::uninitializeProperty(PbProperty *property) { d_ptr->m_values.remove(property); }
