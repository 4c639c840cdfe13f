// Floating-point sizes: ranged per component by the shared range rules, whose hooks
// bring the Width and Height rows up to the parent; an edit of a row resizes
// the parent.
#include "propertybrowser/pbsizefpropertymanager.h"

#include "propertybrowser/pbsizefpropertymanager_p.h"
#include "propertybrowser/pbdoublepropertymanager.h"

#include <QtNumeric>

using Data = PbSizeFPropertyManagerPrivate::Data;
using Row = PbSizeFPropertyManagerPrivate::Row;

namespace {

// A NaN compares false with everything and would slip past every range rule.
bool hasNaN(const QSizeF &size) { return qIsNaN(size.width()) || qIsNaN(size.height()); }
} // namespace

void PbSizeFPropertyManagerPrivate::pushValue(PbProperty *property, const QSizeF &val)
{
    PbCompositeRules::pushRowValues(m_rows, m_subManager, property, {val.width(), val.height()});
}

void PbSizeFPropertyManagerPrivate::pushRange(PbProperty *property, const QSizeF &minVal, const QSizeF &maxVal,
                                              const QSizeF &val)
{
    const PbCompositeRows::PushScope pushing(m_rows, property);
    m_subManager->setRange(m_rows.row(property, Row::WidthRow), minVal.width(), maxVal.width());
    m_subManager->setRange(m_rows.row(property, Row::HeightRow), minVal.height(), maxVal.height());
    pushValue(property, val);
}

PbSizeFPropertyManager::PbSizeFPropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbSizeFPropertyManagerPrivate(this))
{
    d_ptr->createSubManager(SIGNAL(valueChanged(PbProperty*,double)), SLOT(slotDoubleChanged(PbProperty*,double)));
}

PbSizeFPropertyManager::~PbSizeFPropertyManager()
{
    clear();
    delete d_ptr;
}

PbDoublePropertyManager *PbSizeFPropertyManager::subDoublePropertyManager() const { return d_ptr->m_subManager; }

QSizeF PbSizeFPropertyManager::value(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::value, QSizeF());
}

QSizeF PbSizeFPropertyManager::minimum(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::minimum, QSizeF());
}

QSizeF PbSizeFPropertyManager::maximum(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::maximum, QSizeF());
}

int PbSizeFPropertyManager::decimals(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::decimals, 0);
}

QString PbSizeFPropertyManager::valueText(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    if (it == d_ptr->m_values.constEnd())
        return QString();
    return tr("%1 x %2").arg(QString::number(it->value.width(), 'f', it->decimals),
                             QString::number(it->value.height(), 'f', it->decimals));
}

void PbSizeFPropertyManager::setValue(PbProperty *property, const QSizeF &val, bool checkChanging)
{
    if (hasNaN(val))
        return;
    PbRangeRules::setValueInRange(this, d_ptr, property, val, checkChanging, &PbSizeFPropertyManager::valueChanged,
                                  &PbSizeFPropertyManagerPrivate::pushValue);
}

void PbSizeFPropertyManager::setMinimum(PbProperty *property, const QSizeF &minVal)
{
    if (hasNaN(minVal))
        return;
    PbRangeRules::setRangeBorder(this, d_ptr, property, minVal, &Data::minimum, &Data::applyMinimum,
                                 &PbSizeFPropertyManager::valueChanged, &PbSizeFPropertyManager::rangeChanged,
                                 &PbSizeFPropertyManagerPrivate::pushRange);
}

void PbSizeFPropertyManager::setMaximum(PbProperty *property, const QSizeF &maxVal)
{
    if (hasNaN(maxVal))
        return;
    PbRangeRules::setRangeBorder(this, d_ptr, property, maxVal, &Data::maximum, &Data::applyMaximum,
                                 &PbSizeFPropertyManager::valueChanged, &PbSizeFPropertyManager::rangeChanged,
                                 &PbSizeFPropertyManagerPrivate::pushRange);
}

void PbSizeFPropertyManager::setRange(PbProperty *property, const QSizeF &minVal, const QSizeF &maxVal)
{
    if (hasNaN(minVal) || hasNaN(maxVal))
        return;
    PbRangeRules::setRangeBorders(this, d_ptr, property, minVal, maxVal, &PbSizeFPropertyManager::valueChanged,
                                  &PbSizeFPropertyManager::rangeChanged, &PbSizeFPropertyManagerPrivate::pushRange);
}

void PbSizeFPropertyManager::setDecimals(PbProperty *property, int prec)
{
    PbCompositeRules::setRowDecimals(this, d_ptr->m_values, d_ptr->m_rows, d_ptr->m_subManager, property, prec,
                                     &PbSizeFPropertyManager::decimalsChanged);
}

void PbSizeFPropertyManager::slotDoubleChanged(PbProperty *row, double value)
{
    Data data;
    PbProperty *parent = d_ptr->editedParent(row, &data);
    if (!parent)
        return;
    const QSizeF size = PbCompositeRules::withComponent(data.value, d_ptr->m_rows.positionOf(row), value,
                                                        &QSizeF::setWidth, &QSizeF::setHeight);
    setValue(parent, size, true);
}

void PbSizeFPropertyManager::slotPropertyDestroyed(PbProperty *row) { d_ptr->m_rows.forgetRow(row); }

void PbSizeFPropertyManager::initializeProperty(PbProperty *property)
{
    const Data data;
    PbDoublePropertyManager *sub = d_ptr->m_subManager;
    d_ptr->initialize(property, data, {tr("Width"), tr("Height")}, [&](PbProperty *row) {
        sub->setDecimals(row, data.decimals);
        sub->setValue(row, 0.0, true);
        sub->setMinimum(row, 0.0);
    });
}

void PbSizeFPropertyManager::uninitializeProperty(PbProperty *property)
{
    d_ptr->uninitialize(property);
}
