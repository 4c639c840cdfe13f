// Private part shared by the editor factories whose editor holds one plain
// value (date, time, date-time, key sequence, character): the tracked
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

#endif
