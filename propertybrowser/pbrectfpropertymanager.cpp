// Floating-point rectangles: the parent holds the rectangle inside its optional
// constraint, the four rows follow it with the constraint's ranges, and an
// edit of a row moves or resizes the parent.
#include "propertybrowser/pbrectfpropertymanager.h"

#include "propertybrowser/pbrectfpropertymanager_p.h"
#include "propertybrowser/pbdoublepropertymanager.h"
#include "propertybrowser/pbrangerules_p.h"
#include "propertybrowser/pbrectrules_p.h"

#include <QtNumeric>

using Data = PbRectFPropertyManagerPrivate::Data;

namespace {

bool isFinite(const QRectF &rect)
{
    return qIsFinite(rect.x()) && qIsFinite(rect.y()) && qIsFinite(rect.width()) && qIsFinite(rect.height());
}
} // namespace

PbRectFPropertyManager::PbRectFPropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbRectFPropertyManagerPrivate(this))
{
    d_ptr->createSubManager(SIGNAL(valueChanged(PbProperty*,double)), SLOT(slotDoubleChanged(PbProperty*,double)));
}

PbRectFPropertyManager::~PbRectFPropertyManager()
{
    clear();
    delete d_ptr;
}

PbDoublePropertyManager *PbRectFPropertyManager::subDoublePropertyManager() const { return d_ptr->m_subManager; }

QRectF PbRectFPropertyManager::value(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::value);
}

QRectF PbRectFPropertyManager::constraint(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::constraint);
}

int PbRectFPropertyManager::decimals(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::decimals, 0);
}

QString PbRectFPropertyManager::valueText(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    if (it == d_ptr->m_values.constEnd())
        return QString();
    return tr("[(%1, %2), %3 x %4]")
        .arg(QString::number(it->value.x(), 'f', it->decimals), QString::number(it->value.y(), 'f', it->decimals),
             QString::number(it->value.width(), 'f', it->decimals), QString::number(it->value.height(), 'f', it->decimals));
}

void PbRectFPropertyManager::setValue(PbProperty *property, const QRectF &val)
{
    if (!isFinite(val))
        return;
    PbRectRules::setValue(this, d_ptr, property, val, &PbRectFPropertyManager::valueChanged);
}

void PbRectFPropertyManager::setConstraint(PbProperty *property, const QRectF &constraint)
{
    if (!isFinite(constraint))
        return;
    PbRectRules::setConstraint(this, d_ptr, property, constraint, &PbRectFPropertyManager::valueChanged,
                               &PbRectFPropertyManager::constraintChanged);
}

void PbRectFPropertyManager::setDecimals(PbProperty *property, int prec)
{
    PbCompositeRules::setRowDecimals(this, d_ptr->m_values, d_ptr->m_rows, d_ptr->m_subManager, property, prec,
                                     &PbRectFPropertyManager::decimalsChanged);
}

void PbRectFPropertyManager::slotDoubleChanged(PbProperty *row, double value)
{
    PbRectRules::editRow(this, d_ptr, row, value);
}

void PbRectFPropertyManager::slotPropertyDestroyed(PbProperty *row) { d_ptr->m_rows.forgetRow(row); }

void PbRectFPropertyManager::initializeProperty(PbProperty *property)
{
    const Data data;
    PbDoublePropertyManager *sub = d_ptr->m_subManager;
    d_ptr->initialize(property, data, {tr("X"), tr("Y"), tr("Width"), tr("Height")}, [&](PbProperty *row) {
        sub->setDecimals(row, data.decimals);
        sub->setValue(row, 0.0, true);
    });
    PbRectRules::pushRanges(sub, d_ptr->m_rows, property, data.constraint, PbRectFPropertyManagerPrivate::lowest,
                            PbRectFPropertyManagerPrivate::highest);
}

void PbRectFPropertyManager::uninitializeProperty(PbProperty *property)
{
    d_ptr->uninitialize(property);
}
