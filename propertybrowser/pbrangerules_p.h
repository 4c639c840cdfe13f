// The rules by which every value manager changes its per-property records:
// read a field with a default, store a plain value, store a value inside a
// range, move one or both borders. Signals go out only once the record holds
// the new state, propertyChanged before the specific signal.
#pragma once

#include "propertybrowser/pbproperty.h"

#include <QMap>
#include <QSize>
#include <QSizeF>

namespace PbRangeRules {

// Scalar comparisons and bounds; the two-component types below overload them.
template <class Value>
inline Value bound(const Value &minVal, const Value &val, const Value &maxVal)
{
    return qMax(minVal, qMin(maxVal, val));
}

template <class Value>
inline void orderRange(Value &first, Value &second)
{
    if (second < first)
        qSwap(first, second);
}

/// Two-component bound: each component on its own.
template <class Size>
inline Size boundSize(const Size &minVal, const Size &val, const Size &maxVal)
{
    Size result = val;
    if (minVal.width() > val.width())
        result.setWidth(minVal.width());
    else if (maxVal.width() < val.width())
        result.setWidth(maxVal.width());
    if (minVal.height() > val.height())
        result.setHeight(minVal.height());
    else if (maxVal.height() < val.height())
        result.setHeight(maxVal.height());
    return result;
}

template <class Size>
inline void orderSizeRange(Size &first, Size &second)
{
    if (first.width() > second.width()) {
        const auto w = first.width();
        first.setWidth(second.width());
        second.setWidth(w);
    }
    if (first.height() > second.height()) {
        const auto h = first.height();
        first.setHeight(second.height());
        second.setHeight(h);
    }
}

inline QSize bound(const QSize &minVal, const QSize &val, const QSize &maxVal) { return boundSize(minVal, val, maxVal); }
inline QSizeF bound(const QSizeF &minVal, const QSizeF &val, const QSizeF &maxVal) { return boundSize(minVal, val, maxVal); }
inline void orderRange(QSize &first, QSize &second) { orderSizeRange(first, second); }
inline void orderRange(QSizeF &first, QSizeF &second) { orderSizeRange(first, second); }

/// New lower border: the upper border and the value are raised to it.
template <class Data, class Value>
inline void applyMinimum(Data &data, const Value &border)
{
    data.minimum = border;
    if (data.maximum < data.minimum)
        data.maximum = data.minimum;
    if (data.value < data.minimum)
        data.value = data.minimum;
}

/// New upper border: the lower border and the value are lowered to it.
template <class Data, class Value>
inline void applyMaximum(Data &data, const Value &border)
{
    data.maximum = border;
    if (data.minimum > data.maximum)
        data.minimum = data.maximum;
    if (data.value > data.maximum)
        data.value = data.maximum;
}

// Per component, width first, then height.
template <class Data, class Size>
inline void applySizeMinimum(Data &data, const Size &border)
{
    data.minimum = border;
    if (data.maximum.width() < border.width())
        data.maximum.setWidth(border.width());
    if (data.maximum.height() < border.height())
        data.maximum.setHeight(border.height());
    if (data.value.width() < border.width())
        data.value.setWidth(border.width());
    if (data.value.height() < border.height())
        data.value.setHeight(border.height());
}

template <class Data, class Size>
inline void applySizeMaximum(Data &data, const Size &border)
{
    data.maximum = border;
    if (data.minimum.width() > border.width())
        data.minimum.setWidth(border.width());
    if (data.minimum.height() > border.height())
        data.minimum.setHeight(border.height());
    if (data.value.width() > border.width())
        data.value.setWidth(border.width());
    if (data.value.height() > border.height())
        data.value.setHeight(border.height());
}

/// The field of the property's record, or `defaultValue` when there is none.
template <class Value, class Data>
inline Value propertyDataField(const QMap<const PbProperty *, Data> &values, const PbProperty *property,
                               Value Data::*field, const Value &defaultValue = Value())
{
    const auto it = values.constFind(property);
    return it == values.constEnd() ? defaultValue : (*it).*field;
}

/// Stores `val` into one field of the property's record when the manager
/// holds the property and the field differs; true when it stored.
template <class Data, class Value>
bool storeField(QMap<const PbProperty *, Data> &values, const PbProperty *property, Value Data::*field,
                const Value &val)
{
    const auto it = values.find(property);
    if (it == values.end() || (*it).*field == val)
        return false;
    (*it).*field = val;
    return true;
}

/// Stores a value without range; announces only a real change.
template <class Manager, class Data, class Value, class ValueSignal>
void setPlainValue(Manager *manager, QMap<const PbProperty *, Data> &values, PbProperty *property,
                   const Value &val, ValueSignal valueChangedSignal)
{
    const auto it = values.find(property);
    if (it == values.end() || it.value().value == val)
        return;
    it.value().value = val;
    Q_EMIT manager->propertyChanged(property);
    Q_EMIT (manager->*valueChangedSignal)(property, val);
}

/// Stores `val` bounded into the record's range. With `checkChanging` false
/// the announcement goes out even when the stored value stayed the same.
template <class Manager, class Private, class Value, class ValueSignal>
void setValueInRange(Manager *manager, Private *d, PbProperty *property, const Value &val,
                     bool checkChanging, ValueSignal valueChangedSignal,
                     void (Private::*valueHook)(PbProperty *, const Value &) = nullptr)
{
    const auto it = d->m_values.find(property);
    if (it == d->m_values.end())
        return;
    auto &data = it.value();
    const Value oldValue = data.value;
    if (checkChanging && oldValue == val)
        return;
    data.value = bound(data.minimum, val, data.maximum);
    if (checkChanging && data.value == oldValue)
        return;
    const Value stored = data.value;
    if (valueHook)
        (d->*valueHook)(property, stored);
    Q_EMIT manager->propertyChanged(property);
    Q_EMIT (manager->*valueChangedSignal)(property, stored);
}

namespace detail {
// The common tail of both border rules: the range first, then the value if it
// moved. A receiver of the range may change the value or delete the property,
// so the record is read again after each step and only what it then holds is
// announced.
template <class Manager, class Private, class Value, class ValueSignal, class RangeSignal>
void announceRange(Manager *manager, Private *d, PbProperty *property, const Value &oldValue,
                   ValueSignal valueChangedSignal, RangeSignal rangeChangedSignal,
                   void (Private::*rangeHook)(PbProperty *, const Value &, const Value &, const Value &))
{
    auto it = d->m_values.constFind(property);
    const Value minimum = it->minimum;
    const Value maximum = it->maximum;
    Q_EMIT (manager->*rangeChangedSignal)(property, minimum, maximum);
    if (rangeHook) {
        it = d->m_values.constFind(property);
        if (it == d->m_values.constEnd())
            return;
        const auto data = *it;
        (d->*rangeHook)(property, data.minimum, data.maximum, data.value);
    }
    it = d->m_values.constFind(property);
    if (it == d->m_values.constEnd() || it->value == oldValue)
        return;
    const Value value = it->value;
    Q_EMIT manager->propertyChanged(property);
    Q_EMIT (manager->*valueChangedSignal)(property, value);
}
} // namespace detail

/// Moves one border through the record rule `apply` (applyMinimum or
/// applyMaximum of the record); `current` reads that border.
template <class Manager, class Private, class Value, class Data, class ValueSignal, class RangeSignal>
void setRangeBorder(Manager *manager, Private *d, PbProperty *property, const Value &border,
                    Value Data::*current, void (Data::*apply)(const Value &),
                    ValueSignal valueChangedSignal, RangeSignal rangeChangedSignal,
                    void (Private::*rangeHook)(PbProperty *, const Value &, const Value &, const Value &) = nullptr)
{
    const auto it = d->m_values.find(property);
    if (it == d->m_values.end())
        return;
    Data &data = it.value();
    if (data.*current == border)
        return;
    const Value oldValue = data.value;
    (data.*apply)(border);
    detail::announceRange(manager, d, property, oldValue, valueChangedSignal, rangeChangedSignal, rangeHook);
}

/// Moves both borders; they may come in either order.
template <class Manager, class Private, class Value, class ValueSignal, class RangeSignal>
void setRangeBorders(Manager *manager, Private *d, PbProperty *property, Value first, Value second,
                     ValueSignal valueChangedSignal, RangeSignal rangeChangedSignal,
                     void (Private::*rangeHook)(PbProperty *, const Value &, const Value &, const Value &) = nullptr)
{
    const auto it = d->m_values.find(property);
    if (it == d->m_values.end())
        return;
    orderRange(first, second);
    auto &data = it.value();
    if (data.minimum == first && data.maximum == second)
        return;
    const Value oldValue = data.value;
    data.applyMinimum(first);
    data.applyMaximum(second);
    detail::announceRange(manager, d, property, oldValue, valueChangedSignal, rangeChangedSignal, rangeHook);
}

} // namespace PbRangeRules
