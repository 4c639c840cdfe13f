// Property browser that lays properties out as grid rows (name in column 0,
// editor or value text in column 1); a property with sub-properties becomes
// a group box titled with its name that always shows them.
#ifndef PBGROUPBOXPROPERTYBROWSER_H
#define PBGROUPBOXPROPERTYBROWSER_H

#include "propertybrowser/pbabstractpropertybrowser.h"

class PbGroupBoxPropertyBrowserPrivate;

class PbGroupBoxPropertyBrowser : public PbAbstractPropertyBrowser
{
    Q_OBJECT
public:
    explicit PbGroupBoxPropertyBrowser(QWidget *parent = nullptr);
    ~PbGroupBoxPropertyBrowser() override;

protected:
    void itemInserted(PbBrowserItem *item, PbBrowserItem *afterItem) override;
    void itemRemoved(PbBrowserItem *item) override;
    void itemChanged(PbBrowserItem *item) override;

private Q_SLOTS:
    void slotUpdate();
    void slotEditorDestroyed();

private:
    Q_DISABLE_COPY(PbGroupBoxPropertyBrowser)
    PbGroupBoxPropertyBrowserPrivate *d_ptr;
    friend class PbGroupBoxPropertyBrowserPrivate;
};

#endif
