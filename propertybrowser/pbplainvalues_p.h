// Private part shared by the managers that hold one plain value per property
// (character, key sequence, time, date-time): the values, their lookup and
// the change that announces itself with propertyChanged and valueChanged.
#pragma once

#include "propertybrowser/pbrangerules_p.h"

#include <QMap>
#include <QString>

class PbProperty;

template <class Manager, class Value>
class PbPlainValues
{
public:
    struct Data
    {
        Value value;
    };

    explicit PbPlainValues(Manager *q) : q_ptr(q) {}

    /// The property's value; a default value for a property not held.
    Value value(const PbProperty *property) const
    {
        return PbRangeRules::propertyDataField(m_values, property, &Data::value, Value());
    }

    /// `toText(value)`; empty for a property not held.
    template <class ToText>
    QString valueText(const PbProperty *property, ToText toText) const
    {
        const auto it = m_values.constFind(property);
        return it == m_values.constEnd() ? QString() : toText(it->value);
    }

    /// Stores a differing value and announces it.
    void setValue(PbProperty *property, const Value &val)
    {
        PbRangeRules::setPlainValue(q_ptr, m_values, property, val, &Manager::valueChanged);
    }

    void initialize(PbProperty *property, const Value &initial) { m_values[property] = Data{initial}; }
    void uninitialize(PbProperty *property) { m_values.remove(property); }

    Manager *q_ptr;
    QMap<const PbProperty *, Data> m_values;
};
