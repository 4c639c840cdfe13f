// Private part of PbAbstractPropertyManager: the owned properties and the
// notifiers through which PbProperty announces its changes.
#pragma once

#include "propertybrowser/pbabstractpropertymanager.h"

class PbAbstractPropertyManagerPrivate
{
public:
    explicit PbAbstractPropertyManagerPrivate(PbAbstractPropertyManager *q) : q_ptr(q) {}

    void propertyDestroyed(PbProperty *property);
    void propertyChanged(PbProperty *property) const;
    void propertyRemoved(PbProperty *property, PbProperty *parentProperty) const;
    void propertyInserted(PbProperty *property, PbProperty *parentProperty, PbProperty *afterProperty) const;

    PbAbstractPropertyManager *q_ptr;
    QSet<PbProperty *> m_properties;
};
