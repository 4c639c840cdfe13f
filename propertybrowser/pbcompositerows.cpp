// Maps between composite parents and their sub-rows.
#include "propertybrowser/pbcompositerows_p.h"

#include "propertybrowser/pbabstractpropertymanager.h"

PbProperty *PbCompositeRows::createRow(PbAbstractPropertyManager *rowManager, const QString &name)
{
    PbProperty *row = rowManager->addProperty();
    if (row)
        row->setPropertyName(name);
    return row;
}

void PbCompositeRows::attach(PbProperty *parent, PbProperty *row)
{
    if (!parent || !row)
        return;
    m_rows[parent].append(row);
    m_parents.insert(row, parent);
    parent->addSubProperty(row);
}

PbProperty *PbCompositeRows::row(const PbProperty *parent, int position) const
{
    const auto it = m_rows.constFind(parent);
    if (it == m_rows.constEnd() || position < 0 || position >= it->size())
        return nullptr;
    return it->at(position);
}

int PbCompositeRows::positionOf(const PbProperty *row) const
{
    const PbProperty *parent = parentOf(row);
    if (!parent)
        return -1;
    return m_rows.value(parent).indexOf(const_cast<PbProperty *>(row));
}

void PbCompositeRows::forgetRow(const PbProperty *row)
{
    const auto back = m_parents.find(row);
    if (back == m_parents.end())
        return;
    const auto forward = m_rows.find(back.value());
    m_parents.erase(back);
    if (forward == m_rows.end())
        return;
    const int position = forward->indexOf(const_cast<PbProperty *>(row));
    if (position >= 0)
        (*forward)[position] = nullptr;
}

void PbCompositeRows::deleteRows(const PbProperty *parent)
{
    const QList<PbProperty *> taken = m_rows.take(parent);
    for (PbProperty *row : taken) {
        if (row)
            m_parents.remove(row);
    }
    for (PbProperty *row : taken)
        delete row;
}
