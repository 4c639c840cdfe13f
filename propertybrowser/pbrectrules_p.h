// Rules shared by the integer and the floating-point rectangle managers:
// normalising, fitting into a constraint, the sub-row ranges, edits of one
// component, and the two setters built on them. Edges are summed in double,
// which is exact for every int, so that no sum of int coordinates overflows.
#pragma once

#include "propertybrowser/pbcompositerows_p.h"

#include <QRect>
#include <QtGlobal>

#include <limits>

namespace PbRectRules {

enum Row { XRow, YRow, WidthRow, HeightRow };

inline double rightOf(const QRect &r) { return double(r.x()) + r.width(); }
inline double bottomOf(const QRect &r) { return double(r.y()) + r.height(); }
inline double rightOf(const QRectF &r) { return r.x() + r.width(); }
inline double bottomOf(const QRectF &r) { return r.y() + r.height(); }

/// The rectangle of these components. QRect keeps its right edge as
/// x + width - 1 in an int, so the width and height are cut to what fits
/// after x and y (which the rows keep above INT_MIN).
inline QRect rectOf(int x, int y, int w, int h)
{
    const double most = std::numeric_limits<int>::max();
    return QRect(x, y, int(qMin<double>(w, most - x)), int(qMin<double>(h, most - y)));
}
inline QRectF rectOf(qreal x, qreal y, qreal w, qreal h) { return QRectF(x, y, w, h); }

/// The equal rectangle with non-negative width and height: a negative width
/// spans from x + width to x.
template <class Rect>
Rect normalised(const Rect &r)
{
    auto x = r.x(), y = r.y(), w = r.width(), h = r.height();
    if (w < 0) {
        x += w;
        w = -w;
    }
    if (h < 0) {
        y += h;
        h = -h;
    }
    return rectOf(x, y, w, h);
}

/// Touching edges count as contained.
template <class Rect>
bool contains(const Rect &outer, const Rect &inner)
{
    return inner.x() >= outer.x() && inner.y() >= outer.y() && rightOf(inner) <= rightOf(outer)
        && bottomOf(inner) <= bottomOf(outer);
}

/// Cuts `rect` down to its overlap with `constraint`; false (and `rect`
/// untouched) when they do not overlap or only touch.
template <class Rect>
bool clip(const Rect &constraint, Rect &rect)
{
    using Value = decltype(rect.x());
    const double left = qMax<double>(rect.x(), constraint.x());
    const double top = qMax<double>(rect.y(), constraint.y());
    const double right = qMin(rightOf(rect), rightOf(constraint));
    const double bottom = qMin(bottomOf(rect), bottomOf(constraint));
    if (right <= left || bottom <= top)
        return false;
    rect = rectOf(Value(left), Value(top), Value(right - left), Value(bottom - top));
    return true;
}

/// Shrinks `rect` to the constraint's size where larger, then moves it inside.
template <class Rect>
Rect fitted(const Rect &rect, const Rect &constraint)
{
    auto x = rect.x(), y = rect.y();
    const auto w = qMin(rect.width(), constraint.width());
    const auto h = qMin(rect.height(), constraint.height());
    if (x < constraint.x())
        x = constraint.x();
    else if (double(x) + w > rightOf(constraint))
        x = constraint.x() + (constraint.width() - w);
    if (y < constraint.y())
        y = constraint.y();
    else if (double(y) + h > bottomOf(constraint))
        y = constraint.y() + (constraint.height() - h);
    return rectOf(x, y, w, h);
}

/// `rect` with one component edited in its row: x and y move the rectangle;
/// a new width or height keeps the left or top edge unless that would reach
/// past the constraint, which then holds the right or bottom edge.
template <class Rect, class Value>
Rect edited(const Rect &rect, const Rect &constraint, int row, Value value)
{
    auto x = rect.x(), y = rect.y(), w = rect.width(), h = rect.height();
    switch (row) {
    case XRow:
        x = value;
        break;
    case YRow:
        y = value;
        break;
    case WidthRow:
        w = value;
        if (!constraint.isNull() && rightOf(constraint) < double(x) + w)
            x = constraint.x() + (constraint.width() - w);
        break;
    case HeightRow:
        h = value;
        if (!constraint.isNull() && bottomOf(constraint) < double(y) + h)
            y = constraint.y() + (constraint.height() - h);
        break;
    }
    return rectOf(x, y, w, h);
}

/// Each component bounded into the unconstrained ranges of the rows.
template <class Rect, class Value>
Rect bounded(const Rect &rect, Value lowest, Value highest)
{
    return rectOf(qBound(lowest, rect.x(), highest), qBound(lowest, rect.y(), highest),
                qBound(Value(0), rect.width(), highest), qBound(Value(0), rect.height(), highest));
}

template <class SubManager, class Rect>
void pushRect(SubManager *sub, PbCompositeRows &rows, PbProperty *property, const Rect &rect)
{
    PbCompositeRules::pushRowValues(rows, sub, property, {rect.x(), rect.y(), rect.width(), rect.height()});
}

/// The rows' ranges: inside the constraint, or the whole range of the value
/// type (`lowest`, `highest`) without one.
template <class SubManager, class Rect, class Value>
void pushRanges(SubManager *sub, const PbCompositeRows &rows, const PbProperty *property, const Rect &constraint,
                Value lowest, Value highest)
{
    if (constraint.isNull()) {
        sub->setRange(rows.row(property, XRow), lowest, highest);
        sub->setRange(rows.row(property, YRow), lowest, highest);
        sub->setRange(rows.row(property, WidthRow), Value(0), highest);
        sub->setRange(rows.row(property, HeightRow), Value(0), highest);
        return;
    }
    sub->setRange(rows.row(property, XRow), constraint.x(), Value(qMin<double>(rightOf(constraint), highest)));
    sub->setRange(rows.row(property, YRow), constraint.y(), Value(qMin<double>(bottomOf(constraint), highest)));
    sub->setRange(rows.row(property, WidthRow), Value(0), constraint.width());
    sub->setRange(rows.row(property, HeightRow), Value(0), constraint.height());
}

/// The value setter: normalise, bound, clip to the constraint (refusing a
/// rectangle that does not overlap it), store, push into the rows, announce
/// once. `Private` holds m_values, m_rows, m_subManager and the unconstrained
/// limits lowest and highest.
template <class Manager, class Private, class Rect, class ValueSignal>
void setValue(Manager *manager, Private *d, PbProperty *property, const Rect &val, ValueSignal valueChangedSignal)
{
    const auto it = d->m_values.find(property);
    if (it == d->m_values.end())
        return;
    Rect rect = bounded(normalised(val), Private::lowest, Private::highest);
    const Rect constraint = it->constraint;
    if (!constraint.isNull() && !contains(constraint, rect) && !clip(constraint, rect))
        return;
    if (rect == it->value)
        return;
    it->value = rect;
    pushRect(d->m_subManager, d->m_rows, property, rect);
    PbCompositeRules::announceRecord(manager, d->m_values, property, valueChangedSignal);
}

/// The constraint setter: the value is fitted and stored first, then the
/// constraint announced, then the rows get the fitted value, their new ranges
/// and the value once more (a fitted value may lie outside the rows' old
/// ranges), and last the value is announced when it moved.
template <class Manager, class Private, class Rect, class ValueSignal, class ConstraintSignal>
void setConstraint(Manager *manager, Private *d, PbProperty *property, const Rect &newConstraint,
                   ValueSignal valueChangedSignal, ConstraintSignal constraintChangedSignal)
{
    auto it = d->m_values.find(property);
    const Rect constraint = normalised(newConstraint);
    if (it == d->m_values.end() || it->constraint == constraint)
        return;
    const Rect oldValue = it->value;
    it->constraint = constraint;
    if (!constraint.isNull() && !contains(constraint, it->value))
        it->value = fitted(it->value, constraint);
    Q_EMIT (manager->*constraintChangedSignal)(property, constraint);
    it = d->m_values.find(property);
    if (it == d->m_values.end())
        return;
    const Rect held = it->value;
    const Rect heldConstraint = it->constraint;
    {
        const PbCompositeRows::PushScope pushing(d->m_rows, property);
        pushRect(d->m_subManager, d->m_rows, property, held);
        pushRanges(d->m_subManager, d->m_rows, property, heldConstraint, Private::lowest, Private::highest);
        pushRect(d->m_subManager, d->m_rows, property, held);
    }
    it = d->m_values.find(property);
    if (it == d->m_values.end() || it->value == oldValue)
        return;
    PbCompositeRules::announceRecord(manager, d->m_values, property, valueChangedSignal);
}

/// An edit of one row: the parent takes the edited rectangle through
/// setValue. When that refuses the edit or cuts it to the constraint, the row
/// would keep the number typed, so the rows are brought back to what the
/// parent holds.
template <class Manager, class Private, class Value>
void editRow(Manager *manager, Private *d, PbProperty *row, Value value)
{
    typename Private::Data data;
    PbProperty *parent = d->editedParent(row, &data);
    if (!parent)
        return;
    manager->setValue(parent, edited(data.value, data.constraint, d->m_rows.positionOf(row), value));
    const auto it = d->m_values.constFind(parent);
    if (it != d->m_values.constEnd())
        pushRect(d->m_subManager, d->m_rows, parent, it->value);
}

} // namespace PbRectRules
