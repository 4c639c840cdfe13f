// Property structure: texts and flags, child insertion with duplicate and
// cycle refusal, removal, and the unlinking order when a property is deleted.
#include "propertybrowser/pbproperty.h"

#include "propertybrowser/pbabstractpropertymanager.h"
#include "propertybrowser/pbabstractpropertymanager_p.h"
#include "propertybrowser/pblistindex_p.h"
#include "propertybrowser/pbproperty_p.h"

PbProperty::PbProperty(PbAbstractPropertyManager *manager)
    : d_ptr(new PbPropertyPrivate(this, manager))
{
}

PbProperty::~PbProperty()
{
    // Parents are told first, while every link still stands, so that browsers
    // can drop their items for this property.
    const QSet<PbProperty *> parents = d_ptr->m_parentItems;
    for (PbProperty *parent : parents)
        parent->d_ptr->m_manager->d_ptr->propertyRemoved(this, parent);

    d_ptr->m_manager->d_ptr->propertyDestroyed(this);

    for (PbProperty *child : qAsConst(d_ptr->m_subItems))
        child->d_ptr->m_parentItems.remove(this);
    for (PbProperty *parent : qAsConst(d_ptr->m_parentItems))
        parent->d_ptr->m_subItems.removeAll(this);

    delete d_ptr;
}

PbAbstractPropertyManager *PbProperty::propertyManager() const { return d_ptr->m_manager; }
QList<PbProperty *> PbProperty::subProperties() const { return d_ptr->m_subItems; }
QString PbProperty::toolTip() const { return d_ptr->m_toolTip; }
QString PbProperty::statusTip() const { return d_ptr->m_statusTip; }
QString PbProperty::whatsThis() const { return d_ptr->m_whatsThis; }
QString PbProperty::propertyName() const { return d_ptr->m_name; }
bool PbProperty::isEnabled() const { return d_ptr->m_enabled; }
bool PbProperty::isModified() const { return d_ptr->m_modified; }
QStringList PbProperty::columnTexts() const { return d_ptr->m_columnTexts; }

bool PbProperty::hasValue() const { return d_ptr->m_manager->hasValue(this); }
QIcon PbProperty::valueIcon() const { return d_ptr->m_manager->valueIcon(this); }
QString PbProperty::valueText() const { return d_ptr->m_manager->valueText(this); }
QString PbProperty::displayText() const { return d_ptr->m_manager->displayText(this); }

namespace {
template <class Field>
bool storeIfDifferent(Field &stored, const Field &value)
{
    if (stored == value)
        return false;
    stored = value;
    return true;
}
} // namespace

void PbProperty::setToolTip(const QString &text)
{
    if (storeIfDifferent(d_ptr->m_toolTip, text))
        propertyChanged();
}

void PbProperty::setStatusTip(const QString &text)
{
    if (storeIfDifferent(d_ptr->m_statusTip, text))
        propertyChanged();
}

void PbProperty::setWhatsThis(const QString &text)
{
    if (storeIfDifferent(d_ptr->m_whatsThis, text))
        propertyChanged();
}

void PbProperty::setPropertyName(const QString &text)
{
    if (storeIfDifferent(d_ptr->m_name, text))
        propertyChanged();
}

void PbProperty::setEnabled(bool enable)
{
    if (storeIfDifferent(d_ptr->m_enabled, enable))
        propertyChanged();
}

void PbProperty::setModified(bool modified)
{
    if (storeIfDifferent(d_ptr->m_modified, modified))
        propertyChanged();
}

void PbProperty::setColumnTexts(const QStringList &texts) { d_ptr->m_columnTexts = texts; }

void PbProperty::addSubProperty(PbProperty *property)
{
    PbProperty *after = d_ptr->m_subItems.isEmpty() ? nullptr : d_ptr->m_subItems.last();
    insertSubProperty(property, after);
}

void PbProperty::insertSubProperty(PbProperty *property, PbProperty *afterProperty)
{
    if (!property || property == this)
        return;

    // Refuse a cycle: this property must not appear anywhere below the child.
    QList<PbProperty *> pending = property->d_ptr->m_subItems;
    QSet<PbProperty *> visited;
    while (!pending.isEmpty()) {
        PbProperty *item = pending.takeFirst();
        if (item == this)
            return;
        if (visited.contains(item))
            continue;
        visited.insert(item);
        pending += item->d_ptr->m_subItems;
    }

    // A child knows its parents, so a duplicate is refused without a search.
    if (property->d_ptr->m_parentItems.contains(this))
        return;
    const int afterPos = afterProperty ? indexNearEnds(d_ptr->m_subItems, afterProperty) : -1;
    PbProperty *properAfter = afterPos >= 0 ? afterProperty : nullptr;

    d_ptr->m_subItems.insert(afterPos + 1, property);
    property->d_ptr->m_parentItems.insert(this);
    d_ptr->m_manager->d_ptr->propertyInserted(property, this, properAfter);
}

void PbProperty::removeSubProperty(PbProperty *property)
{
    if (!property)
        return;
    d_ptr->m_manager->d_ptr->propertyRemoved(property, this);
    const int pos = indexNearEnds(d_ptr->m_subItems, property);
    if (pos < 0)
        return;
    d_ptr->m_subItems.removeAt(pos);
    property->d_ptr->m_parentItems.remove(this);
}

void PbProperty::propertyChanged() { d_ptr->m_manager->d_ptr->propertyChanged(this); }
