// Steps shared by the editor factories: pushing a manager change into every
// open editor of a property with the editor's own signals blocked, so that a
// pushed value never comes back as a commit.
#ifndef PBFACTORYUTILS_P_H
#define PBFACTORYUTILS_P_H

#include <QList>
#include <QObject>

/// One string connection from a manager signal to a factory slot.
struct SignalLink {
    const char *signal;
    const char *slot;
};

/// Makes (or, with `connectIt` false, removes) every connection of the table.
template <int N>
void linkSignals(const QObject *sender, const QObject *receiver, const SignalLink (&links)[N], bool connectIt)
{
    for (const SignalLink &link : links) {
        if (connectIt)
            QObject::connect(sender, link.signal, receiver, link.slot);
        else
            QObject::disconnect(sender, link.signal, receiver, link.slot);
    }
}

/// Calls `fn(editor)` for each editor in order, its signals blocked meanwhile.
template <class Editor, class Fn>
void updateEditorsBlocked(const QList<Editor *> &editors, Fn fn)
{
    for (Editor *editor : editors) {
        const bool wasBlocked = editor->blockSignals(true);
        fn(editor);
        editor->blockSignals(wasBlocked);
    }
}

/// Sets each editor's value unless it already shows it; signals blocked.
template <class Editor, class Value>
void pushChangedValue(const QList<Editor *> &editors, const Value &value)
{
    updateEditorsBlocked(editors, [&value](Editor *e) {
        if (e->value() != value)
            e->setValue(value);
    });
}

/// New range, then the manager's (possibly bounded) value, into each editor.
template <class Editor, class Value>
void pushRange(const QList<Editor *> &editors, Value minimum, Value maximum, Value value)
{
    updateEditorsBlocked(editors, [&](Editor *e) {
        e->setRange(minimum, maximum);
        e->setValue(value);
    });
}

/// Deletes every editor that a factory still tracks; each announces its end
/// through its destroyed() connection, and is forgotten here in any case so
/// that the loop always ends.
template <class Tracker>
void deleteTrackedEditors(Tracker &tracker)
{
    while (!tracker.editorToProperty.isEmpty()) {
        QObject *editor = tracker.editorToProperty.firstKey();
        delete editor;
        tracker.slotEditorDestroyed(editor);
    }
}

#endif
