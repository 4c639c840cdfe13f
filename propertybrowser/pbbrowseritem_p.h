// Private part of PbBrowserItem: its place in one browser's item tree.
#pragma once

#include "propertybrowser/pbbrowseritem.h"
#include "propertybrowser/pblistindex_p.h"

class PbBrowserItemPrivate
{
public:
    PbBrowserItemPrivate(PbAbstractPropertyBrowser *browser, PbProperty *property, PbBrowserItem *parent)
        : m_browser(browser), m_property(property), m_parent(parent), q_ptr(nullptr)
    {
    }

    /// Inserts the new item `item` behind `after` (first when that is null
    /// or no child).
    void addChild(PbBrowserItem *item, PbBrowserItem *after)
    {
        const int idx = after ? indexNearEnds(m_children, after) + 1 : 0;
        m_children.insert(idx, item);
    }

    /// A child is in the list once at most.
    void removeChild(PbBrowserItem *item)
    {
        const int idx = indexNearEnds(m_children, item);
        if (idx >= 0)
            m_children.removeAt(idx);
    }

    /// Marks `item` as going with its whole subtree; its browser is told of
    /// the children first, and may leave their rows to the item's own.
    static void markRemoving(PbBrowserItem *item) { item->d_ptr->m_removing = true; }
    /// True while `item` (not null) and its subtree are being removed.
    static bool isRemoving(const PbBrowserItem *item) { return item->d_ptr->m_removing; }

    PbAbstractPropertyBrowser *const m_browser;
    PbProperty *m_property;
    PbBrowserItem *m_parent;
    PbBrowserItem *q_ptr;
    QList<PbBrowserItem *> m_children;
    bool m_removing = false;
};
