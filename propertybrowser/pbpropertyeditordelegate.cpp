// Item delegate of the tree browser: cell painting and the open value editor.
#include "propertybrowser/pbpropertyeditordelegate_p.h"

#include "propertybrowser/pbproperty.h"
#include "propertybrowser/pbpropertyeditorview_p.h"
#include "propertybrowser/pbtreepropertybrowser_p.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>

PbPropertyEditorDelegate::PbPropertyEditorDelegate(QObject *parent) : QItemDelegate(parent) {}

PbPropertyEditorDelegate::~PbPropertyEditorDelegate() = default;

int PbPropertyEditorDelegate::indentation(const QModelIndex &index) const
{
    if (!m_editorPrivate)
        return 0;
    QTreeWidgetItem *row = m_editorPrivate->indexToItem(index);
    int depth = m_editorPrivate->m_treeWidget->rootIsDecorated() ? 1 : 0;
    for (QTreeWidgetItem *p = row ? row->parent() : nullptr; p; p = p->parent())
        ++depth;
    return depth * m_editorPrivate->m_treeWidget->indentation();
}

void PbPropertyEditorDelegate::closeEditor(PbProperty *property)
{
    if (QWidget *editor = m_propertyToEditor.value(property, nullptr))
        editor->deleteLater();
}

void PbPropertyEditorDelegate::rowRemoved(QTreeWidgetItem *row)
{
    for (QTreeWidgetItem *r = m_editedItem; r; r = r->parent()) {
        if (r == row) {
            m_editedItem = nullptr;
            return;
        }
    }
}

void PbPropertyEditorDelegate::slotEditorDestroyed(QObject *object)
{
    auto it = m_editorToProperty.find(object);
    if (it == m_editorToProperty.end())
        return;
    m_propertyToEditor.remove(it.value());
    m_editorToProperty.erase(it);
    if (m_editedWidget == object) {
        m_editedWidget = nullptr;
        m_editedItem = nullptr;
    }
}

QWidget *PbPropertyEditorDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                                const QModelIndex &index) const
{
    if (index.column() != 1 || !m_editorPrivate)
        return nullptr;
    PbProperty *property = m_editorPrivate->indexToProperty(index);
    QTreeWidgetItem *row = m_editorPrivate->indexToItem(index);
    if (!property || !row || !(row->flags() & Qt::ItemIsEnabled))
        return nullptr;
    QWidget *editor = m_editorPrivate->createEditor(property, parent);
    if (!editor)
        return nullptr;
    editor->setAutoFillBackground(true);
    // Composite editors hand the keyboard to an inner field: the delegate
    // watches every widget inside the editor, so that Tab and leaving the
    // editor act the same whichever part has the focus.
    auto *self = const_cast<PbPropertyEditorDelegate *>(this);
    editor->installEventFilter(self);
    // Popups of the editor (a combo box's list) are windows of their own and
    // keep their own focus handling.
    const QList<QWidget *> parts = editor->findChildren<QWidget *>();
    for (QWidget *part : parts) {
        if (part->window() == editor->window())
            part->installEventFilter(self);
    }
    connect(editor, SIGNAL(destroyed(QObject*)), this, SLOT(slotEditorDestroyed(QObject*)));
    m_propertyToEditor[property] = editor;
    m_editorToProperty[editor] = property;
    m_editedItem = row;
    m_editedWidget = editor;
    return editor;
}

void PbPropertyEditorDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                                    const QModelIndex &) const
{
    editor->setGeometry(option.rect.adjusted(0, 0, 0, -1));
}

QWidget *PbPropertyEditorDelegate::editorContaining(QObject *object) const
{
    for (QObject *o = object; o; o = o->parent()) {
        const auto it = m_editorToProperty.constFind(o);
        if (it != m_editorToProperty.constEnd())
            return static_cast<QWidget *>(o);
    }
    return nullptr;
}

bool PbPropertyEditorDelegate::eventFilter(QObject *object, QEvent *event)
{
    // Another window becoming active must not close the open editor.
    if (event->type() == QEvent::FocusOut
        && static_cast<QFocusEvent *>(event)->reason() == Qt::ActiveWindowFocusReason)
        return false;
    QWidget *editor = editorContaining(object);
    if (!editor || editor == object)
        return QItemDelegate::eventFilter(object, event);
    // An inner part of a composite editor: Tab, Backtab and the focus leaving
    // count for the whole editor. Other keys travel up to the editor as usual.
    const bool tabKey = event->type() == QEvent::KeyPress
        && (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Tab
            || static_cast<QKeyEvent *>(event)->key() == Qt::Key_Backtab);
    if (tabKey || event->type() == QEvent::FocusOut)
        return QItemDelegate::eventFilter(editor, event);
    return false;
}

QSize PbPropertyEditorDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    // All rows share one height (the view measures one row only, which keeps
    // updates of large trees linear), so every row leaves room for an icon.
    QSize hint = QItemDelegate::sizeHint(option, index) + QSize(3, 4);
    hint.setHeight(qMax(hint.height(), option.decorationSize.height() + 4));
    return hint;
}

void PbPropertyEditorDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                     const QModelIndex &index) const
{
    bool hasValue = true;
    PbProperty *property = m_editorPrivate ? m_editorPrivate->indexToProperty(index) : nullptr;
    if (property)
        hasValue = property->hasValue();
    QStyleOptionViewItem opt = option;
    if ((index.column() == 0 || !hasValue) && property && property->isModified()) {
        opt.font.setBold(true);
        opt.fontMetrics = QFontMetrics(opt.font);
    }
    QColor c;
    if (!hasValue && m_editorPrivate->markPropertiesWithoutValue()) {
        c = opt.palette.color(QPalette::Dark);
        opt.palette.setColor(QPalette::Text, opt.palette.color(QPalette::BrightText));
    } else if (m_editorPrivate) {
        c = m_editorPrivate->calculatedBackgroundColor(m_editorPrivate->indexToBrowserItem(index));
        if (c.isValid() && (opt.features & QStyleOptionViewItem::Alternate))
            c = c.lighter(112);
    }
    if (c.isValid())
        painter->fillRect(option.rect, c);
    opt.state &= ~QStyle::State_HasFocus;
    if (m_editorPrivate) {
        QTreeWidgetItem *row = m_editorPrivate->indexToItem(index);
        // The view marks only the rows it expanded as open; an expanded
        // childless row shows the open state of its icons too.
        if (m_editorPrivate->m_expansion.isExpandedLeaf(row))
            opt.state |= QStyle::State_Open;
        if (index.column() == 1 && m_editedItem && m_editedItem == row)
            m_disablePainting = true;
    }
    QItemDelegate::paint(painter, opt, index);
    if (option.type != QStyleOption::SO_Default)
        m_disablePainting = false;

    opt.palette.setCurrentColorGroup(QPalette::Active);
    const QColor lineColor = static_cast<QRgb>(QApplication::style()->styleHint(QStyle::SH_Table_GridLineColor, &opt));
    painter->save();
    painter->setPen(QPen(lineColor));
    if (!m_editorPrivate || (!m_editorPrivate->lastColumn(index.column()) && hasValue)) {
        const int x = opt.direction == Qt::LeftToRight ? option.rect.right() : option.rect.left();
        painter->drawLine(x, option.rect.y(), x, option.rect.bottom());
    }
    painter->restore();
}

void PbPropertyEditorDelegate::drawDisplay(QPainter *painter, const QStyleOptionViewItem &option,
                                           const QRect &rect, const QString &text) const
{
    if (!m_disablePainting)
        QItemDelegate::drawDisplay(painter, option, rect, text);
}

void PbPropertyEditorDelegate::drawDecoration(QPainter *painter, const QStyleOptionViewItem &option,
                                              const QRect &rect, const QPixmap &pixmap) const
{
    if (!m_disablePainting)
        QItemDelegate::drawDecoration(painter, option, rect, pixmap);
}
