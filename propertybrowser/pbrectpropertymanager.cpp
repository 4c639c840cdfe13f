// Rectangles: the parent holds the rectangle inside its optional
// constraint, the four rows follow it with the constraint's ranges, and an
// edit of a row moves or resizes the parent.
#include "propertybrowser/pbrectpropertymanager.h"

#include "propertybrowser/pbrectpropertymanager_p.h"
#include "propertybrowser/pbintpropertymanager.h"
#include "propertybrowser/pbrangerules_p.h"
#include "propertybrowser/pbrectrules_p.h"


using Data = PbRectPropertyManagerPrivate::Data;

PbRectPropertyManager::PbRectPropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbRectPropertyManagerPrivate(this))
{
    d_ptr->createSubManager(SIGNAL(valueChanged(PbProperty*,int)), SLOT(slotIntChanged(PbProperty*,int)));
}

PbRectPropertyManager::~PbRectPropertyManager()
{
    clear();
    delete d_ptr;
}

PbIntPropertyManager *PbRectPropertyManager::subIntPropertyManager() const { return d_ptr->m_subManager; }

QRect PbRectPropertyManager::value(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::value);
}

QRect PbRectPropertyManager::constraint(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::constraint);
}

QString PbRectPropertyManager::valueText(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    if (it == d_ptr->m_values.constEnd())
        return QString();
    return tr("[(%1, %2), %3 x %4]")
        .arg(QString::number(it->value.x()), QString::number(it->value.y()),
             QString::number(it->value.width()), QString::number(it->value.height()));
}

void PbRectPropertyManager::setValue(PbProperty *property, const QRect &val)
{
    PbRectRules::setValue(this, d_ptr, property, val, &PbRectPropertyManager::valueChanged);
}

void PbRectPropertyManager::setConstraint(PbProperty *property, const QRect &constraint)
{
    PbRectRules::setConstraint(this, d_ptr, property, constraint, &PbRectPropertyManager::valueChanged,
                               &PbRectPropertyManager::constraintChanged);
}

void PbRectPropertyManager::slotIntChanged(PbProperty *row, int value)
{
    PbRectRules::editRow(this, d_ptr, row, value);
}

void PbRectPropertyManager::slotPropertyDestroyed(PbProperty *row) { d_ptr->m_rows.forgetRow(row); }

void PbRectPropertyManager::initializeProperty(PbProperty *property)
{
    const Data data;
    PbIntPropertyManager *sub = d_ptr->m_subManager;
    d_ptr->initialize(property, data, {tr("X"), tr("Y"), tr("Width"), tr("Height")},
                      [sub](PbProperty *row) { sub->setValue(row, 0, true); });
    PbRectRules::pushRanges(sub, d_ptr->m_rows, property, data.constraint, PbRectPropertyManagerPrivate::lowest,
                            PbRectPropertyManagerPrivate::highest);
}

void PbRectPropertyManager::uninitializeProperty(PbProperty *property)
{
    d_ptr->uninitialize(property);
}
