// The abstract browser: keeps its items in step with the managers' structural
// and data signals and forwards editor requests to the bound factories.
#include "propertybrowser/pbabstractpropertybrowser.h"

#include "propertybrowser/pbabstractpropertybrowser_p.h"
#include "propertybrowser/pbbrowseritem.h"
#include "propertybrowser/pbbrowseritem_p.h"
#include "propertybrowser/pbfactoryregistry_p.h"
#include "propertybrowser/pblistindex_p.h"
#include "propertybrowser/pbproperty.h"

void PbAbstractPropertyBrowserPrivate::connectManager(PbAbstractPropertyManager *manager, bool on)
{
    QObject *q = q_ptr;
    if (on) {
        QObject::connect(manager, SIGNAL(propertyInserted(PbProperty*,PbProperty*,PbProperty*)), q,
                         SLOT(slotPropertyInserted(PbProperty*,PbProperty*,PbProperty*)));
        QObject::connect(manager, SIGNAL(propertyRemoved(PbProperty*,PbProperty*)), q,
                         SLOT(slotPropertyRemoved(PbProperty*,PbProperty*)));
        QObject::connect(manager, SIGNAL(propertyDestroyed(PbProperty*)), q,
                         SLOT(slotPropertyDestroyed(PbProperty*)));
        QObject::connect(manager, SIGNAL(propertyChanged(PbProperty*)), q,
                         SLOT(slotPropertyDataChanged(PbProperty*)));
    } else {
        QObject::disconnect(manager, SIGNAL(propertyInserted(PbProperty*,PbProperty*,PbProperty*)), q,
                            SLOT(slotPropertyInserted(PbProperty*,PbProperty*,PbProperty*)));
        QObject::disconnect(manager, SIGNAL(propertyRemoved(PbProperty*,PbProperty*)), q,
                            SLOT(slotPropertyRemoved(PbProperty*,PbProperty*)));
        QObject::disconnect(manager, SIGNAL(propertyDestroyed(PbProperty*)), q,
                            SLOT(slotPropertyDestroyed(PbProperty*)));
        QObject::disconnect(manager, SIGNAL(propertyChanged(PbProperty*)), q,
                            SLOT(slotPropertyDataChanged(PbProperty*)));
    }
}

void PbAbstractPropertyBrowserPrivate::insertSubTree(PbProperty *property, PbProperty *parentProperty)
{
    const auto parentsIt = m_propertyToParents.find(property);
    if (parentsIt != m_propertyToParents.end()) {
        // Already known: its items are made by the item algorithms.
        parentsIt->append(parentProperty);
        return;
    }
    PbAbstractPropertyManager *manager = property->propertyManager();
    auto managerIt = m_managerToProperties.find(manager);
    if (managerIt == m_managerToProperties.end()) {
        connectManager(manager, true);
        managerIt = m_managerToProperties.insert(manager, QSet<PbProperty *>());
    }
    managerIt->insert(property);
    m_propertyToParents[property].append(parentProperty);

    const QList<PbProperty *> children = property->subProperties();
    for (PbProperty *child : children)
        insertSubTree(child, property);
}

void PbAbstractPropertyBrowserPrivate::removeSubTree(PbProperty *property, PbProperty *parentProperty)
{
    const auto parentsIt = m_propertyToParents.find(property);
    if (parentsIt == m_propertyToParents.end())
        return;
    parentsIt->removeAll(parentProperty);
    if (!parentsIt->isEmpty())
        return;
    m_propertyToParents.erase(parentsIt);

    PbAbstractPropertyManager *manager = property->propertyManager();
    const auto managerIt = m_managerToProperties.find(manager);
    if (managerIt != m_managerToProperties.end()) {
        managerIt->remove(property);
        if (managerIt->isEmpty()) {
            connectManager(manager, false);
            m_managerToProperties.erase(managerIt);
        }
    }

    const QList<PbProperty *> children = property->subProperties();
    for (PbProperty *child : children)
        removeSubTree(child, property);
}

void PbAbstractPropertyBrowserPrivate::createBrowserIndexes(PbProperty *property, PbProperty *parentProperty,
                                                            PbProperty *afterProperty)
{
    QList<QPair<PbBrowserItem *, PbBrowserItem *>> places;  // (parent item, after item)
    if (!afterProperty) {
        if (!parentProperty) {
            places.append(qMakePair<PbBrowserItem *, PbBrowserItem *>(nullptr, nullptr));
        } else {
            const QList<PbBrowserItem *> parentItems = m_propertyToIndexes.value(parentProperty);
            for (PbBrowserItem *parentItem : parentItems)
                places.append(qMakePair<PbBrowserItem *, PbBrowserItem *>(parentItem, nullptr));
        }
    } else {
        const QList<PbBrowserItem *> afterItems = m_propertyToIndexes.value(afterProperty);
        for (PbBrowserItem *afterItem : afterItems) {
            PbBrowserItem *parentItem = afterItem->parent();
            const bool samePlace = parentProperty ? (parentItem && parentItem->property() == parentProperty)
                                                  : !parentItem;
            if (samePlace)
                places.append(qMakePair(parentItem, afterItem));
        }
    }
    for (const auto &place : qAsConst(places))
        createBrowserIndex(property, place.first, place.second);
}

PbBrowserItem *PbAbstractPropertyBrowserPrivate::createBrowserIndex(PbProperty *property, PbBrowserItem *parentItem,
                                                                    PbBrowserItem *afterItem)
{
    auto *item = new PbBrowserItem(q_ptr, property, parentItem);
    if (parentItem) {
        parentItem->d_ptr->addChild(item, afterItem);
    } else {
        m_topLevelPropertyToIndex[property] = item;
        m_topLevelIndexes.insert(indexNearEnds(m_topLevelIndexes, afterItem) + 1, item);
    }
    m_propertyToIndexes[property].append(item);

    q_ptr->itemInserted(item, afterItem);

    PbBrowserItem *previous = nullptr;
    const QList<PbProperty *> children = property->subProperties();
    for (PbProperty *child : children)
        previous = createBrowserIndex(child, item, previous);
    return item;
}

void PbAbstractPropertyBrowserPrivate::removeBrowserIndexes(PbProperty *property, PbProperty *parentProperty)
{
    QList<PbBrowserItem *> toRemove;
    const QList<PbBrowserItem *> items = m_propertyToIndexes.value(property);
    for (PbBrowserItem *item : items) {
        PbBrowserItem *parentItem = item->parent();
        const bool samePlace = parentProperty ? (parentItem && parentItem->property() == parentProperty) : !parentItem;
        if (samePlace)
            toRemove.append(item);
    }
    for (PbBrowserItem *item : qAsConst(toRemove))
        removeBrowserIndex(item);
}

void PbAbstractPropertyBrowserPrivate::removeBrowserIndex(PbBrowserItem *item)
{
    PbBrowserItemPrivate::markRemoving(item);
    const QList<PbBrowserItem *> children = item->children();
    for (int i = children.size() - 1; i >= 0; --i)
        removeBrowserIndex(children.at(i));

    q_ptr->itemRemoved(item);

    PbProperty *property = item->property();
    if (PbBrowserItem *parentItem = item->parent()) {
        parentItem->d_ptr->removeChild(item);
    } else {
        m_topLevelPropertyToIndex.remove(property);
        const int idx = indexNearEnds(m_topLevelIndexes, item);
        if (idx >= 0)
            m_topLevelIndexes.removeAt(idx);
    }
    const auto itemsIt = m_propertyToIndexes.find(property);
    if (itemsIt != m_propertyToIndexes.end()) {
        itemsIt->removeAll(item);
        if (itemsIt->isEmpty())
            m_propertyToIndexes.erase(itemsIt);
    }
    // The current item is left to the concrete browser, which resets it when
    // its row goes; a stale pointer here would outlive the item.
    if (m_currentItem == item)
        m_currentItem = nullptr;
    delete item;
}

void PbAbstractPropertyBrowserPrivate::deleteItemTree(PbBrowserItem *item)
{
    const QList<PbBrowserItem *> children = item->children();
    for (PbBrowserItem *child : children)
        deleteItemTree(child);
    delete item;
}

PbAbstractPropertyBrowser::PbAbstractPropertyBrowser(QWidget *parent)
    : QWidget(parent), d_ptr(new PbAbstractPropertyBrowserPrivate(this))
{
    static const int registered = qRegisterMetaType<PbBrowserItem *>("PbBrowserItem*");
    Q_UNUSED(registered);
}

PbAbstractPropertyBrowser::~PbAbstractPropertyBrowser()
{
    // The concrete browser is gone already: no itemRemoved calls here.
    const QList<PbBrowserItem *> topItems = d_ptr->m_topLevelIndexes;
    for (PbBrowserItem *item : topItems)
        d_ptr->deleteItemTree(item);
    delete d_ptr;
}

QList<PbProperty *> PbAbstractPropertyBrowser::properties() const { return d_ptr->m_subItems; }

QList<PbBrowserItem *> PbAbstractPropertyBrowser::items(PbProperty *property) const
{
    return d_ptr->m_propertyToIndexes.value(property);
}

PbBrowserItem *PbAbstractPropertyBrowser::topLevelItem(PbProperty *property) const
{
    return d_ptr->m_topLevelPropertyToIndex.value(property, nullptr);
}

QList<PbBrowserItem *> PbAbstractPropertyBrowser::topLevelItems() const { return d_ptr->m_topLevelIndexes; }

void PbAbstractPropertyBrowser::clear()
{
    const QList<PbProperty *> subList = properties();
    for (int i = subList.size() - 1; i >= 0; --i)
        removeProperty(subList.at(i));
}

PbBrowserItem *PbAbstractPropertyBrowser::addProperty(PbProperty *property)
{
    PbProperty *afterProperty = d_ptr->m_subItems.isEmpty() ? nullptr : d_ptr->m_subItems.last();
    return insertProperty(property, afterProperty);
}

PbBrowserItem *PbAbstractPropertyBrowser::insertProperty(PbProperty *property, PbProperty *afterProperty)
{
    if (!property)
        return nullptr;
    int pos = 0;
    int newPos = 0;
    PbProperty *properAfter = nullptr;
    for (PbProperty *existing : qAsConst(d_ptr->m_subItems)) {
        if (existing == property)
            return nullptr;
        if (existing == afterProperty) {
            newPos = pos + 1;
            properAfter = existing;
        }
        ++pos;
    }
    // An after property that is not top-level here puts the property first;
    // taking it at its word would register the property with no item at all.
    d_ptr->createBrowserIndexes(property, nullptr, properAfter);
    d_ptr->insertSubTree(property, nullptr);
    d_ptr->m_subItems.insert(newPos, property);
    return topLevelItem(property);
}

void PbAbstractPropertyBrowser::removeProperty(PbProperty *property)
{
    if (!property)
        return;
    const int pos = indexNearEnds(d_ptr->m_subItems, property);
    if (pos < 0)
        return;
    d_ptr->m_subItems.removeAt(pos);
    d_ptr->removeSubTree(property, nullptr);
    d_ptr->removeBrowserIndexes(property, nullptr);
}

PbBrowserItem *PbAbstractPropertyBrowser::currentItem() const { return d_ptr->m_currentItem; }

void PbAbstractPropertyBrowser::setCurrentItem(PbBrowserItem *item)
{
    if (d_ptr->m_currentItem == item)
        return;
    d_ptr->m_currentItem = item;
    Q_EMIT currentItemChanged(item);
}

bool PbAbstractPropertyBrowser::addFactory(PbAbstractPropertyManager *manager, PbAbstractEditorFactoryBase *factory)
{
    PbFactoryRegistry *registry = PbFactoryRegistry::instance();
    return registry && manager && factory && registry->addFactory(this, manager, factory);
}

void PbAbstractPropertyBrowser::unsetFactoryForManager(PbAbstractPropertyManager *manager)
{
    if (PbFactoryRegistry *registry = PbFactoryRegistry::instance())
        registry->unsetFactoryForManager(this, manager);
}

QWidget *PbAbstractPropertyBrowser::createEditor(PbProperty *property, QWidget *parent)
{
    PbFactoryRegistry *registry = PbFactoryRegistry::instance();
    if (!property || !registry)
        return nullptr;
    PbAbstractEditorFactoryBase *factory = registry->factoryFor(this, property->propertyManager());
    return factory ? factory->createEditor(property, parent) : nullptr;
}

void PbAbstractPropertyBrowser::slotPropertyInserted(PbProperty *property, PbProperty *parent, PbProperty *after)
{
    if (!d_ptr->m_propertyToParents.contains(parent))
        return;
    d_ptr->createBrowserIndexes(property, parent, after);
    d_ptr->insertSubTree(property, parent);
}

void PbAbstractPropertyBrowser::slotPropertyRemoved(PbProperty *property, PbProperty *parent)
{
    if (!d_ptr->m_propertyToParents.contains(parent))
        return;
    d_ptr->removeSubTree(property, parent);
    d_ptr->removeBrowserIndexes(property, parent);
}

void PbAbstractPropertyBrowser::slotPropertyDestroyed(PbProperty *property)
{
    if (d_ptr->m_subItems.contains(property))
        removeProperty(property);
}

void PbAbstractPropertyBrowser::slotPropertyDataChanged(PbProperty *property)
{
    if (!d_ptr->m_propertyToParents.contains(property))
        return;
    const auto itemsIt = d_ptr->m_propertyToIndexes.constFind(property);
    if (itemsIt == d_ptr->m_propertyToIndexes.constEnd())
        return;
    const QList<PbBrowserItem *> items = *itemsIt;
    for (PbBrowserItem *item : items)
        itemChanged(item);
}
