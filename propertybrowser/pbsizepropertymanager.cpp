// Sizes: ranged per component by the shared range rules, whose hooks
// bring the Width and Height rows up to the parent; an edit of a row resizes
// the parent.
#include "propertybrowser/pbsizepropertymanager.h"

#include "propertybrowser/pbsizepropertymanager_p.h"
#include "propertybrowser/pbintpropertymanager.h"

using Data = PbSizePropertyManagerPrivate::Data;
using Row = PbSizePropertyManagerPrivate::Row;

void PbSizePropertyManagerPrivate::pushValue(PbProperty *property, const QSize &val)
{
    PbCompositeRules::pushRowValues(m_rows, m_subManager, property, {val.width(), val.height()});
}

void PbSizePropertyManagerPrivate::pushRange(PbProperty *property, const QSize &minVal, const QSize &maxVal,
                                             const QSize &val)
{
    const PbCompositeRows::PushScope pushing(m_rows, property);
    m_subManager->setRange(m_rows.row(property, Row::WidthRow), minVal.width(), maxVal.width());
    m_subManager->setRange(m_rows.row(property, Row::HeightRow), minVal.height(), maxVal.height());
    pushValue(property, val);
}

PbSizePropertyManager::PbSizePropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbSizePropertyManagerPrivate(this))
{
    d_ptr->createSubManager(SIGNAL(valueChanged(PbProperty*,int)), SLOT(slotIntChanged(PbProperty*,int)));
}

PbSizePropertyManager::~PbSizePropertyManager()
{
    clear();
    delete d_ptr;
}

PbIntPropertyManager *PbSizePropertyManager::subIntPropertyManager() const { return d_ptr->m_subManager; }

QSize PbSizePropertyManager::value(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::value, QSize());
}

QSize PbSizePropertyManager::minimum(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::minimum, QSize());
}

QSize PbSizePropertyManager::maximum(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::maximum, QSize());
}

QString PbSizePropertyManager::valueText(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    if (it == d_ptr->m_values.constEnd())
        return QString();
    return tr("%1 x %2").arg(QString::number(it->value.width()), QString::number(it->value.height()));
}

void PbSizePropertyManager::setValue(PbProperty *property, const QSize &val, bool checkChanging)
{
    PbRangeRules::setValueInRange(this, d_ptr, property, val, checkChanging, &PbSizePropertyManager::valueChanged,
                                  &PbSizePropertyManagerPrivate::pushValue);
}

void PbSizePropertyManager::setMinimum(PbProperty *property, const QSize &minVal)
{
    PbRangeRules::setRangeBorder(this, d_ptr, property, minVal, &Data::minimum, &Data::applyMinimum,
                                 &PbSizePropertyManager::valueChanged, &PbSizePropertyManager::rangeChanged,
                                 &PbSizePropertyManagerPrivate::pushRange);
}

void PbSizePropertyManager::setMaximum(PbProperty *property, const QSize &maxVal)
{
    PbRangeRules::setRangeBorder(this, d_ptr, property, maxVal, &Data::maximum, &Data::applyMaximum,
                                 &PbSizePropertyManager::valueChanged, &PbSizePropertyManager::rangeChanged,
                                 &PbSizePropertyManagerPrivate::pushRange);
}

void PbSizePropertyManager::setRange(PbProperty *property, const QSize &minVal, const QSize &maxVal)
{
    PbRangeRules::setRangeBorders(this, d_ptr, property, minVal, maxVal, &PbSizePropertyManager::valueChanged,
                                  &PbSizePropertyManager::rangeChanged, &PbSizePropertyManagerPrivate::pushRange);
}

void PbSizePropertyManager::slotIntChanged(PbProperty *row, int value)
{
    Data data;
    PbProperty *parent = d_ptr->editedParent(row, &data);
    if (!parent)
        return;
    const QSize size = PbCompositeRules::withComponent(data.value, d_ptr->m_rows.positionOf(row), value,
                                                       &QSize::setWidth, &QSize::setHeight);
    setValue(parent, size, true);
}

void PbSizePropertyManager::slotPropertyDestroyed(PbProperty *row) { d_ptr->m_rows.forgetRow(row); }

void PbSizePropertyManager::initializeProperty(PbProperty *property)
{
    PbIntPropertyManager *sub = d_ptr->m_subManager;
    d_ptr->initialize(property, Data(), {tr("Width"), tr("Height")}, [sub](PbProperty *row) {
        sub->setValue(row, 0, true);
        sub->setMinimum(row, 0);
    });
}

void PbSizePropertyManager::uninitializeProperty(PbProperty *property)
{
    d_ptr->uninitialize(property);
}
