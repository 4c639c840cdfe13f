// Bookkeeping of the in-place editors of one editor factory: which editors are
// alive for which property, announced through the manager's editorCreated and
// editorDestroyed. Editors are owned by their parent widget, never by this.
#pragma once

#include "propertybrowser/pbabstractpropertymanager.h"
#include "propertybrowser/pbproperty.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QMetaObject>
#include <QObject>

class QWidget;

template <class Editor>
class EditorTracker
{
public:
    EditorTracker() = default;
    ~EditorTracker()
    {
        for (const QMetaObject::Connection &watch : qAsConst(m_propertyWatch))
            QObject::disconnect(watch);
    }

    /// A new editor under `parent`, recorded and announced for `property`.
    Editor *createEditor(PbProperty *property, QWidget *parent)
    {
        Editor *editor = new Editor(parent);
        initializeEditor(property, editor);
        return editor;
    }

    /// Records `editor` for `property`, then the manager emits editorCreated.
    void initializeEditor(PbProperty *property, Editor *editor)
    {
        createdEditors[property].append(editor);
        editorToProperty.insert(editor, property);
        QObject *object = editor;
        m_objectToEditor.insert(object, editor);
        // An editor dies later than a property deleted under it (deferred
        // deletion): forget the editor while the property is still whole, so
        // that its later destruction touches nothing that is gone.
        PbAbstractPropertyManager *manager = property->propertyManager();
        m_propertyWatch.insert(object, QObject::connect(
            manager, &PbAbstractPropertyManager::propertyDestroyed, object,
            [this, object](PbProperty *gone) {
                if (propertyOf(object) == gone)
                    forget(object);
            }));
        Q_EMIT manager->editorCreated(property);
    }

    /// Forgets an editor that is being destroyed; unknown objects are ignored.
    void slotEditorDestroyed(QObject *object) { forget(object); }

    /// The property that a living editor edits, null when not tracked.
    PbProperty *propertyOf(const QObject *object) const
    {
        Editor *editor = m_objectToEditor.value(object, nullptr);
        return editor ? editorToProperty.value(editor, nullptr) : nullptr;
    }

    /// The tracked editor that is `object`, null when not tracked.
    Editor *editorOf(const QObject *object) const { return m_objectToEditor.value(object, nullptr); }

    /// The living editors of `property`, in creation order.
    QList<Editor *> editors(PbProperty *property) const { return createdEditors.value(property); }

    QMap<PbProperty *, QList<Editor *>> createdEditors;
    QMap<Editor *, PbProperty *> editorToProperty;

private:
    // Announces and drops one editor. The property and its manager are whole
    // here: either the editor goes first, or the property is being deleted.
    void forget(const QObject *object)
    {
        Editor *editor = m_objectToEditor.value(object, nullptr);
        if (!editor)
            return;
        QObject::disconnect(m_propertyWatch.take(object));
        PbProperty *property = editorToProperty.value(editor, nullptr);
        if (property)
            Q_EMIT property->propertyManager()->editorDestroyed(property);
        m_objectToEditor.remove(object);
        auto it = createdEditors.find(property);
        if (it != createdEditors.end()) {
            it.value().removeAll(editor);
            if (it.value().isEmpty())
                createdEditors.erase(it);
        }
        editorToProperty.remove(editor);
    }

    // Keyed by object identity so that an editor in destruction is found
    // without converting its pointer.
    QHash<const QObject *, Editor *> m_objectToEditor;
    QHash<const QObject *, QMetaObject::Connection> m_propertyWatch;
};
