// Integer points: the parent holds the point, its X and Y rows follow it,
// and an edit of a row moves the parent.
#include "propertybrowser/pbpointpropertymanager.h"

#include "propertybrowser/pbintpropertymanager.h"
#include "propertybrowser/pbpointpropertymanager_p.h"
#include "propertybrowser/pbrangerules_p.h"

#include <climits>

using Data = PbPointPropertyManagerPrivate::Data;

void PbPointPropertyManagerPrivate::pushValue(PbProperty *property, const QPoint &val)
{
    PbCompositeRules::pushRowValues(m_rows, m_subManager, property, {val.x(), val.y()});
}

PbPointPropertyManager::PbPointPropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbPointPropertyManagerPrivate(this))
{
    d_ptr->createSubManager(SIGNAL(valueChanged(PbProperty*,int)), SLOT(slotIntChanged(PbProperty*,int)));
}

PbPointPropertyManager::~PbPointPropertyManager()
{
    clear();
    delete d_ptr;
}

PbIntPropertyManager *PbPointPropertyManager::intSubManager() const { return d_ptr->m_subManager; }

QPoint PbPointPropertyManager::value(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::value);
}

QString PbPointPropertyManager::valueText(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    if (it == d_ptr->m_values.constEnd())
        return QString();
    return tr("(%1, %2)").arg(QString::number(it->value.x()), QString::number(it->value.y()));
}

void PbPointPropertyManager::setValue(PbProperty *property, const QPoint &val)
{
    const auto it = d_ptr->m_values.find(property);
    if (it == d_ptr->m_values.end() || it->value == val)
        return;
    it->value = val;
    d_ptr->pushValue(property, val);
    PbCompositeRules::announceRecord(this, d_ptr->m_values, property, &PbPointPropertyManager::valueChanged);
}

void PbPointPropertyManager::slotIntChanged(PbProperty *row, int value)
{
    Data data;
    PbProperty *parent = d_ptr->editedParent(row, &data);
    if (!parent)
        return;
    const QPoint point = PbCompositeRules::withComponent(data.value, d_ptr->m_rows.positionOf(row), value,
                                                         &QPoint::setX, &QPoint::setY);
    setValue(parent, point);
}

void PbPointPropertyManager::slotPropertyDestroyed(PbProperty *row) { d_ptr->m_rows.forgetRow(row); }

void PbPointPropertyManager::initializeProperty(PbProperty *property)
{
    PbIntPropertyManager *sub = d_ptr->m_subManager;
    d_ptr->initialize(property, Data(), {tr("X"), tr("Y")}, [sub](PbProperty *row) {
        // The rows take every int, so that they never hold less than the point.
        sub->setRange(row, INT_MIN, INT_MAX);
        sub->setValue(row, 0, true);
    });
}

void PbPointPropertyManager::uninitializeProperty(PbProperty *property)
{
    d_ptr->uninitialize(property);
}
