// Tree widget of the tree browser: paints rows with their background colours
// and grid lines, opens value editors from keys and clicks, and passes check
// box clicks on to a row's children or parent.
#ifndef PBPROPERTYEDITORVIEW_P_H
#define PBPROPERTYEDITORVIEW_P_H

#include <QTreeWidget>

class PbTreePropertyBrowserPrivate;

class PbPropertyEditorView : public QTreeWidget
{
    Q_OBJECT
public:
    explicit PbPropertyEditorView(QWidget *parent = nullptr);
    ~PbPropertyEditorView() override;

    void setEditorPrivate(PbTreePropertyBrowserPrivate *editorPrivate) { m_editorPrivate = editorPrivate; }
    void setViewFlag() { m_viewFlag = true; }
    bool viewFlag() const { return m_viewFlag; }

    QTreeWidgetItem *indexToItem(const QModelIndex &index) const { return itemFromIndex(index); }
    /// Sets a row's check state without passing it on, and remembers it as
    /// the state that a later click is compared with.
    void setRowCheckState(QTreeWidgetItem *row, Qt::CheckState state);
    /// Changes a row's expanded state at a cost that does not grow with the
    /// number of rows shown.
    void setRowExpandedLazily(QTreeWidgetItem *row, bool expanded);
    /// Deletes a row with its subtree, in constant time when it is its
    /// parent's first or last row.
    void deleteRow(QTreeWidgetItem *row);

Q_SIGNALS:
    void scrolled(int a, int b);

public Q_SLOTS:
    /// Passes the check state of a clicked row on: down to all descendants
    /// of a row with children, up one level for a leaf.
    void checkChanged(QTreeWidgetItem *row, int column);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void drawRow(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    void passStateDown(QTreeWidgetItem *row, Qt::CheckState state);
    void updateParentState(QTreeWidgetItem *parent);
    bool collapseLeafByKey(QKeyEvent *event);

    bool m_viewFlag = false;
    bool m_updatingChecks = false;
    PbTreePropertyBrowserPrivate *m_editorPrivate = nullptr;
    Q_DISABLE_COPY(PbPropertyEditorView)
};

#endif
