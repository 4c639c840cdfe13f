// Calendar-date properties: ranged dates announced by the shared range rules.
// A null date compares below every date: as a value or border it would slip
// into the range as its lowest end, so every setter refuses it.
#include "propertybrowser/pbdatepropertymanager.h"

#include "propertybrowser/pbdatepropertymanager_p.h"

#include <QLocale>

using Data = PbDatePropertyManagerPrivate::Data;

PbDatePropertyManagerPrivate::PbDatePropertyManagerPrivate(PbDatePropertyManager *q)
    : q_ptr(q), m_format(QLocale().dateFormat(QLocale::ShortFormat))
{
}

PbDatePropertyManager::PbDatePropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbDatePropertyManagerPrivate(this))
{
}

PbDatePropertyManager::~PbDatePropertyManager()
{
    clear();
    delete d_ptr;
}

QDate PbDatePropertyManager::value(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::value);
}

QDate PbDatePropertyManager::minimum(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::minimum);
}

QDate PbDatePropertyManager::maximum(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::maximum);
}

QString PbDatePropertyManager::valueText(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    return it == d_ptr->m_values.constEnd() ? QString() : it->value.toString(d_ptr->m_format);
}

void PbDatePropertyManager::setValue(PbProperty *property, const QDate &val, bool checkChanging)
{
    if (!val.isValid())
        return;
    PbRangeRules::setValueInRange(this, d_ptr, property, val, checkChanging, &PbDatePropertyManager::valueChanged);
}

void PbDatePropertyManager::setMinimum(PbProperty *property, const QDate &minVal)
{
    if (!minVal.isValid())
        return;
    PbRangeRules::setRangeBorder(this, d_ptr, property, minVal, &Data::minimum, &Data::applyMinimum,
                                 &PbDatePropertyManager::valueChanged, &PbDatePropertyManager::rangeChanged);
}

void PbDatePropertyManager::setMaximum(PbProperty *property, const QDate &maxVal)
{
    if (!maxVal.isValid())
        return;
    PbRangeRules::setRangeBorder(this, d_ptr, property, maxVal, &Data::maximum, &Data::applyMaximum,
                                 &PbDatePropertyManager::valueChanged, &PbDatePropertyManager::rangeChanged);
}

void PbDatePropertyManager::setRange(PbProperty *property, const QDate &minVal, const QDate &maxVal)
{
    if (!minVal.isValid() || !maxVal.isValid())
        return;
    PbRangeRules::setRangeBorders(this, d_ptr, property, minVal, maxVal, &PbDatePropertyManager::valueChanged,
                                  &PbDatePropertyManager::rangeChanged);
}

void PbDatePropertyManager::initializeProperty(PbProperty *property)
{
    Data data;
    data.value = QDate::currentDate();
    d_ptr->m_values[property] = data;
}

void PbDatePropertyManager::uninitializeProperty(PbProperty *property) { d_ptr->m_values.remove(property); }
