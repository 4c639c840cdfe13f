// Cursor editors: combo boxes of the cursor shapes over hidden enumeration
// properties.
#include "propertybrowser/pbcursoreditorfactory.h"

#include "propertybrowser/pbcursordatabase.h"
#include "propertybrowser/pbcursoreditorfactory_p.h"
#include "propertybrowser/pbenumeditorfactory.h"
#include "propertybrowser/pbenumpropertymanager.h"

#include <QGlobalStatic>
#include <QWidget>

// The cursor factories' own database, made on first use and gone at program
// exit; later calls find none and change nothing.
Q_GLOBAL_STATIC(PbCursorDatabase, cursorDatabase)

void PbCursorEditorFactoryPrivate::dropProperty(PbProperty *property)
{
    PbProperty *enumProp = m_propertyToEnum.take(property);
    if (!enumProp)
        return;
    m_enumToProperty.remove(enumProp);
    const QList<const QObject *> editors = m_enumToEditors.take(enumProp);
    for (const QObject *editor : editors)
        m_editorToEnum.remove(editor);
    delete enumProp;
}

PbCursorEditorFactory::PbCursorEditorFactory(QObject *parent)
    : PbAbstractEditorFactory<PbCursorPropertyManager>(parent), d_ptr(new PbCursorEditorFactoryPrivate(this))
{
    d_ptr->m_enumEditorFactory = new PbEnumEditorFactory(this);
    d_ptr->m_enumPropertyManager = new PbEnumPropertyManager(this);
    connect(d_ptr->m_enumPropertyManager, SIGNAL(valueChanged(PbProperty*,int)), this,
            SLOT(slotEnumChanged(PbProperty*,int)));
    d_ptr->m_enumEditorFactory->addPropertyManager(d_ptr->m_enumPropertyManager);
}

PbCursorEditorFactory::~PbCursorEditorFactory() { delete d_ptr; }

void PbCursorEditorFactory::connectPropertyManager(PbCursorPropertyManager *manager)
{
    connect(manager, SIGNAL(valueChanged(PbProperty*,QCursor)), this, SLOT(slotPropertyChanged(PbProperty*,QCursor)));
    connect(manager, SIGNAL(propertyDestroyed(PbProperty*)), this, SLOT(slotPropertyDestroyed(PbProperty*)));
}

void PbCursorEditorFactory::disconnectPropertyManager(PbCursorPropertyManager *manager)
{
    disconnect(manager, SIGNAL(valueChanged(PbProperty*,QCursor)), this,
               SLOT(slotPropertyChanged(PbProperty*,QCursor)));
    disconnect(manager, SIGNAL(propertyDestroyed(PbProperty*)), this, SLOT(slotPropertyDestroyed(PbProperty*)));
    // Unheard from now on, its properties must not keep hidden partners that
    // a later property at the same address would inherit.
    const QList<PbProperty *> edited = d_ptr->m_propertyToEnum.keys();
    for (PbProperty *property : edited) {
        if (property->propertyManager() == manager)
            d_ptr->dropProperty(property);
    }
}

QWidget *PbCursorEditorFactory::createEditor(PbCursorPropertyManager *manager, PbProperty *property,
                                             QWidget *parent)
{
    PbCursorDatabase *db = cursorDatabase();
    if (!db)
        return nullptr;
    PbProperty *enumProp = d_ptr->m_propertyToEnum.value(property, nullptr);
    if (!enumProp) {
        enumProp = d_ptr->m_enumPropertyManager->addProperty(property->propertyName());
        d_ptr->m_enumPropertyManager->setEnumNames(enumProp, db->shapeNames());
        d_ptr->m_enumPropertyManager->setEnumIcons(enumProp, db->shapeIcons());
        d_ptr->m_enumPropertyManager->setValue(enumProp, db->shapeValue(manager->value(property)));
        d_ptr->m_propertyToEnum.insert(property, enumProp);
        d_ptr->m_enumToProperty.insert(enumProp, property);
    }
    QWidget *editor = d_ptr->m_enumEditorFactory->createEditor(enumProp, parent);
    if (!editor)
        return nullptr;
    d_ptr->m_enumToEditors[enumProp].append(editor);
    d_ptr->m_editorToEnum.insert(editor, enumProp);
    connect(editor, SIGNAL(destroyed(QObject*)), this, SLOT(slotEditorDestroyed(QObject*)));
    return editor;
}

void PbCursorEditorFactory::slotPropertyChanged(PbProperty *property, const QCursor &cursor)
{
    PbProperty *enumProp = d_ptr->m_propertyToEnum.value(property, nullptr);
    PbCursorDatabase *db = cursorDatabase();
    if (!enumProp || !db)
        return;
    d_ptr->m_updatingEnum = true;
    d_ptr->m_enumPropertyManager->setValue(enumProp, db->shapeValue(cursor));
    d_ptr->m_updatingEnum = false;
    if (PbCursorPropertyManager *manager = managerForProperty(property))
        Q_EMIT manager->valueUpdated(property, cursor);
}

void PbCursorEditorFactory::slotEnumChanged(PbProperty *property, int value)
{
    if (d_ptr->m_updatingEnum)
        return;
    PbProperty *cursorProp = d_ptr->m_enumToProperty.value(property, nullptr);
    PbCursorPropertyManager *manager = managerForProperty(cursorProp);
    PbCursorDatabase *db = cursorDatabase();
    if (!manager || !db)
        return;
    manager->setValue(cursorProp, db->cursorForValue(value));
}

void PbCursorEditorFactory::slotEditorDestroyed(QObject *object)
{
    const auto it = d_ptr->m_editorToEnum.find(object);
    if (it == d_ptr->m_editorToEnum.end())
        return;
    PbProperty *enumProp = it.value();
    d_ptr->m_editorToEnum.erase(it);
    QList<const QObject *> &editors = d_ptr->m_enumToEditors[enumProp];
    editors.removeAll(object);
    if (!editors.isEmpty())
        return;
    // The last combo box is gone: the next editor starts from the stored cursor.
    d_ptr->dropProperty(d_ptr->m_enumToProperty.value(enumProp));
}

void PbCursorEditorFactory::slotPropertyDestroyed(PbProperty *property) { d_ptr->dropProperty(property); }
