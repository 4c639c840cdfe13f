// Editor factory over one manager type: keeps the set of served managers,
// routes an editor request to the right one and (dis)connects managers.
// Concrete factories implement the three typed hooks.
#pragma once

#include "propertybrowser/pbabstracteditorfactorybase.h"
#include "propertybrowser/pbabstractpropertymanager.h"
#include "propertybrowser/pbproperty.h"

#include <QHash>
#include <QSet>

template <class PropertyManager>
class PbAbstractEditorFactory : public PbAbstractEditorFactoryBase
{
public:
    explicit PbAbstractEditorFactory(QObject *parent = nullptr)
        : PbAbstractEditorFactoryBase(parent)
    {
    }

    QWidget *createEditor(PbProperty *property, QWidget *parent) override
    {
        PropertyManager *manager = managerForProperty(property);
        return manager ? createEditor(manager, property, parent) : nullptr;
    }

    /// Serves `manager` from now on; a manager already served changes nothing.
    void addPropertyManager(PropertyManager *manager)
    {
        if (!manager || m_managers.contains(manager))
            return;
        m_managers.insert(manager, manager);
        connectPropertyManager(manager);
        connect(manager, SIGNAL(destroyed(QObject*)), this, SLOT(managerDestroyed(QObject*)));
    }

    /// Stops serving `manager`; an unserved manager changes nothing.
    void removePropertyManager(PropertyManager *manager)
    {
        if (!manager || !m_managers.contains(manager))
            return;
        disconnect(manager, SIGNAL(destroyed(QObject*)), this, SLOT(managerDestroyed(QObject*)));
        disconnectPropertyManager(manager);
        m_managers.remove(manager);
    }

    /// The served managers (a copy, unordered).
    QSet<PropertyManager *> propertyManagers() const
    {
        QSet<PropertyManager *> managers;
        for (PropertyManager *manager : m_managers)
            managers.insert(manager);
        return managers;
    }

    /// The served manager that owns `property`, or null.
    PropertyManager *managerForProperty(const PbProperty *property) const
    {
        if (!property)
            return nullptr;
        const QObject *owner = property->propertyManager();
        return m_managers.value(owner, nullptr);
    }

    void breakConnection(PbAbstractPropertyManager *manager) override
    {
        if (PropertyManager *served = m_managers.value(manager, nullptr))
            removePropertyManager(served);
    }

protected:
    virtual void connectPropertyManager(PropertyManager *manager) = 0;
    virtual QWidget *createEditor(PropertyManager *manager, PbProperty *property, QWidget *parent) = 0;
    virtual void disconnectPropertyManager(PropertyManager *manager) = 0;

    void managerDestroyed(QObject *manager) override
    {
        // The object is half destroyed: compare identities only, never cast it.
        m_managers.remove(manager);
    }

private:
    // Keyed by object identity, taken while the manager was whole, so that a
    // manager in destruction is recognised without converting its pointer.
    QHash<const QObject *, PropertyManager *> m_managers;
};
