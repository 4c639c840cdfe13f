// Private part shared by the colour and font editor factories: both track
// editors that show one value and commit what their dialog chose.
#ifndef PBDIALOGEDITORS_P_H
#define PBDIALOGEDITORS_P_H

#include "pbabstracteditorfactory.h"
#include "pbeditortracker_p.h"
#include "pbfactoryutils_p.h"

template <class Editor, class Manager>
class PbDialogEditors
{
public:
    explicit PbDialogEditors(PbAbstractEditorFactory<Manager> *factory) : m_factory(factory) {}
    ~PbDialogEditors() { deleteTrackedEditors(tracker); }

    /// A new editor showing the property's value, committing through the
    /// factory's slotSetValue(`Value`) (`setValueSlot`, a SLOT() signature).
    Editor *createEditor(Manager *manager, PbProperty *property, QWidget *parent, const char *commitSignal,
                         const char *setValueSlot)
    {
        Editor *editor = tracker.createEditor(property, parent);
        editor->setValue(manager->value(property));
        QObject::connect(editor, commitSignal, m_factory, setValueSlot);
        QObject::connect(editor, SIGNAL(destroyed(QObject*)), m_factory, SLOT(slotEditorDestroyed(QObject*)));
        return editor;
    }

    /// Shows a manager change in every editor of the property, then announces
    /// valueUpdated; nothing while the property has no editor.
    template <class Value>
    void propertyChanged(PbProperty *property, const Value &value)
    {
        const QList<Editor *> editors = tracker.editors(property);
        if (editors.isEmpty())
            return;
        pushChangedValue(editors, value);
        if (Manager *manager = m_factory->managerForProperty(property))
            Q_EMIT manager->valueUpdated(property, value);
    }

    /// Commits a value chosen in the editor `sender`.
    template <class Value>
    void setValue(const QObject *sender, const Value &value)
    {
        PbProperty *property = tracker.propertyOf(sender);
        if (Manager *manager = m_factory->managerForProperty(property))
            manager->setValue(property, value);
    }

    EditorTracker<Editor> tracker;

private:
    PbAbstractEditorFactory<Manager> *m_factory;
};

#endif
