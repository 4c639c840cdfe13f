// Expanded state of the tree browser's rows. Every new row starts expanded,
// a leaf too. The view keeps the state of a row with children; the state of a
// childless row is kept here. The view holds a persistent model index for
// every row it has expanded, and the model walks all of them on every row
// removal and on every insertion in front of existing rows: with every leaf
// expanded in the view, clearing a flat tree, removing leaves one by one and
// inserting at a group's front all grew with the square of the row count. A
// row hands its state to the view when it gets its first child and takes it
// back when it loses its last.
#ifndef PBROWEXPANSION_P_H
#define PBROWEXPANSION_P_H

#include <QSet>

class PbPropertyEditorView;
class QTreeWidgetItem;

class PbRowExpansion
{
public:
    void setView(PbPropertyEditorView *view) { m_view = view; }

    bool isExpanded(QTreeWidgetItem *row) const;
    /// True for a childless row that is expanded: the view does not know it.
    bool isExpandedLeaf(QTreeWidgetItem *row) const { return m_expandedLeaves.contains(row); }
    /// Expands or collapses a row; true when the browser is to report it: a
    /// childless row whose state changed. The view reports a row with
    /// children itself.
    bool setExpanded(QTreeWidgetItem *row, bool expanded);

    /// A new row starts expanded. When it is its parent's first child, the
    /// parent's state goes to the view, which then shows the new row.
    void rowInserted(QTreeWidgetItem *row);
    /// Forgets a row whose item goes; the row itself may go later, with its
    /// parent row.
    void forget(QTreeWidgetItem *row);
    /// Deletes a row with its subtree. A parent row that loses its last child
    /// takes its state back from the view.
    void deleteRow(QTreeWidgetItem *row);

    /// The view expanded or collapsed a row by itself (a key, its own slots):
    /// true when the browser is to report it. A childless row that the view
    /// expanded is taken over, and reported only when it was collapsed.
    bool viewExpanded(QTreeWidgetItem *row);
    bool viewCollapsed(QTreeWidgetItem *row);

private:
    /// Changes the view's state of a row without reporting it.
    void setInView(QTreeWidgetItem *row, bool expanded);

    PbPropertyEditorView *m_view = nullptr;
    QSet<QTreeWidgetItem *> m_expandedLeaves;
    bool m_settingView = false;
};

#endif
