// Key-sequence editors for key-sequence properties.
#include "propertybrowser/pbkeysequenceeditorfactory.h"

#include "propertybrowser/pbvalueeditors_p.h"

#include "propertybrowser/pbkeysequenceedit.h"

class PbKeySequenceEditorFactoryPrivate : public PbValueEditors<PbKeySequenceEdit, PbKeySequencePropertyManager>
{
public:
    using PbValueEditors<PbKeySequenceEdit, PbKeySequencePropertyManager>::PbValueEditors;
};

PbKeySequenceEditorFactory::PbKeySequenceEditorFactory(QObject *parent)
    : PbAbstractEditorFactory<PbKeySequencePropertyManager>(parent), d_ptr(new PbKeySequenceEditorFactoryPrivate(this))
{
}

PbKeySequenceEditorFactory::~PbKeySequenceEditorFactory()
{
    delete d_ptr;
}

void PbKeySequenceEditorFactory::connectPropertyManager(PbKeySequencePropertyManager *manager)
{
    connect(manager, SIGNAL(valueChanged(PbProperty*,QKeySequence)), this,
            SLOT(slotPropertyChanged(PbProperty*,QKeySequence)));
}

void PbKeySequenceEditorFactory::disconnectPropertyManager(PbKeySequencePropertyManager *manager)
{
    disconnect(manager, SIGNAL(valueChanged(PbProperty*,QKeySequence)), this,
               SLOT(slotPropertyChanged(PbProperty*,QKeySequence)));
}

QWidget *PbKeySequenceEditorFactory::createEditor(PbKeySequencePropertyManager *manager, PbProperty *property,
                                                  QWidget *parent)
{
    PbKeySequenceEdit *editor = d_ptr->tracker.createEditor(property, parent);
    editor->setKeySequence(manager->value(property));
    connect(editor, SIGNAL(keySequenceChanged(QKeySequence)), this, SLOT(slotSetValue(QKeySequence)));
    connect(editor, SIGNAL(destroyed(QObject*)), this, SLOT(slotEditorDestroyed(QObject*)));
    return editor;
}

void PbKeySequenceEditorFactory::slotPropertyChanged(PbProperty *property, const QKeySequence &value)
{
    d_ptr->propertyChanged(
        property, value, [](PbKeySequenceEdit *e, const QKeySequence &v) { e->setKeySequence(v); }, false);
}

void PbKeySequenceEditorFactory::slotSetValue(const QKeySequence &value)
{
    PbProperty *property = nullptr;
    if (PbKeySequencePropertyManager *manager = d_ptr->committing(sender(), &property))
        manager->setValue(property, value);
}

void PbKeySequenceEditorFactory::slotEditorDestroyed(QObject *object)
{
    d_ptr->tracker.slotEditorDestroyed(object);
}
