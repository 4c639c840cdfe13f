// Sub-rows of the managers whose value is shown as a parent row with editable
// child rows (point, size, rectangle, locale, flags, ...): the maps between a
// parent property and its rows, and a guard so that the manager's own pushes
// into its rows do not come back through the row slot as edits.
#pragma once

#include "propertybrowser/pbproperty.h"
#include "propertybrowser/pbrangerules_p.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

#include <initializer_list>

class PbAbstractPropertyManager;

/// The rows of every parent property of one composite manager, by position
/// (component order, or flag order), and the way back from a row to its
/// parent. A position whose row was destroyed from outside holds null.
class PbCompositeRows
{
public:
    /// Creates a row on `rowManager` named `name`; the caller sets it up and
    /// then attaches it with attach().
    static PbProperty *createRow(PbAbstractPropertyManager *rowManager, const QString &name);

    /// Appends `row` behind the parent's last row, records the way back and
    /// adds it to the parent's sub-properties.
    void attach(PbProperty *parent, PbProperty *row);

    /// The row at `position`; null when there is none or it was destroyed.
    PbProperty *row(const PbProperty *parent, int position) const;
    QList<PbProperty *> rows(const PbProperty *parent) const { return m_rows.value(parent); }
    /// The parent of `row`; null for a row of no parent of this manager.
    PbProperty *parentOf(const PbProperty *row) const { return m_parents.value(row); }
    /// The position of `row` among its parent's rows; -1 when it has none.
    int positionOf(const PbProperty *row) const;

    /// A row destroyed by other means: its position becomes null (the other
    /// rows keep theirs) and the way back is forgotten.
    void forgetRow(const PbProperty *row);
    /// Takes every row of `parent` out of both maps before deleting them, so
    /// that the deletions (and whatever they announce) find the maps settled.
    void deleteRows(const PbProperty *parent);

    /// True while the manager pushes a value of `parent` into its rows; the
    /// row slots ignore the echoes of such pushes.
    bool isPushing(const PbProperty *parent) const { return m_pushing.contains(parent); }

    /// Marks `parent` as being pushed for the lifetime of the scope.
    class PushScope
    {
    public:
        PushScope(PbCompositeRows &rows, const PbProperty *parent) : m_rows(rows), m_parent(parent)
        {
            m_rows.m_pushing.insert(m_parent, m_rows.m_pushing.value(m_parent) + 1);
        }
        ~PushScope()
        {
            const int depth = m_rows.m_pushing.value(m_parent) - 1;
            if (depth > 0)
                m_rows.m_pushing.insert(m_parent, depth);
            else
                m_rows.m_pushing.remove(m_parent);
        }

    private:
        Q_DISABLE_COPY(PushScope)
        PbCompositeRows &m_rows;
        const PbProperty *m_parent;
    };

    /// The parent whose value an edit of `row` changes: null when the row has
    /// no parent or the change is the echo of the manager's own push.
    PbProperty *editedParent(const PbProperty *row) const
    {
        PbProperty *parent = parentOf(row);
        return parent && !isPushing(parent) ? parent : nullptr;
    }

private:
    QMap<const PbProperty *, QList<PbProperty *>> m_rows;
    QMap<const PbProperty *, PbProperty *> m_parents;
    QMap<const PbProperty *, int> m_pushing;
};

namespace PbCompositeRules {

/// A new manager of rows, owned by `manager`: an edit of one of its rows goes
/// to `rowSlot`, a row destroyed from outside to the manager's
/// slotPropertyDestroyed.
template <class SubManager>
SubManager *createRowManager(QObject *manager, const char *rowValueSignal, const char *rowSlot)
{
    auto *sub = new SubManager(manager);
    QObject::connect(sub, rowValueSignal, manager, rowSlot);
    QObject::connect(sub, SIGNAL(propertyDestroyed(PbProperty*)), manager, SLOT(slotPropertyDestroyed(PbProperty*)));
    return sub;
}

/// The one announcement of a composite manager, made once its record holds
/// the final value: propertyChanged, then the manager's valueChanged.
template <class Manager, class Value, class ValueSignal>
inline void announceValue(Manager *manager, PbProperty *property, const Value &val, ValueSignal valueChangedSignal)
{
    Q_EMIT manager->propertyChanged(property);
    Q_EMIT (manager->*valueChangedSignal)(property, val);
}

/// announceValue with the value the property's record holds now; nothing
/// when the record is gone (a listener of the rows may have deleted it).
template <class Manager, class Data, class ValueSignal>
inline void announceRecord(Manager *manager, const QMap<const PbProperty *, Data> &values, PbProperty *property,
                           ValueSignal valueChangedSignal)
{
    const auto it = values.constFind(property);
    if (it == values.constEnd())
        return;
    const auto held = it->value;
    announceValue(manager, property, held, valueChangedSignal);
}

/// Pushes `values` into the rows of `property` on a number manager (int or
/// double), position by position, each with checkChanging true; the echoes
/// are ignored.
template <class SubManager, class Value>
inline void pushRowValues(PbCompositeRows &rows, SubManager *sub, PbProperty *property,
                          std::initializer_list<Value> values)
{
    const PbCompositeRows::PushScope pushing(rows, property);
    int position = 0;
    for (const Value &val : values)
        sub->setValue(rows.row(property, position++), val, true);
}

/// The decimals of a floating-point composite: clamped to 0..13, stored,
/// given to every row, and announced by `decimalsChangedSignal` alone.
template <class Manager, class Data, class SubManager, class DecimalsSignal>
inline void setRowDecimals(Manager *manager, QMap<const PbProperty *, Data> &values, const PbCompositeRows &rows,
                           SubManager *sub, PbProperty *property, int prec, DecimalsSignal decimalsChangedSignal)
{
    const int maxDecimals = 13;
    prec = qBound(0, prec, maxDecimals);
    if (!PbRangeRules::storeField(values, property, &Data::decimals, prec))
        return;
    for (PbProperty *row : rows.rows(property))
        sub->setDecimals(row, prec);
    Q_EMIT (manager->*decimalsChangedSignal)(property, prec);
}

} // namespace PbCompositeRules
