// Floating-point points: the parent holds the point and its decimals, its X
// and Y rows follow it, and an edit of a row moves the parent.
#include "propertybrowser/pbpointfpropertymanager.h"

#include "propertybrowser/pbdoublepropertymanager.h"
#include "propertybrowser/pbpointfpropertymanager_p.h"
#include "propertybrowser/pbrangerules_p.h"

#include <QtNumeric>

#include <limits>

using Data = PbPointFPropertyManagerPrivate::Data;

void PbPointFPropertyManagerPrivate::pushValue(PbProperty *property, const QPointF &val)
{
    PbCompositeRules::pushRowValues(m_rows, m_subManager, property, {val.x(), val.y()});
}

PbPointFPropertyManager::PbPointFPropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbPointFPropertyManagerPrivate(this))
{
    d_ptr->createSubManager(SIGNAL(valueChanged(PbProperty*,double)), SLOT(slotDoubleChanged(PbProperty*,double)));
}

PbPointFPropertyManager::~PbPointFPropertyManager()
{
    clear();
    delete d_ptr;
}

PbDoublePropertyManager *PbPointFPropertyManager::doubleSubManager() const { return d_ptr->m_subManager; }

QPointF PbPointFPropertyManager::value(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::value);
}

int PbPointFPropertyManager::decimals(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::decimals, 0);
}

QString PbPointFPropertyManager::valueText(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    if (it == d_ptr->m_values.constEnd())
        return QString();
    return tr("(%1, %2)").arg(QString::number(it->value.x(), 'f', it->decimals),
                              QString::number(it->value.y(), 'f', it->decimals));
}

void PbPointFPropertyManager::setValue(PbProperty *property, const QPointF &val)
{
    if (!qIsFinite(val.x()) || !qIsFinite(val.y()))
        return;
    const auto it = d_ptr->m_values.find(property);
    if (it == d_ptr->m_values.end() || it->value == val)
        return;
    it->value = val;
    d_ptr->pushValue(property, val);
    PbCompositeRules::announceRecord(this, d_ptr->m_values, property, &PbPointFPropertyManager::valueChanged);
}

void PbPointFPropertyManager::setDecimals(PbProperty *property, int prec)
{
    PbCompositeRules::setRowDecimals(this, d_ptr->m_values, d_ptr->m_rows, d_ptr->m_subManager, property, prec,
                                     &PbPointFPropertyManager::decimalsChanged);
}

void PbPointFPropertyManager::slotDoubleChanged(PbProperty *row, double value)
{
    Data data;
    PbProperty *parent = d_ptr->editedParent(row, &data);
    if (!parent)
        return;
    const QPointF point = PbCompositeRules::withComponent(data.value, d_ptr->m_rows.positionOf(row), value,
                                                          &QPointF::setX, &QPointF::setY);
    setValue(parent, point);
}

void PbPointFPropertyManager::slotPropertyDestroyed(PbProperty *row) { d_ptr->m_rows.forgetRow(row); }

void PbPointFPropertyManager::initializeProperty(PbProperty *property)
{
    const Data data;
    const double most = std::numeric_limits<double>::max();
    PbDoublePropertyManager *sub = d_ptr->m_subManager;
    d_ptr->initialize(property, data, {tr("X"), tr("Y")}, [&](PbProperty *row) {
        sub->setDecimals(row, data.decimals);
        // The rows take every double, so that they never hold less than the point.
        sub->setRange(row, -most, most);
        sub->setValue(row, 0.0, true);
    });
}

void PbPointFPropertyManager::uninitializeProperty(PbProperty *property)
{
    d_ptr->uninitialize(property);
}
