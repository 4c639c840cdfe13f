// Property browser that shows properties as rows of a tree: name with a check
// box in column 0, value (and its in-place editor) in column 1, and the
// properties' extra texts in the columns behind.
#ifndef PBTREEPROPERTYBROWSER_H
#define PBTREEPROPERTYBROWSER_H

#include "propertybrowser/pbabstractpropertybrowser.h"

#include <QColor>

class PbTreePropertyBrowserPrivate;
class QModelIndex;
class QTreeWidgetItem;

class PbTreePropertyBrowser : public PbAbstractPropertyBrowser
{
    Q_OBJECT
    Q_PROPERTY(int indentation READ indentation WRITE setIndentation)
    Q_PROPERTY(bool rootIsDecorated READ rootIsDecorated WRITE setRootIsDecorated)
    Q_PROPERTY(bool alternatingRowColors READ alternatingRowColors WRITE setAlternatingRowColors)
    Q_PROPERTY(bool headerVisible READ isHeaderVisible WRITE setHeaderVisible)
    Q_PROPERTY(ResizeMode resizeMode READ resizeMode WRITE setResizeMode)
    Q_PROPERTY(bool propertiesWithoutValueMarked READ propertiesWithoutValueMarked
                   WRITE setPropertiesWithoutValueMarked)
public:
    /// How the columns share the width; the numbers of the header's modes.
    enum ResizeMode { Interactive, Stretch, Fixed, ResizeToContents };
    Q_ENUM(ResizeMode)

    explicit PbTreePropertyBrowser(QWidget *parent = nullptr);
    ~PbTreePropertyBrowser() override;

    int indentation() const;
    void setIndentation(int i);
    bool rootIsDecorated() const;
    /// Also refreshes the rows of properties without value.
    void setRootIsDecorated(bool show);
    bool alternatingRowColors() const;
    void setAlternatingRowColors(bool enable);
    bool isHeaderVisible() const;
    void setHeaderVisible(bool visible);
    ResizeMode resizeMode() const;
    /// Applies the mode to every column; a value outside the enum stretches.
    void setResizeMode(ResizeMode mode);
    bool propertiesWithoutValueMarked() const;
    /// Group rows get a dark background and a branch icon in column 0.
    void setPropertiesWithoutValueMarked(bool mark);

    /// Width in pixels of column `column`.
    int splitterPosition(int column) const;
    /// Sets column `column` to `width` pixels. A width set for the last
    /// column stops it from stretching to the view's edge, so that every
    /// width set here holds whatever the view's width.
    void setSplitterPosition(int column, int width);

    void setExpanded(PbBrowserItem *item, bool expanded);
    /// False for an item without a row.
    bool isExpanded(PbBrowserItem *item) const;
    /// Sets column 0's check state; does not propagate.
    void setCheckState(PbBrowserItem *item, Qt::CheckState state);
    /// Unchecked for an item without a row.
    Qt::CheckState checkState(PbBrowserItem *item) const;
    /// False for an item without a row.
    bool isItemVisible(PbBrowserItem *item) const;
    void setItemVisible(PbBrowserItem *item, bool visible);
    /// A valid colour is stored for the item's row, an invalid one removes it.
    void setBackgroundColor(PbBrowserItem *item, const QColor &color);
    QColor backgroundColor(PbBrowserItem *item) const;
    /// The item's colour, else the nearest ancestor's; invalid when none.
    QColor calculatedBackgroundColor(PbBrowserItem *item) const;
    /// Makes the row current in column 1 and opens its value editor.
    void editItem(PbBrowserItem *item);
    /// Closes (deferred) the value editor open for `property`, if any.
    void closeEditor(PbProperty *property);
    /// Columns behind "Параметр" and "Значение", with these header labels.
    void setExtraColumns(const QStringList &labels);
    /// Scrolls the view's kinetic scroller to y = a - b.
    void scrollTo(int a, int b);
    void setViewFlag();

Q_SIGNALS:
    void collapsed(PbBrowserItem *item);
    void expanded(PbBrowserItem *item);
    void scrolled(int a, int b);

protected:
    void itemInserted(PbBrowserItem *item, PbBrowserItem *afterItem) override;
    void itemRemoved(PbBrowserItem *item) override;
    void itemChanged(PbBrowserItem *item) override;

private Q_SLOTS:
    void slotScrolled(int a, int b);
    void slotCollapsed(const QModelIndex &index);
    void slotExpanded(const QModelIndex &index);
    void slotCurrentBrowserItemChanged(PbBrowserItem *item);
    void slotCurrentTreeItemChanged(QTreeWidgetItem *current, QTreeWidgetItem *previous);

private:
    Q_DISABLE_COPY(PbTreePropertyBrowser)
    PbTreePropertyBrowserPrivate *d_ptr;
    friend class PbTreePropertyBrowserPrivate;
};

#endif
