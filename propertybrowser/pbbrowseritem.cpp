// Browser items: plain handles on one place of a property in one browser.
#include "propertybrowser/pbbrowseritem.h"

#include "propertybrowser/pbbrowseritem_p.h"

PbBrowserItem::PbBrowserItem(PbAbstractPropertyBrowser *browser, PbProperty *property, PbBrowserItem *parent)
    : d_ptr(new PbBrowserItemPrivate(browser, property, parent))
{
    d_ptr->q_ptr = this;
}

PbBrowserItem::~PbBrowserItem() { delete d_ptr; }

PbProperty *PbBrowserItem::property() const { return d_ptr->m_property; }
PbBrowserItem *PbBrowserItem::parent() const { return d_ptr->m_parent; }
QList<PbBrowserItem *> PbBrowserItem::children() const { return d_ptr->m_children; }
PbAbstractPropertyBrowser *PbBrowserItem::browser() const { return d_ptr->m_browser; }
