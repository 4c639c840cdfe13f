// Property browser that lays properties out as grid rows: the name in column 0,
// the editor (or the value text) in column 1. A property with sub-properties
// shows a checkable button instead of its name; the button shows and hides a
// framed panel below it that holds the sub-properties.
#ifndef PBBUTTONPROPERTYBROWSER_H
#define PBBUTTONPROPERTYBROWSER_H

#include "propertybrowser/pbabstractpropertybrowser.h"

class PbButtonPropertyBrowserPrivate;

class PbButtonPropertyBrowser : public PbAbstractPropertyBrowser
{
    Q_OBJECT
public:
    explicit PbButtonPropertyBrowser(QWidget *parent = nullptr);
    ~PbButtonPropertyBrowser() override;

    /// Shows or hides the panel of the item's sub-properties; nothing for an
    /// item without sub-properties.
    void setExpanded(PbBrowserItem *item, bool expanded);
    bool isExpanded(PbBrowserItem *item) const;

Q_SIGNALS:
    void collapsed(PbBrowserItem *item);
    void expanded(PbBrowserItem *item);

protected:
    void itemInserted(PbBrowserItem *item, PbBrowserItem *afterItem) override;
    void itemRemoved(PbBrowserItem *item) override;
    void itemChanged(PbBrowserItem *item) override;

private Q_SLOTS:
    void slotUpdate();
    void slotEditorDestroyed();
    void slotToggled(bool checked);

private:
    Q_DISABLE_COPY(PbButtonPropertyBrowser)
    PbButtonPropertyBrowserPrivate *d_ptr;
    friend class PbButtonPropertyBrowserPrivate;
};

#endif
