// Base manager: creation, ownership and deletion of properties, and the
// default answers of the value queries.
#include "propertybrowser/pbabstractpropertymanager.h"

#include "propertybrowser/pbabstractpropertymanager_p.h"
#include "propertybrowser/pbproperty.h"

void PbAbstractPropertyManagerPrivate::propertyDestroyed(PbProperty *property)
{
    if (!m_properties.contains(property))
        return;
    Q_EMIT q_ptr->propertyDestroyed(property);
    q_ptr->uninitializeProperty(property);
    m_properties.remove(property);
}

void PbAbstractPropertyManagerPrivate::propertyChanged(PbProperty *property) const
{
    Q_EMIT q_ptr->propertyChanged(property);
}

void PbAbstractPropertyManagerPrivate::propertyRemoved(PbProperty *property, PbProperty *parentProperty) const
{
    Q_EMIT q_ptr->propertyRemoved(property, parentProperty);
}

void PbAbstractPropertyManagerPrivate::propertyInserted(PbProperty *property, PbProperty *parentProperty,
                                                        PbProperty *afterProperty) const
{
    Q_EMIT q_ptr->propertyInserted(property, parentProperty, afterProperty);
}

PbAbstractPropertyManager::PbAbstractPropertyManager(QObject *parent)
    : QObject(parent), d_ptr(new PbAbstractPropertyManagerPrivate(this))
{
    static const int registered = qRegisterMetaType<PbProperty *>("PbProperty*");
    Q_UNUSED(registered);
}

PbAbstractPropertyManager::~PbAbstractPropertyManager()
{
    clear();
    delete d_ptr;
}

void PbAbstractPropertyManager::clear()
{
    // One snapshot instead of restarting the set's iteration per deletion,
    // which would make clearing quadratic. A deletion may take others of this
    // manager with it (through uninitializeProperty), so each is checked.
    const QList<PbProperty *> snapshot = d_ptr->m_properties.values();
    for (PbProperty *property : snapshot) {
        if (d_ptr->m_properties.contains(property))
            delete property;
    }
    // Whatever a deletion added meanwhile goes the same way.
    while (!d_ptr->m_properties.isEmpty())
        delete *d_ptr->m_properties.cbegin();
}

QSet<PbProperty *> PbAbstractPropertyManager::properties() const { return d_ptr->m_properties; }

PbProperty *PbAbstractPropertyManager::addProperty(const QString &name)
{
    PbProperty *property = createProperty();
    if (!property)
        return nullptr;
    property->setPropertyName(name);
    d_ptr->m_properties.insert(property);
    initializeProperty(property);
    return property;
}

bool PbAbstractPropertyManager::hasValue(const PbProperty *) const { return true; }
QIcon PbAbstractPropertyManager::valueIcon(const PbProperty *) const { return QIcon(); }
QString PbAbstractPropertyManager::valueText(const PbProperty *) const { return QString(); }
QString PbAbstractPropertyManager::displayText(const PbProperty *) const { return QString(); }
int PbAbstractPropertyManager::echoMode(const PbProperty *) const { return 0; }
void PbAbstractPropertyManager::uninitializeProperty(PbProperty *) {}
PbProperty *PbAbstractPropertyManager::createProperty() { return new PbProperty(this); }
