// Item delegate of the tree browser: paints cells (bold modified names,
// background colours, grid lines), makes value editors through the browser's
// factories and keeps track of the one open editor.
#ifndef PBPROPERTYEDITORDELEGATE_P_H
#define PBPROPERTYEDITORDELEGATE_P_H

#include <QHash>
#include <QItemDelegate>
#include <QPointer>

class PbProperty;
class PbTreePropertyBrowserPrivate;
class QTreeWidgetItem;

class PbPropertyEditorDelegate : public QItemDelegate
{
    Q_OBJECT
public:
    explicit PbPropertyEditorDelegate(QObject *parent = nullptr);
    ~PbPropertyEditorDelegate() override;

    void setEditorPrivate(PbTreePropertyBrowserPrivate *editorPrivate) { m_editorPrivate = editorPrivate; }
    /// Pixels of indentation of the index's row.
    int indentation(const QModelIndex &index) const;
    /// Schedules the deletion of the editor open for `property`, if any.
    void closeEditor(PbProperty *property);
    /// The row whose value editor is open; null when none.
    QTreeWidgetItem *editedItem() const { return m_editedItem; }
    /// Forgets the edited row when `row` (or a row above it) goes away.
    void rowRemoved(QTreeWidgetItem *row);

    bool eventFilter(QObject *object, QEvent *event) override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *, const QModelIndex &) const override {}
    void setModelData(QWidget *, QAbstractItemModel *, const QModelIndex &) const override {}
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;

protected:
    void drawDisplay(QPainter *painter, const QStyleOptionViewItem &option, const QRect &rect,
                     const QString &text) const override;
    void drawDecoration(QPainter *painter, const QStyleOptionViewItem &option, const QRect &rect,
                        const QPixmap &pixmap) const override;

private Q_SLOTS:
    void slotEditorDestroyed(QObject *object);

private:
    /// The open editor that is `object` or holds it; null when none.
    QWidget *editorContaining(QObject *object) const;

    // Keyed by object identity, so that an editor in destruction is found
    // without casting it.
    mutable QHash<QObject *, PbProperty *> m_editorToProperty;
    mutable QHash<PbProperty *, QWidget *> m_propertyToEditor;
    PbTreePropertyBrowserPrivate *m_editorPrivate = nullptr;
    mutable QTreeWidgetItem *m_editedItem = nullptr;
    mutable QWidget *m_editedWidget = nullptr;
    mutable bool m_disablePainting = false;
    Q_DISABLE_COPY(PbPropertyEditorDelegate)
};

#endif
