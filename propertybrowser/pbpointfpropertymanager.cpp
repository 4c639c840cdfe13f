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
    PbCompositeRules::pushRowValues(m_rows, m_doublePropertyManager, property, {val.x(), val.y()});
}

PbPointFPropertyManager::PbPointFPropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbPointFPropertyManagerPrivate(this))
{
    d_ptr->m_doublePropertyManager = new PbDoublePropertyManager(this);
    connect(d_ptr->m_doublePropertyManager, SIGNAL(valueChanged(PbProperty *, double)), this,
            SLOT(slotDoubleChanged(PbProperty *, double)));
    connect(d_ptr->m_doublePropertyManager, SIGNAL(propertyDestroyed(PbProperty *)), this,
            SLOT(slotPropertyDestroyed(PbProperty *)));
}

PbPointFPropertyManager::~PbPointFPropertyManager()
{
    clear();
    delete d_ptr;
}

PbDoublePropertyManager *PbPointFPropertyManager::doubleSubManager() const { return d_ptr->m_doublePropertyManager; }

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
    PbCompositeRules::setRowDecimals(this, d_ptr->m_values, d_ptr->m_rows, d_ptr->m_doublePropertyManager, property, prec,
                                     &PbPointFPropertyManager::decimalsChanged);
}

void PbPointFPropertyManager::slotDoubleChanged(PbProperty *row, double value)
{
    PbProperty *parent = d_ptr->m_rows.editedParent(row);
    if (!parent)
        return;
    QPointF point = d_ptr->m_values.value(parent).value;
    if (d_ptr->m_rows.positionOf(row) == PbPointFPropertyManagerPrivate::XRow)
        point.setX(value);
    else
        point.setY(value);
    setValue(parent, point);
}

void PbPointFPropertyManager::slotPropertyDestroyed(PbProperty *row) { d_ptr->m_rows.forgetRow(row); }

void PbPointFPropertyManager::initializeProperty(PbProperty *property)
{
    const Data data;
    d_ptr->m_values[property] = data;
    const double most = std::numeric_limits<double>::max();
    for (const QString &name : {tr("X"), tr("Y")}) {
        PbProperty *row = PbCompositeRows::createRow(d_ptr->m_doublePropertyManager, name);
        d_ptr->m_doublePropertyManager->setDecimals(row, data.decimals);
        // The rows take every double, so that they never hold less than the point.
        d_ptr->m_doublePropertyManager->setRange(row, -most, most);
        d_ptr->m_doublePropertyManager->setValue(row, 0.0, true);
        d_ptr->m_rows.attach(property, row);
    }
}

void PbPointFPropertyManager::uninitializeProperty(PbProperty *property)
{
    d_ptr->m_rows.deleteRows(property);
    d_ptr->m_values.remove(property);
}
