// The process-wide registry that binds, per browser, each property manager to
// the editor factory that makes its editors. Destroyed browsers, managers and
// factories are dropped from it at once, so that a stale binding can never
// reach a dead object or a new one born at the same address.
#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>

class PbAbstractEditorFactoryBase;
class PbAbstractPropertyManager;

class PbFactoryRegistry : public QObject
{
    Q_OBJECT
public:
    PbFactoryRegistry();
    ~PbFactoryRegistry() override;

    /// The registry; null once it was torn down at program exit.
    static PbFactoryRegistry *instance();

    /// Binds `manager` to `factory` for `browser`; true when no browser had
    /// bound that pair before, so that the factory must start serving it.
    bool addFactory(QObject *browser, PbAbstractPropertyManager *manager, PbAbstractEditorFactoryBase *factory);
    /// Drops the browser's binding for `manager`; the factory stops serving
    /// the manager when no browser binds the pair any more.
    void unsetFactoryForManager(QObject *browser, PbAbstractPropertyManager *manager);
    /// The factory bound to `manager` for `browser`, or null.
    PbAbstractEditorFactoryBase *factoryFor(const QObject *browser, const PbAbstractPropertyManager *manager) const;
    /// How many browsers bind `manager` to `factory` (for diagnostics and tests).
    int bindingCount(const PbAbstractPropertyManager *manager, const PbAbstractEditorFactoryBase *factory) const;

private Q_SLOTS:
    void objectDestroyed(QObject *object);

private:
    Q_DISABLE_COPY(PbFactoryRegistry)
    void watch(QObject *object);
    void unbind(const QObject *browser, const QObject *manager);

    // All keys are object identities taken while the objects were whole.
    using FactoryRef = QPointer<PbAbstractEditorFactoryBase>;
    QHash<const QObject *, QHash<const QObject *, FactoryRef>> m_browserBindings;  // browser -> manager -> factory
    QHash<const QObject *, QHash<const QObject *, QList<const QObject *>>> m_managerBindings;  // manager -> factory -> browsers
    QHash<const QObject *, PbAbstractPropertyManager *> m_managers;
    QSet<const QObject *> m_watched;
};
