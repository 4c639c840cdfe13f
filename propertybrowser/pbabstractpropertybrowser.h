// Widget base of every property browser: keeps one item per place at which a
// property shows, in step with the managers' signals, tells the concrete
// browser what to draw, and binds managers to editor factories per browser.
#pragma once

#include "propertybrowser/pbabstracteditorfactory.h"

#include <QList>
#include <QWidget>

class PbAbstractPropertyBrowserPrivate;
class PbAbstractPropertyManager;
class PbBrowserItem;
class PbProperty;

class PbAbstractPropertyBrowser : public QWidget
{
    Q_OBJECT
public:
    explicit PbAbstractPropertyBrowser(QWidget *parent = nullptr);
    /// Deletes every item without calling itemRemoved.
    ~PbAbstractPropertyBrowser() override;

    /// The top-level properties in order (a copy).
    QList<PbProperty *> properties() const;
    /// Every item that shows `property`; empty when none.
    QList<PbBrowserItem *> items(PbProperty *property) const;
    /// The top-level item of `property`; null when it is not top-level here.
    PbBrowserItem *topLevelItem(PbProperty *property) const;
    /// The top-level items in display order (a copy).
    QList<PbBrowserItem *> topLevelItems() const;
    /// Removes every top-level property, from the last to the first.
    void clear();

    PbBrowserItem *currentItem() const;
    /// Stores the item; announces currentItemChanged when it differs.
    void setCurrentItem(PbBrowserItem *item);

    /// Binds `manager` to `factory` in this browser, replacing an earlier
    /// binding; the factory starts serving the manager when no browser had
    /// bound that pair before.
    template <class PropertyManager>
    void setFactoryForManager(PropertyManager *manager,
                              PbAbstractEditorFactory<PropertyManager> *factory)
    {
        if (!manager || !factory)
            return;
        if (addFactory(manager, factory))
            factory->addPropertyManager(manager);
    }
    /// Drops this browser's binding for `manager`; the factory stops serving
    /// the manager when no browser binds the pair any more.
    void unsetFactoryForManager(PbAbstractPropertyManager *manager);

    /// An editor from the factory bound to the property's manager in this
    /// browser, or null when none is bound.
    virtual QWidget *createEditor(PbProperty *property, QWidget *parent);

Q_SIGNALS:
    void currentItemChanged(PbBrowserItem *current);

public Q_SLOTS:
    /// Shows `property` behind the last top-level property; null when refused.
    PbBrowserItem *addProperty(PbProperty *property);
    /// Shows `property` at the top level behind `afterProperty` (first when
    /// that is null); null for a null or already shown top-level property.
    PbBrowserItem *insertProperty(PbProperty *property, PbProperty *afterProperty);
    /// Removes a top-level property and its items; others are left alone.
    void removeProperty(PbProperty *property);

protected:
    /// An item was made; `afterItem` is its preceding sibling or null.
    virtual void itemInserted(PbBrowserItem *item, PbBrowserItem *afterItem) = 0;
    /// An item goes; it is still linked to its parent during the call.
    virtual void itemRemoved(PbBrowserItem *item) = 0;
    /// The item's property changed; refresh the row.
    virtual void itemChanged(PbBrowserItem *item) = 0;

    /// Registers the binding; true when the factory must start serving the manager.
    bool addFactory(PbAbstractPropertyManager *manager, PbAbstractEditorFactoryBase *factory);

private Q_SLOTS:
    void slotPropertyInserted(PbProperty *property, PbProperty *parent, PbProperty *after);
    void slotPropertyRemoved(PbProperty *property, PbProperty *parent);
    void slotPropertyDestroyed(PbProperty *property);
    void slotPropertyDataChanged(PbProperty *property);

private:
    Q_DISABLE_COPY(PbAbstractPropertyBrowser)
    PbAbstractPropertyBrowserPrivate *d_ptr;
    friend class PbAbstractPropertyBrowserPrivate;
};
