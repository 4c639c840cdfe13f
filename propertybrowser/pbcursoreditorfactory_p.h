// Private part of PbCursorEditorFactory: the hidden enumeration property of
// each edited cursor property and the combo boxes open for it.
#ifndef PBCURSOREDITORFACTORY_P_H
#define PBCURSOREDITORFACTORY_P_H

#include "propertybrowser/pbcursoreditorfactory.h"

#include <QHash>
#include <QList>
#include <QMap>

class PbEnumEditorFactory;
class PbEnumPropertyManager;

class PbCursorEditorFactoryPrivate
{
public:
    explicit PbCursorEditorFactoryPrivate(PbCursorEditorFactory *q) : q_ptr(q) {}

    /// Forgets the cursor property and its combo boxes and deletes its
    /// hidden enumeration property; nothing when it has none.
    void dropProperty(PbProperty *property);

    PbCursorEditorFactory *q_ptr;
    PbEnumEditorFactory *m_enumEditorFactory = nullptr;
    PbEnumPropertyManager *m_enumPropertyManager = nullptr;
    QMap<PbProperty *, PbProperty *> m_propertyToEnum;
    QMap<PbProperty *, PbProperty *> m_enumToProperty;
    // Editors by object identity: an editor in destruction is no widget any more.
    QMap<PbProperty *, QList<const QObject *>> m_enumToEditors;
    QHash<const QObject *, PbProperty *> m_editorToEnum;
    bool m_updatingEnum = false;
};

#endif
