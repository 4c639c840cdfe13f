// The manager fixture of the core tests, with a look at the sub-rows of a
// composite property: their names, and row i.
#pragma once

#include "pbcore_manager_fixture.h"
#include "propertybrowser/pbproperty.h"

inline QStringList rowNames(const PbProperty *property)
{
    QStringList names;
    for (const PbProperty *row : property->subProperties())
        names << row->propertyName();
    return names;
}

inline PbProperty *rowAt(const PbProperty *property, int i) { return property->subProperties().value(i); }
