// Tree property browser: the public face over the private part, the view and
// the delegate.
#include "propertybrowser/pbtreepropertybrowser.h"

#include "propertybrowser/pbbrowseritem.h"
#include "propertybrowser/pbproperty.h"
#include "propertybrowser/pbpropertyeditordelegate_p.h"
#include "propertybrowser/pbpropertyeditorview_p.h"
#include "propertybrowser/pbtreepropertybrowser_p.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QScroller>

PbTreePropertyBrowser::PbTreePropertyBrowser(QWidget *parent)
    : PbAbstractPropertyBrowser(parent), d_ptr(new PbTreePropertyBrowserPrivate(this))
{
    d_ptr->init(this);
    connect(this, SIGNAL(currentItemChanged(PbBrowserItem*)), this, SLOT(slotCurrentBrowserItemChanged(PbBrowserItem*)));
}

PbTreePropertyBrowser::~PbTreePropertyBrowser()
{
    // The view and the delegate outlive this part of the browser by a little
    // (they are child widgets): they must not reach the private part or the
    // browser's slots any more.
    d_ptr->m_treeWidget->disconnect(this);
    d_ptr->m_treeWidget->setEditorPrivate(nullptr);
    d_ptr->m_delegate->setEditorPrivate(nullptr);
    delete d_ptr;
}

int PbTreePropertyBrowser::indentation() const
{
    return d_ptr->m_treeWidget->indentation();
}

void PbTreePropertyBrowser::setIndentation(int i)
{
    d_ptr->m_treeWidget->setIndentation(i);
}

bool PbTreePropertyBrowser::rootIsDecorated() const
{
    return d_ptr->m_treeWidget->rootIsDecorated();
}

void PbTreePropertyBrowser::setRootIsDecorated(bool show)
{
    d_ptr->m_treeWidget->setRootIsDecorated(show);
    d_ptr->refreshRowsWithoutValue();
}

bool PbTreePropertyBrowser::alternatingRowColors() const
{
    return d_ptr->m_treeWidget->alternatingRowColors();
}

void PbTreePropertyBrowser::setAlternatingRowColors(bool enable)
{
    d_ptr->m_treeWidget->setAlternatingRowColors(enable);
}

bool PbTreePropertyBrowser::isHeaderVisible() const
{
    return d_ptr->m_headerVisible;
}

void PbTreePropertyBrowser::setHeaderVisible(bool visible)
{
    if (d_ptr->m_headerVisible == visible)
        return;
    d_ptr->m_headerVisible = visible;
    d_ptr->m_treeWidget->header()->setVisible(visible);
}

PbTreePropertyBrowser::ResizeMode PbTreePropertyBrowser::resizeMode() const
{
    return ResizeMode(d_ptr->m_resizeMode);
}

void PbTreePropertyBrowser::setResizeMode(ResizeMode mode)
{
    if (d_ptr->m_resizeMode == mode)
        return;
    d_ptr->m_resizeMode = mode;
    QHeaderView::ResizeMode m = QHeaderView::Stretch;
    switch (mode) {
    case Interactive:
        m = QHeaderView::Interactive;
        break;
    case Fixed:
        m = QHeaderView::Fixed;
        break;
    case ResizeToContents:
        m = QHeaderView::ResizeToContents;
        break;
    default:
        break;
    }
    d_ptr->m_treeWidget->header()->setSectionResizeMode(m);
}

bool PbTreePropertyBrowser::propertiesWithoutValueMarked() const
{
    return d_ptr->m_markPropertiesWithoutValue;
}

void PbTreePropertyBrowser::setPropertiesWithoutValueMarked(bool mark)
{
    if (d_ptr->m_markPropertiesWithoutValue == mark)
        return;
    d_ptr->m_markPropertiesWithoutValue = mark;
    d_ptr->refreshRowsWithoutValue();
    d_ptr->m_treeWidget->viewport()->update();
}

int PbTreePropertyBrowser::splitterPosition(int column) const
{
    return d_ptr->m_treeWidget->header()->sectionSize(column);
}

void PbTreePropertyBrowser::setSplitterPosition(int column, int width)
{
    if (column < 0 || column >= d_ptr->m_treeWidget->columnCount())
        return;
    d_ptr->m_sizedColumns.insert(column);
    d_ptr->updateLastSectionStretch();
    d_ptr->m_treeWidget->header()->resizeSection(column, width);
}

void PbTreePropertyBrowser::setExpanded(PbBrowserItem *item, bool expanded)
{
    if (QTreeWidgetItem *row = d_ptr->browserItemToRow(item))
        d_ptr->setRowExpanded(row, expanded);
}

bool PbTreePropertyBrowser::isExpanded(PbBrowserItem *item) const
{
    QTreeWidgetItem *row = d_ptr->browserItemToRow(item);
    return row && d_ptr->isRowExpanded(row);
}

void PbTreePropertyBrowser::setCheckState(PbBrowserItem *item, Qt::CheckState state)
{
    if (QTreeWidgetItem *row = d_ptr->browserItemToRow(item))
        d_ptr->m_treeWidget->setRowCheckState(row, state);
}

Qt::CheckState PbTreePropertyBrowser::checkState(PbBrowserItem *item) const
{
    QTreeWidgetItem *row = d_ptr->browserItemToRow(item);
    return row ? row->checkState(0) : Qt::Unchecked;
}

bool PbTreePropertyBrowser::isItemVisible(PbBrowserItem *item) const
{
    QTreeWidgetItem *row = d_ptr->browserItemToRow(item);
    return row && !row->isHidden();
}

void PbTreePropertyBrowser::setItemVisible(PbBrowserItem *item, bool visible)
{
    if (QTreeWidgetItem *row = d_ptr->browserItemToRow(item))
        row->setHidden(!visible);
}

void PbTreePropertyBrowser::setBackgroundColor(PbBrowserItem *item, const QColor &color)
{
    if (!d_ptr->browserItemToRow(item))
        return;
    if (color.isValid())
        d_ptr->m_indexToBackgroundColor[item] = color;
    else
        d_ptr->m_indexToBackgroundColor.remove(item);
    d_ptr->m_treeWidget->viewport()->update();
}

QColor PbTreePropertyBrowser::backgroundColor(PbBrowserItem *item) const
{
    return d_ptr->m_indexToBackgroundColor.value(item);
}

QColor PbTreePropertyBrowser::calculatedBackgroundColor(PbBrowserItem *item) const
{
    return d_ptr->calculatedBackgroundColor(item);
}

void PbTreePropertyBrowser::editItem(PbBrowserItem *item)
{
    if (QTreeWidgetItem *row = d_ptr->browserItemToRow(item)) {
        d_ptr->m_treeWidget->setCurrentItem(row, 1);
        d_ptr->m_treeWidget->editItem(row, 1);
    }
}

void PbTreePropertyBrowser::closeEditor(PbProperty *property)
{
    d_ptr->m_delegate->closeEditor(property);
}

void PbTreePropertyBrowser::setExtraColumns(const QStringList &labels)
{
    QStringList headers{QCoreApplication::translate("PbTreePropertyBrowser", "Параметр"),
                        QCoreApplication::translate("PbTreePropertyBrowser", "Значение")};
    for (const QString &label : labels)
        headers << QCoreApplication::translate("PbTreePropertyBrowser", label.toUtf8().constData());
    d_ptr->m_treeWidget->setColumnCount(headers.size());
    d_ptr->m_treeWidget->setHeaderLabels(headers);
    d_ptr->m_treeWidget->setAlternatingRowColors(true);
    d_ptr->updateLastSectionStretch();
}

void PbTreePropertyBrowser::scrollTo(int a, int b)
{
    QScroller::scroller(d_ptr->m_treeWidget)->scrollTo(QPointF(0.0, a - b));
}

void PbTreePropertyBrowser::setViewFlag()
{
    d_ptr->m_treeWidget->setViewFlag();
}

void PbTreePropertyBrowser::itemInserted(PbBrowserItem *item, PbBrowserItem *afterItem)
{
    d_ptr->propertyInserted(item, afterItem);
}

void PbTreePropertyBrowser::itemRemoved(PbBrowserItem *item)
{
    d_ptr->propertyRemoved(item);
}

void PbTreePropertyBrowser::itemChanged(PbBrowserItem *item)
{
    d_ptr->propertyChanged(item);
}

void PbTreePropertyBrowser::slotScrolled(int a, int b)
{
    Q_EMIT scrolled(a, b);
}

void PbTreePropertyBrowser::slotCollapsed(const QModelIndex &index)
{
    QTreeWidgetItem *row = d_ptr->indexToItem(index);
    if (row && d_ptr->m_expansion.viewCollapsed(row))
        Q_EMIT collapsed(d_ptr->rowToBrowserItem(row));
}

void PbTreePropertyBrowser::slotExpanded(const QModelIndex &index)
{
    QTreeWidgetItem *row = d_ptr->indexToItem(index);
    if (row && d_ptr->m_expansion.viewExpanded(row))
        Q_EMIT expanded(d_ptr->rowToBrowserItem(row));
}

void PbTreePropertyBrowser::slotCurrentBrowserItemChanged(PbBrowserItem *item)
{
    if (d_ptr->m_browserChangedBlocked)
        return;
    QTreeWidgetItem *currentRow = d_ptr->m_treeWidget->currentItem();
    if (item == (currentRow ? d_ptr->rowToBrowserItem(currentRow) : nullptr))
        return;
    const bool wasBlocked = d_ptr->m_treeWidget->blockSignals(true);
    d_ptr->m_treeWidget->setCurrentItem(d_ptr->browserItemToRow(item));
    d_ptr->m_treeWidget->blockSignals(wasBlocked);
}

void PbTreePropertyBrowser::slotCurrentTreeItemChanged(QTreeWidgetItem *current, QTreeWidgetItem *)
{
    PbBrowserItem *item = current ? d_ptr->rowToBrowserItem(current) : nullptr;
    d_ptr->m_browserChangedBlocked = true;
    setCurrentItem(item);
    d_ptr->m_browserChangedBlocked = false;
}
