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
    PbCompositeRules::pushRowValues(m_rows, m_intPropertyManager, property, {val.x(), val.y()});
}

PbPointPropertyManager::PbPointPropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbPointPropertyManagerPrivate(this))
{
    d_ptr->m_intPropertyManager = new PbIntPropertyManager(this);
    connect(d_ptr->m_intPropertyManager, SIGNAL(valueChanged(PbProperty *, int)), this,
            SLOT(slotIntChanged(PbProperty *, int)));
    connect(d_ptr->m_intPropertyManager, SIGNAL(propertyDestroyed(PbProperty *)), this,
            SLOT(slotPropertyDestroyed(PbProperty *)));
}

PbPointPropertyManager::~PbPointPropertyManager()
{
    clear();
    delete d_ptr;
}

PbIntPropertyManager *PbPointPropertyManager::intSubManager() const { return d_ptr->m_intPropertyManager; }

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
    PbProperty *parent = d_ptr->m_rows.editedParent(row);
    if (!parent)
        return;
    QPoint point = d_ptr->m_values.value(parent).value;
    if (d_ptr->m_rows.positionOf(row) == PbPointPropertyManagerPrivate::XRow)
        point.setX(value);
    else
        point.setY(value);
    setValue(parent, point);
}

void PbPointPropertyManager::slotPropertyDestroyed(PbProperty *row) { d_ptr->m_rows.forgetRow(row); }

void PbPointPropertyManager::initializeProperty(PbProperty *property)
{
    d_ptr->m_values[property] = Data();
    for (const QString &name : {tr("X"), tr("Y")}) {
        PbProperty *row = PbCompositeRows::createRow(d_ptr->m_intPropertyManager, name);
        // The rows take every int, so that they never hold less than the point.
        d_ptr->m_intPropertyManager->setRange(row, INT_MIN, INT_MAX);
        d_ptr->m_intPropertyManager->setValue(row, 0, true);
        d_ptr->m_rows.attach(property, row);
    }
}

void PbPointPropertyManager::uninitializeProperty(PbProperty *property)
{
    d_ptr->m_rows.deleteRows(property);
    d_ptr->m_values.remove(property);
}
