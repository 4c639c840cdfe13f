// Private part of PbAbstractPropertyBrowser: which properties it shows under
// which parents, which managers it listens to, and its item tree.
#pragma once

#include "propertybrowser/pbabstractpropertybrowser.h"

#include <QHash>
#include <QList>
#include <QSet>

class PbAbstractPropertyBrowserPrivate
{
public:
    explicit PbAbstractPropertyBrowserPrivate(PbAbstractPropertyBrowser *q) : q_ptr(q) {}

    void insertSubTree(PbProperty *property, PbProperty *parentProperty);
    void removeSubTree(PbProperty *property, PbProperty *parentProperty);
    void createBrowserIndexes(PbProperty *property, PbProperty *parentProperty, PbProperty *afterProperty);
    void removeBrowserIndexes(PbProperty *property, PbProperty *parentProperty);
    PbBrowserItem *createBrowserIndex(PbProperty *property, PbBrowserItem *parentItem, PbBrowserItem *afterItem);
    void removeBrowserIndex(PbBrowserItem *item);
    void deleteItemTree(PbBrowserItem *item);
    void connectManager(PbAbstractPropertyManager *manager, bool on);

    PbAbstractPropertyBrowser *q_ptr;
    QList<PbProperty *> m_subItems;  // the top-level properties
    // One set per manager suffices: a property enters it only on its first appearance.
    QHash<PbAbstractPropertyManager *, QSet<PbProperty *>> m_managerToProperties;
    QHash<PbProperty *, QList<PbProperty *>> m_propertyToParents;
    QHash<PbProperty *, PbBrowserItem *> m_topLevelPropertyToIndex;
    QList<PbBrowserItem *> m_topLevelIndexes;
    QHash<PbProperty *, QList<PbBrowserItem *>> m_propertyToIndexes;
    PbBrowserItem *m_currentItem = nullptr;
};
