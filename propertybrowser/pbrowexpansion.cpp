// Expanded state of the tree browser's rows: the view's for rows with
// children, our own for childless rows.
#include "propertybrowser/pbrowexpansion_p.h"

#include "propertybrowser/pbpropertyeditorview_p.h"

bool PbRowExpansion::isExpanded(QTreeWidgetItem *row) const
{
    return row->childCount() > 0 ? row->isExpanded() : m_expandedLeaves.contains(row);
}

bool PbRowExpansion::setExpanded(QTreeWidgetItem *row, bool expanded)
{
    if (row->childCount() > 0) {
        row->setExpanded(expanded);
        return false;
    }
    if (m_expandedLeaves.contains(row) == expanded)
        return false;
    if (expanded)
        m_expandedLeaves.insert(row);
    else
        m_expandedLeaves.remove(row);
    return true;
}

void PbRowExpansion::rowInserted(QTreeWidgetItem *row)
{
    QTreeWidgetItem *parent = row->parent();
    if (parent && parent->childCount() == 1 && m_expandedLeaves.remove(parent))
        setInView(parent, true);
    m_expandedLeaves.insert(row);
}

void PbRowExpansion::forget(QTreeWidgetItem *row)
{
    m_expandedLeaves.remove(row);
}

void PbRowExpansion::deleteRow(QTreeWidgetItem *row)
{
    forget(row);
    QTreeWidgetItem *parent = row->parent();
    const bool parentExpanded = parent && parent->childCount() == 1 && parent->isExpanded();
    m_view->deleteRow(row);
    if (parentExpanded) {
        setInView(parent, false);
        m_expandedLeaves.insert(parent);
    }
}

bool PbRowExpansion::viewExpanded(QTreeWidgetItem *row)
{
    if (m_settingView)
        return false;
    if (row->childCount() > 0)
        return true;
    const bool wasExpanded = m_expandedLeaves.contains(row);
    m_expandedLeaves.insert(row);
    setInView(row, false);
    return !wasExpanded;
}

bool PbRowExpansion::viewCollapsed(QTreeWidgetItem *row)
{
    if (m_settingView)
        return false;
    m_expandedLeaves.remove(row);
    return true;
}

void PbRowExpansion::setInView(QTreeWidgetItem *row, bool expanded)
{
    const bool wasSetting = m_settingView;
    m_settingView = true;
    m_view->setRowExpandedLazily(row, expanded);
    m_settingView = wasSetting;
}
