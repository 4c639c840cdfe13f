// Private part of the tree browser: rows for browser items, their refresh,
// enabled state and colours.
#include "propertybrowser/pbtreepropertybrowser_p.h"

#include "propertybrowser/pbbrowseritem.h"
#include "propertybrowser/pbbrowseritem_p.h"
#include "propertybrowser/pbproperty.h"
#include "propertybrowser/pbpropertyeditordelegate_p.h"
#include "propertybrowser/pbpropertyeditorview_p.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QStyleOption>

// The branch indicator drawn closed and open, for group rows in column 0.
static QIcon drawExpandIcon(QWidget *widget)
{
    QPixmap pix(14, 14);
    QStyleOption branchOption;
    branchOption.rect = QRect(2, 2, 9, 9);
    branchOption.palette = widget->palette();
    branchOption.state = QStyle::State_Children;
    QIcon icon;
    for (bool open : {false, true}) {
        pix.fill(Qt::transparent);
        if (open)
            branchOption.state |= QStyle::State_Open;
        QPainter p(&pix);
        widget->style()->drawPrimitive(QStyle::PE_IndicatorBranch, &branchOption, &p);
        p.end();
        if (open) {
            icon.addPixmap(pix, QIcon::Normal, QIcon::On);
            icon.addPixmap(pix, QIcon::Selected, QIcon::On);
        } else {
            icon = QIcon(pix);
            icon.addPixmap(pix, QIcon::Selected, QIcon::Off);
        }
    }
    return icon;
}

void PbTreePropertyBrowserPrivate::init(QWidget *parent)
{
    auto *layout = new QHBoxLayout(parent);
    layout->setContentsMargins(0, 0, 0, 0);
    m_treeWidget = new PbPropertyEditorView(parent);
    m_treeWidget->setEditorPrivate(this);
    m_expansion.setView(m_treeWidget);
    m_treeWidget->setIconSize(QSize(18, 18));
    // Rows are measured once, not on every change of every row.
    m_treeWidget->setUniformRowHeights(true);
    layout->addWidget(m_treeWidget);
    parent->setFocusProxy(m_treeWidget);

    m_treeWidget->setColumnCount(2);
    m_treeWidget->setHeaderLabels({QCoreApplication::translate("PbTreePropertyBrowser", "Параметр"),
                                   QCoreApplication::translate("PbTreePropertyBrowser", "Значение")});
    m_treeWidget->setAlternatingRowColors(true);
    m_treeWidget->setEditTriggers(QAbstractItemView::EditKeyPressed);
    m_delegate = new PbPropertyEditorDelegate(parent);
    m_delegate->setEditorPrivate(this);
    m_treeWidget->setItemDelegate(m_delegate);
    m_treeWidget->header()->setSectionsMovable(false);
    m_treeWidget->header()->setSectionResizeMode(QHeaderView::Stretch);
    updateLastSectionStretch();

    m_expandIcon = drawExpandIcon(parent);

    QObject::connect(m_treeWidget->header(), SIGNAL(sectionDoubleClicked(int)), m_treeWidget,
                     SLOT(resizeColumnToContents(int)));
    QObject::connect(m_treeWidget, SIGNAL(itemClicked(QTreeWidgetItem*,int)), m_treeWidget,
                     SLOT(checkChanged(QTreeWidgetItem*,int)));
    // A box toggled by a click that Qt does not report as one (the click
    // that closes an open editor) or by the keyboard must propagate too.
    QObject::connect(m_treeWidget, SIGNAL(itemChanged(QTreeWidgetItem*,int)), m_treeWidget,
                     SLOT(checkChanged(QTreeWidgetItem*,int)));
    QObject::connect(m_treeWidget, SIGNAL(collapsed(const QModelIndex &)), q_ptr,
                     SLOT(slotCollapsed(const QModelIndex &)));
    QObject::connect(m_treeWidget, SIGNAL(expanded(const QModelIndex &)), q_ptr,
                     SLOT(slotExpanded(const QModelIndex &)));
    QObject::connect(m_treeWidget, SIGNAL(currentItemChanged(QTreeWidgetItem*,QTreeWidgetItem*)), q_ptr,
                     SLOT(slotCurrentTreeItemChanged(QTreeWidgetItem*,QTreeWidgetItem*)));
    QObject::connect(m_treeWidget, SIGNAL(scrolled(int, int)), q_ptr, SLOT(slotScrolled(int, int)));
}

QWidget *PbTreePropertyBrowserPrivate::createEditor(PbProperty *property, QWidget *parent) const
{
    return q_ptr->createEditor(property, parent);
}

QTreeWidgetItem *PbTreePropertyBrowserPrivate::indexToItem(const QModelIndex &index) const
{
    return m_treeWidget->indexToItem(index);
}

PbBrowserItem *PbTreePropertyBrowserPrivate::indexToBrowserItem(const QModelIndex &index) const
{
    return rowToBrowserItem(indexToItem(index));
}

PbProperty *PbTreePropertyBrowserPrivate::indexToProperty(const QModelIndex &index) const
{
    PbBrowserItem *item = indexToBrowserItem(index);
    return item ? item->property() : nullptr;
}

bool PbTreePropertyBrowserPrivate::lastColumn(int column) const
{
    return m_treeWidget->header()->visualIndex(column) == m_treeWidget->columnCount() - 1;
}

bool PbTreePropertyBrowserPrivate::hasValue(QTreeWidgetItem *row) const
{
    PbBrowserItem *item = rowToBrowserItem(row);
    return !item || item->property()->hasValue();
}

QTreeWidgetItem *PbTreePropertyBrowserPrivate::editedItem() const
{
    return m_delegate->editedItem();
}

QColor PbTreePropertyBrowserPrivate::calculatedBackgroundColor(PbBrowserItem *item) const
{
    for (PbBrowserItem *i = item; i; i = i->parent()) {
        const auto it = m_indexToBackgroundColor.constFind(i);
        if (it != m_indexToBackgroundColor.constEnd())
            return it.value();
    }
    return QColor();
}

void PbTreePropertyBrowserPrivate::propertyInserted(PbBrowserItem *item, PbBrowserItem *afterItem)
{
    QTreeWidgetItem *afterRow = browserItemToRow(afterItem);
    QTreeWidgetItem *parentRow = browserItemToRow(item->parent());
    QTreeWidgetItem *row = parentRow ? new QTreeWidgetItem(parentRow, afterRow)
                                     : new QTreeWidgetItem(m_treeWidget, afterRow);
    row->setFlags(Qt::ItemIsUserCheckable);
    m_treeWidget->setRowCheckState(row, Qt::Unchecked);
    m_rowToBrowserItem[row] = item;
    m_browserItemToRow[item] = row;
    row->setFlags(row->flags() | Qt::ItemIsEditable);
    // Every new row is expanded, a leaf too, and reported once; a leaf that
    // gets children later shows them at once.
    m_expansion.rowInserted(row);
    reportExpansion(row, true);
    updateItem(row);
}

void PbTreePropertyBrowserPrivate::propertyRemoved(PbBrowserItem *item)
{
    QTreeWidgetItem *row = browserItemToRow(item);
    if (!row)
        return;
    if (m_treeWidget->currentItem() == row)
        m_treeWidget->setCurrentItem(nullptr);
    m_delegate->rowRemoved(row);
    // Children are removed before their parent. A row whose parent goes too
    // is left to the parent row, which takes its whole subtree out of the
    // model in one step: the model walks every persistent index (one per
    // expanded row with children) on each removal, so removing a large
    // subtree row by row would grow with the square of its size.
    PbBrowserItem *parentItem = item->parent();
    if (!parentItem || !PbBrowserItemPrivate::isRemoving(parentItem))
        m_expansion.deleteRow(row);
    else
        m_expansion.forget(row);
    m_browserItemToRow.remove(item);
    m_rowToBrowserItem.remove(row);
    m_indexToBackgroundColor.remove(item);
}

void PbTreePropertyBrowserPrivate::propertyChanged(PbBrowserItem *item)
{
    if (QTreeWidgetItem *row = browserItemToRow(item))
        updateItem(row);
}

void PbTreePropertyBrowserPrivate::setRowExpanded(QTreeWidgetItem *row, bool expanded)
{
    if (m_expansion.setExpanded(row, expanded))
        reportExpansion(row, expanded);
}

void PbTreePropertyBrowserPrivate::reportExpansion(QTreeWidgetItem *row, bool expanded)
{
    PbBrowserItem *item = rowToBrowserItem(row);
    if (expanded)
        Q_EMIT q_ptr->expanded(item);
    else
        Q_EMIT q_ptr->collapsed(item);
}

// Each change of a row's data makes the view re-measure the row; a refresh
// therefore touches only what really changed. An empty text is still stored
// when the row lacks the column: a value row needs its value column, or the
// keyboard cannot open the editor of an empty text.
static void setRowText(QTreeWidgetItem *row, int column, int role, const QString &text)
{
    const QVariant old = row->data(column, role);
    if (old.isValid() ? old.toString() != text : (!text.isEmpty() || column >= row->columnCount()))
        row->setData(column, role, text);
}

static void setRowIcon(QTreeWidgetItem *row, int column, const QIcon &icon)
{
    if (row->icon(column).cacheKey() != icon.cacheKey())
        row->setIcon(column, icon);
}

void PbTreePropertyBrowserPrivate::updateItem(QTreeWidgetItem *row)
{
    PbProperty *property = rowToBrowserItem(row)->property();
    QIcon expandIcon;
    if (property->hasValue()) {
        QString toolTip = property->toolTip();
        if (toolTip.isEmpty())
            toolTip = property->displayText();
        setRowText(row, 1, Qt::ToolTipRole, toolTip);
        setRowIcon(row, 1, property->valueIcon());
        QString text = property->displayText();
        if (text.isEmpty())
            text = property->valueText();
        setRowText(row, 1, Qt::DisplayRole, text);
    } else if (m_markPropertiesWithoutValue && !m_treeWidget->rootIsDecorated()) {
        expandIcon = m_expandIcon;
    }
    setRowIcon(row, 0, expandIcon);
    const QString name = property->propertyName();
    setRowText(row, 0, Qt::ToolTipRole, name);
    setRowText(row, 0, Qt::StatusTipRole, property->statusTip());
    setRowText(row, 0, Qt::WhatsThisRole, property->whatsThis());
    setRowText(row, 0, Qt::DisplayRole, name);
    const QStringList texts = property->columnTexts();
    for (int i = 0; i < texts.size(); ++i)
        setRowText(row, i + 2, Qt::DisplayRole, texts.at(i));

    const bool wasEnabled = row->flags() & Qt::ItemIsEnabled;
    bool isEnabled = false;
    if (property->isEnabled()) {
        QTreeWidgetItem *parent = row->parent();
        isEnabled = !parent || (parent->flags() & Qt::ItemIsEnabled);
    }
    if (wasEnabled != isEnabled) {
        if (isEnabled)
            enableItem(row);
        else
            disableItem(row);
    }
    m_treeWidget->viewport()->update();
}

void PbTreePropertyBrowserPrivate::disableItem(QTreeWidgetItem *row) const
{
    // A row without item is one whose property is gone and which waits for
    // its parent row's removal.
    PbBrowserItem *item = rowToBrowserItem(row);
    if (!item || !(row->flags() & Qt::ItemIsEnabled))
        return;
    m_delegate->closeEditor(item->property());
    // Children first: clearing a row's flag makes the tree widget clear its
    // children's flags silently, and their editors would stay open.
    for (int i = 0; i < row->childCount(); ++i)
        disableItem(row->child(i));
    row->setFlags(row->flags() & ~Qt::ItemIsEnabled);
}

void PbTreePropertyBrowserPrivate::enableItem(QTreeWidgetItem *row) const
{
    row->setFlags(row->flags() | Qt::ItemIsEnabled);
    for (int i = 0; i < row->childCount(); ++i) {
        QTreeWidgetItem *child = row->child(i);
        PbBrowserItem *childItem = rowToBrowserItem(child);
        if (childItem && childItem->property()->isEnabled())
            enableItem(child);
    }
}

void PbTreePropertyBrowserPrivate::refreshRowsWithoutValue()
{
    for (auto it = m_rowToBrowserItem.cbegin(); it != m_rowToBrowserItem.cend(); ++it) {
        if (!it.value()->property()->hasValue())
            updateItem(it.key());
    }
}

void PbTreePropertyBrowserPrivate::updateLastSectionStretch()
{
    const int last = m_treeWidget->columnCount() - 1;
    m_treeWidget->header()->setStretchLastSection(!m_sizedColumns.contains(last));
}
