// Private part shared by the composite managers whose rows sit on one number
// manager (point, size and rectangle, integer or floating-point): the
// records, the sub-manager that holds the rows, and the rows themselves.
#pragma once

#include "propertybrowser/pbcompositerows_p.h"

#include <QMap>
#include <QString>

#include <initializer_list>

template <class Manager, class SubManager, class Data>
class PbCompositeValues
{
public:
    explicit PbCompositeValues(Manager *q) : q_ptr(q) {}

    /// Creates the sub-manager as a child of the manager; see createRowManager.
    void createSubManager(const char *rowValueSignal, const char *rowSlot)
    {
        m_subManager = PbCompositeRules::createRowManager<SubManager>(q_ptr, rowValueSignal, rowSlot);
    }

    /// Records `data` for `property` and gives it one row per name, each set
    /// up by `setUp(row)` before it is attached.
    template <class SetUp>
    void initialize(PbProperty *property, const Data &data, std::initializer_list<QString> names, SetUp setUp)
    {
        m_values[property] = data;
        for (const QString &name : names) {
            PbProperty *row = PbCompositeRows::createRow(m_subManager, name);
            setUp(row);
            m_rows.attach(property, row);
        }
    }

    void uninitialize(PbProperty *property)
    {
        m_rows.deleteRows(property);
        m_values.remove(property);
    }

    /// The parent whose value an edit of `row` changes, its record copied to
    /// `data`; null for a foreign row or the echo of the manager's own push.
    PbProperty *editedParent(const PbProperty *row, Data *data) const
    {
        PbProperty *parent = m_rows.editedParent(row);
        if (parent)
            *data = m_values.value(parent);
        return parent;
    }

    Manager *q_ptr;
    QMap<const PbProperty *, Data> m_values;
    SubManager *m_subManager = nullptr;
    PbCompositeRows m_rows;
};

namespace PbCompositeRules {

/// `value` with the component of row `position` set to `v`: through `first`
/// (X or width) for row 0, through `second` (Y or height) for any other.
template <class Value, class Number, class Setter>
Value withComponent(Value value, int position, Number v, Setter first, Setter second)
{
    (value.*(position == 0 ? first : second))(v);
    return value;
}

} // namespace PbCompositeRules
