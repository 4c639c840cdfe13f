// Private part of the tree browser: the two-way mapping between browser items
// and tree rows, row refresh, enabling and colours. The view and the delegate
// reach the browser through it.
#ifndef PBTREEPROPERTYBROWSER_P_H
#define PBTREEPROPERTYBROWSER_P_H

#include "propertybrowser/pbrowexpansion_p.h"
#include "propertybrowser/pbtreepropertybrowser.h"

#include <QHash>
#include <QIcon>
#include <QSet>

class PbPropertyEditorDelegate;
class PbPropertyEditorView;

class PbTreePropertyBrowserPrivate
{
public:
    explicit PbTreePropertyBrowserPrivate(PbTreePropertyBrowser *q) : q_ptr(q) {}

    void init(QWidget *parent);

    void propertyInserted(PbBrowserItem *item, PbBrowserItem *afterItem);
    void propertyRemoved(PbBrowserItem *item);
    void propertyChanged(PbBrowserItem *item);

    QWidget *createEditor(PbProperty *property, QWidget *parent) const;
    PbProperty *indexToProperty(const QModelIndex &index) const;
    QTreeWidgetItem *indexToItem(const QModelIndex &index) const;
    PbBrowserItem *indexToBrowserItem(const QModelIndex &index) const;
    PbBrowserItem *rowToBrowserItem(QTreeWidgetItem *row) const { return m_rowToBrowserItem.value(row, nullptr); }
    QTreeWidgetItem *browserItemToRow(PbBrowserItem *item) const { return m_browserItemToRow.value(item, nullptr); }
    /// True when `column` is shown last.
    bool lastColumn(int column) const;
    /// True unless the row's property exists and has no value.
    bool hasValue(QTreeWidgetItem *row) const;
    bool markPropertiesWithoutValue() const { return m_markPropertiesWithoutValue; }
    QColor calculatedBackgroundColor(PbBrowserItem *item) const;
    /// The row whose value editor is open, null when none.
    QTreeWidgetItem *editedItem() const;
    const QIcon &expandIcon() const { return m_expandIcon; }

    bool isRowExpanded(QTreeWidgetItem *row) const { return m_expansion.isExpanded(row); }
    /// Expands or collapses a row; the browser reports the change.
    void setRowExpanded(QTreeWidgetItem *row, bool expanded);
    void reportExpansion(QTreeWidgetItem *row, bool expanded);

    void updateItem(QTreeWidgetItem *row);
    void disableItem(QTreeWidgetItem *row) const;
    void enableItem(QTreeWidgetItem *row) const;
    /// Refreshes the rows of every property without value.
    void refreshRowsWithoutValue();
    /// The last column stretches only while no width was set for it.
    void updateLastSectionStretch();

    PbTreePropertyBrowser *q_ptr;
    QHash<PbBrowserItem *, QTreeWidgetItem *> m_browserItemToRow;
    QHash<QTreeWidgetItem *, PbBrowserItem *> m_rowToBrowserItem;
    QHash<PbBrowserItem *, QColor> m_indexToBackgroundColor;
    PbPropertyEditorView *m_treeWidget = nullptr;
    bool m_headerVisible = true;
    int m_resizeMode = PbTreePropertyBrowser::Stretch;
    PbPropertyEditorDelegate *m_delegate = nullptr;
    bool m_markPropertiesWithoutValue = false;
    bool m_browserChangedBlocked = false;
    QIcon m_expandIcon;
    PbRowExpansion m_expansion;
    // Columns whose width was set with setSplitterPosition.
    QSet<int> m_sizedColumns;
};

#endif
