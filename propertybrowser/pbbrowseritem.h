// One appearance of one property in one browser. A property that is the child
// of two shown parents, or is shown by two browsers, has one item per place.
#pragma once

#include <QList>
#include <QMetaType>

class PbAbstractPropertyBrowser;
class PbBrowserItemPrivate;
class PbProperty;

class PbBrowserItem
{
public:
    PbProperty *property() const;
    /// The parent item; null for a top-level item.
    PbBrowserItem *parent() const;
    /// The child items in display order (a copy).
    QList<PbBrowserItem *> children() const;
    PbAbstractPropertyBrowser *browser() const;

private:
    // Items are created and deleted only by their browser.
    PbBrowserItem(PbAbstractPropertyBrowser *browser, PbProperty *property, PbBrowserItem *parent);
    ~PbBrowserItem();
    Q_DISABLE_COPY(PbBrowserItem)
    PbBrowserItemPrivate *d_ptr;
    friend class PbBrowserItemPrivate;
    friend class PbAbstractPropertyBrowserPrivate;
};

Q_DECLARE_METATYPE(PbBrowserItem *)
