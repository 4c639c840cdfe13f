// Tree widget of the tree browser: row painting, editor opening by key and
// click, and check-state propagation.
#include "propertybrowser/pbpropertyeditorview_p.h"

#include "propertybrowser/pbproperty.h"
#include "propertybrowser/pbtreepropertybrowser_p.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace {
// The check state a row had when it was last set or clicked: a click whose
// state equals it (a click on the label, not the box) changes nothing.
constexpr int SeenCheckStateRole = Qt::UserRole + 1;

constexpr Qt::ItemFlags EditableEnabled = Qt::ItemIsEditable | Qt::ItemIsEnabled;

bool isEditableAndEnabled(const QTreeWidgetItem *row)
{
    return (row->flags() & EditableEnabled) == EditableEnabled;
}
} // namespace

PbPropertyEditorView::PbPropertyEditorView(QWidget *parent) : QTreeWidget(parent) {}

PbPropertyEditorView::~PbPropertyEditorView()
{
    // Rows die with the base classes; their notifications must not reach the
    // slots of this part, which is gone by then.
    blockSignals(true);
}

void PbPropertyEditorView::setRowCheckState(QTreeWidgetItem *row, Qt::CheckState state)
{
    // The change notifications of our own updates are not user changes.
    const bool wasUpdating = m_updatingChecks;
    m_updatingChecks = true;
    row->setData(0, SeenCheckStateRole, int(state));
    row->setCheckState(0, state);
    m_updatingChecks = wasUpdating;
}

void PbPropertyEditorView::setRowExpandedLazily(QTreeWidgetItem *row, bool expanded)
{
    // With a relayout pending the view merely records the row's state.
    // Without one (say, a row under a collapsed parent) it first searches its
    // laid-out rows for the row, all of them, each time. The rows that change
    // so have just got their first child or lost their last, which relays
    // out anyway, once however many rows change.
    scheduleDelayedItemsLayout();
    row->setExpanded(expanded);
}

void PbPropertyEditorView::deleteRow(QTreeWidgetItem *row)
{
    // A row that deletes itself searches its parent's rows for itself from
    // the front; clear() goes last first, which made that search grow with
    // the rows left. The last row is taken out at its known place.
    QTreeWidgetItem *parent = row->parent() ? row->parent() : invisibleRootItem();
    const int last = parent->childCount() - 1;
    if (last >= 0 && parent->child(last) == row)
        row = parent->takeChild(last);
    delete row;
}

void PbPropertyEditorView::checkChanged(QTreeWidgetItem *row, int column)
{
    if (!row || column > 0 || m_updatingChecks)
        return;
    const Qt::CheckState state = row->checkState(column);
    if (state == Qt::PartiallyChecked)
        return;
    const QVariant seen = row->data(0, SeenCheckStateRole);
    const Qt::CheckState before = seen.isValid() ? Qt::CheckState(seen.toInt()) : Qt::Unchecked;
    if (state == before)
        return;
    setRowCheckState(row, state);
    if (row->childCount() > 0)
        passStateDown(row, state);
    else if (row->parent())
        updateParentState(row->parent());
}

void PbPropertyEditorView::passStateDown(QTreeWidgetItem *row, Qt::CheckState state)
{
    for (int i = 0; i < row->childCount(); ++i) {
        QTreeWidgetItem *child = row->child(i);
        setRowCheckState(child, state);
        if (child->childCount() > 0)
            passStateDown(child, state);
    }
}

void PbPropertyEditorView::updateParentState(QTreeWidgetItem *parent)
{
    int checked = 0;
    for (int i = 0; i < parent->childCount(); ++i)
        checked += parent->child(i)->checkState(0) == Qt::Checked ? 1 : 0;
    Qt::CheckState state = Qt::Unchecked;
    if (checked == parent->childCount())
        state = Qt::Checked;
    else if (checked > 0)
        state = Qt::PartiallyChecked;
    setRowCheckState(parent, state);
}

void PbPropertyEditorView::mousePressEvent(QMouseEvent *event)
{
    QTreeWidget::mousePressEvent(event);
    QTreeWidgetItem *row = itemAt(event->pos());
    if (!row || !m_editorPrivate)
        return;
    if (row != m_editorPrivate->editedItem() && event->button() == Qt::LeftButton
        && header()->logicalIndexAt(event->pos().x()) == 1 && isEditableAndEnabled(row)) {
        editItem(row, 1);
    } else if (!m_editorPrivate->hasValue(row) && m_editorPrivate->markPropertiesWithoutValue()
               && !rootIsDecorated()) {
        if (event->pos().x() + header()->offset() < 20)
            m_editorPrivate->setRowExpanded(row, !m_editorPrivate->isRowExpanded(row));
    }
}

void PbPropertyEditorView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_editorPrivate && !m_editorPrivate->editedItem()) {
            if (const QTreeWidgetItem *row = currentItem()) {
                if (row->columnCount() >= 2 && isEditableAndEnabled(row)) {
                    event->accept();
                    QModelIndex index = currentIndex();
                    if (index.column() == 0) {
                        index = index.sibling(index.row(), 1);
                        setCurrentIndex(index);
                    }
                    edit(index);
                    return;
                }
            }
        }
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Minus:
        if (collapseLeafByKey(event))
            return;
        break;
    default:
        break;
    }
    QTreeWidget::keyPressEvent(event);
}

// The view collapses an expanded current row on Minus, and on the arrow
// towards the row's start while not scrolled sideways; it does not know an
// expanded childless row, whose state the browser keeps. Minus goes on to the
// view's keyboard search, as after the view's own collapse.
bool PbPropertyEditorView::collapseLeafByKey(QKeyEvent *event)
{
    QTreeWidgetItem *row = currentItem();
    if (!m_editorPrivate || !itemsExpandable() || !m_editorPrivate->m_expansion.isExpandedLeaf(row))
        return false;
    if (event->key() == Qt::Key_Minus) {
        m_editorPrivate->setRowExpanded(row, false);
        return false;
    }
    const QScrollBar *bar = horizontalScrollBar();
    if (event->key() != (isRightToLeft() ? Qt::Key_Right : Qt::Key_Left) || bar->value() != bar->minimum())
        return false;
    m_editorPrivate->setRowExpanded(row, false);
    event->accept();
    return true;
}

void PbPropertyEditorView::drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                                   const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    bool hasValue = true;
    if (m_editorPrivate) {
        if (PbProperty *property = m_editorPrivate->indexToProperty(index))
            hasValue = property->hasValue();
    }
    if (!hasValue && m_editorPrivate->markPropertiesWithoutValue()) {
        const QColor c = option.palette.color(QPalette::Dark);
        painter->fillRect(option.rect, c);
        opt.palette.setColor(QPalette::AlternateBase, c);
    } else if (m_editorPrivate) {
        const QColor c = m_editorPrivate->calculatedBackgroundColor(m_editorPrivate->indexToBrowserItem(index));
        if (c.isValid()) {
            painter->fillRect(option.rect, c);
            opt.palette.setColor(QPalette::AlternateBase, c.lighter(112));
        }
    }
    QTreeWidget::drawRow(painter, opt, index);
    const QColor lineColor = static_cast<QRgb>(QApplication::style()->styleHint(QStyle::SH_Table_GridLineColor, &opt));
    painter->save();
    painter->setPen(QPen(lineColor));
    painter->drawLine(opt.rect.x(), opt.rect.bottom(), opt.rect.right(), opt.rect.bottom());
    painter->restore();
}
