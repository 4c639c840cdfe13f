// Private part of PbBrowserItem: its place in one browser's item tree.
#pragma once

#include "propertybrowser/pbbrowseritem.h"

class PbBrowserItemPrivate
{
public:
    PbBrowserItemPrivate(PbAbstractPropertyBrowser *browser, PbProperty *property, PbBrowserItem *parent)
        : m_browser(browser), m_property(property), m_parent(parent), q_ptr(nullptr)
    {
    }

    /// Inserts `item` behind `after` (first when that is null or no child);
    /// an item that is already a child stays where it is.
    void addChild(PbBrowserItem *item, PbBrowserItem *after)
    {
        if (m_children.contains(item))
            return;
        const int idx = after ? m_children.indexOf(after) + 1 : 0;
        m_children.insert(idx, item);
    }

    void removeChild(PbBrowserItem *item) { m_children.removeAll(item); }

    PbAbstractPropertyBrowser *const m_browser;
    PbProperty *m_property;
    PbBrowserItem *m_parent;
    PbBrowserItem *q_ptr;
    QList<PbBrowserItem *> m_children;
};
