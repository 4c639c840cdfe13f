// Factory bindings between browsers, managers and editor factories, and their
// cleanup when any of the three is destroyed.
#include "propertybrowser/pbfactoryregistry_p.h"

#include "propertybrowser/pbabstracteditorfactorybase.h"
#include "propertybrowser/pbabstractpropertymanager.h"

Q_GLOBAL_STATIC(PbFactoryRegistry, factoryRegistry)

PbFactoryRegistry::PbFactoryRegistry() = default;
PbFactoryRegistry::~PbFactoryRegistry() = default;

PbFactoryRegistry *PbFactoryRegistry::instance()
{
    return factoryRegistry.isDestroyed() ? nullptr : factoryRegistry();
}

void PbFactoryRegistry::watch(QObject *object)
{
    if (m_watched.contains(object))
        return;
    m_watched.insert(object);
    connect(object, &QObject::destroyed, this, &PbFactoryRegistry::objectDestroyed);
}

bool PbFactoryRegistry::addFactory(QObject *browser, PbAbstractPropertyManager *manager,
                                   PbAbstractEditorFactoryBase *factory)
{
    bool connectNeeded = false;
    const auto managerIt = m_managerBindings.constFind(manager);
    if (managerIt == m_managerBindings.constEnd() || !managerIt->contains(factory))
        connectNeeded = true;
    else if (managerIt->value(factory).contains(browser))
        return false;

    if (m_browserBindings.value(browser).contains(manager))
        unbind(browser, manager);

    watch(browser);
    watch(manager);
    watch(factory);
    m_managers.insert(manager, manager);
    m_managerBindings[manager][factory].append(browser);
    m_browserBindings[browser][manager] = factory;
    return connectNeeded;
}

void PbFactoryRegistry::unsetFactoryForManager(QObject *browser, PbAbstractPropertyManager *manager)
{
    unbind(browser, manager);
}

void PbFactoryRegistry::unbind(const QObject *browser, const QObject *manager)
{
    const auto browserIt = m_browserBindings.find(browser);
    if (browserIt == m_browserBindings.end() || !browserIt->contains(manager))
        return;
    const FactoryRef factoryRef = browserIt->take(manager);
    if (browserIt->isEmpty())
        m_browserBindings.erase(browserIt);

    // A browser binds a manager to one factory, so one list holds the browser.
    const auto managerIt = m_managerBindings.find(manager);
    if (managerIt == m_managerBindings.end())
        return;
    for (auto factoryIt = managerIt->begin(); factoryIt != managerIt->end(); ++factoryIt) {
        if (!factoryIt->contains(browser))
            continue;
        factoryIt->removeAll(browser);
        if (factoryIt->isEmpty()) {
            managerIt->erase(factoryIt);
            if (factoryRef)
                factoryRef->breakConnection(m_managers.value(manager));
        }
        break;
    }
    if (managerIt->isEmpty()) {
        m_managerBindings.erase(managerIt);
        m_managers.remove(manager);
    }
}

PbAbstractEditorFactoryBase *PbFactoryRegistry::factoryFor(const QObject *browser,
                                                           const PbAbstractPropertyManager *manager) const
{
    const auto browserIt = m_browserBindings.constFind(browser);
    if (browserIt == m_browserBindings.constEnd())
        return nullptr;
    return browserIt->value(manager).data();
}

int PbFactoryRegistry::bindingCount(const PbAbstractPropertyManager *manager,
                                    const PbAbstractEditorFactoryBase *factory) const
{
    return m_managerBindings.value(manager).value(factory).size();
}

void PbFactoryRegistry::objectDestroyed(QObject *object)
{
    // The object is half destroyed: it is used as an identity only.
    m_watched.remove(object);

    // As a browser: each of its bindings goes as if it had been unset.
    if (m_browserBindings.contains(object)) {
        const QList<const QObject *> managers = m_browserBindings.value(object).keys();
        for (const QObject *manager : managers)
            unbind(object, manager);
    }

    // As a manager: every browser forgets it; the factories forget it
    // themselves through their own destroyed() connection.
    if (m_managerBindings.contains(object)) {
        const auto factories = m_managerBindings.take(object);
        for (const QList<const QObject *> &browsers : factories) {
            for (const QObject *browser : browsers) {
                auto browserIt = m_browserBindings.find(browser);
                if (browserIt == m_browserBindings.end())
                    continue;
                browserIt->remove(object);
                if (browserIt->isEmpty())
                    m_browserBindings.erase(browserIt);
            }
        }
    }
    m_managers.remove(object);

    // As a factory: every binding to it goes, without calling it.
    for (auto managerIt = m_managerBindings.begin(); managerIt != m_managerBindings.end();) {
        const QList<const QObject *> browsers = managerIt->take(object);
        for (const QObject *browser : browsers) {
            auto browserIt = m_browserBindings.find(browser);
            if (browserIt == m_browserBindings.end())
                continue;
            browserIt->remove(managerIt.key());
            if (browserIt->isEmpty())
                m_browserBindings.erase(browserIt);
        }
        if (managerIt->isEmpty()) {
            m_managers.remove(managerIt.key());
            managerIt = m_managerBindings.erase(managerIt);
        } else {
            ++managerIt;
        }
    }
}
