// Private part shared by the editor factories whose editor holds one plain
// value (date, time, date-time, key sequence, character, colour, font): the tracked
// editors, the push of a manager change into them and the lookup of a
// committing editor.
#ifndef PBVALUEEDITORS_P_H
#define PBVALUEEDITORS_P_H

#include "propertybrowser/pbabstracteditorfactory.h"
#include "propertybrowser/pbeditortracker_p.h"
#include "propertybrowser/pbfactoryutils_p.h"

template <class Editor, class Manager>
class PbValueEditors
{
public:
    explicit PbValueEditors(PbAbstractEditorFactory<Manager> *factory) : m_factory(factory) {}
    ~PbValueEditors() { deleteTrackedEditors(tracker); }

    /// Puts `value` into every editor of `property` through `set(editor,
    /// value)`, signals blocked; then, when `announce`, emits the manager's
    /// valueUpdated. Nothing happens while the property has no editor.
    template <class Value, class Setter>
    void propertyChanged(PbProperty *property, const Value &value, Setter set, bool announce)
    {
        const QList<Editor *> editors = tracker.editors(property);
        if (editors.isEmpty())
            return;
        updateEditorsBlocked(editors, [&](Editor *e) { set(e, value); });
        if (!announce)
            return;
        if (Manager *manager = m_factory->managerForProperty(property))
            Q_EMIT manager->valueUpdated(property, value);
    }

    /// The property and manager of a committing editor; null manager when
    /// the sender is not a tracked editor or its manager is not served.
    Manager *committing(const QObject *sender, PbProperty **property) const
    {
        *property = tracker.propertyOf(sender);
        return m_factory->managerForProperty(*property);
    }

    EditorTracker<Editor> tracker;

private:
    PbAbstractEditorFactory<Manager> *m_factory;
};

/// How a factory whose editor holds one value is wired: the manager's
/// valueChanged to the factory's slotPropertyChanged, the editor's change
/// signal to the factory's slotSetValue (string connections, so that the
/// slots stay reachable by name), the editor's setter, and whether a pushed
/// value is announced with the manager's valueUpdated.
template <class Editor, class Value>
struct ValueEditorWiring {
    const char *managerSignal;
    const char *propertyChangedSlot;
    const char *editorSignal;
    const char *setValueSlot;
    void (*set)(Editor *, const Value &);
    bool announce;
};

/// The whole private part of such a factory: each of its methods and slots
/// is one call into this.
template <class Editor, class Manager, class Value>
class PbSingleValueEditors : public PbValueEditors<Editor, Manager>
{
public:
    using Wiring = ValueEditorWiring<Editor, Value>;

    PbSingleValueEditors(PbAbstractEditorFactory<Manager> *factory, const Wiring &wiring)
        : PbValueEditors<Editor, Manager>(factory), m_factory(factory), m_wiring(wiring)
    {
    }

    void linkManager(Manager *manager, bool connectIt) const
    {
        const SignalLink links[] = {{m_wiring.managerSignal, m_wiring.propertyChangedSlot}};
        linkSignals(manager, m_factory, links, connectIt);
    }

    /// A tracked editor showing the property's value, committing through
    /// the factory's slotSetValue.
    QWidget *createEditor(Manager *manager, PbProperty *property, QWidget *parent)
    {
        Editor *editor = this->tracker.createEditor(property, parent);
        m_wiring.set(editor, manager->value(property));
        QObject::connect(editor, m_wiring.editorSignal, m_factory, m_wiring.setValueSlot);
        QObject::connect(editor, SIGNAL(destroyed(QObject*)), m_factory, SLOT(slotEditorDestroyed(QObject*)));
        return editor;
    }

    void propertyChanged(PbProperty *property, const Value &value)
    {
        PbValueEditors<Editor, Manager>::propertyChanged(property, value, m_wiring.set, m_wiring.announce);
    }

    /// The value of the committing editor `sender` into its property.
    void commit(const QObject *sender, const Value &value) const
    {
        PbProperty *property = nullptr;
        if (Manager *manager = this->committing(sender, &property))
            manager->setValue(property, value);
    }

private:
    PbAbstractEditorFactory<Manager> *m_factory;
    Wiring m_wiring;
};

#endif
