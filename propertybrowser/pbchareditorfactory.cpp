// Character editors for character properties; a pushed character is announced.
#include "propertybrowser/pbchareditorfactory.h"

#include "propertybrowser/pbvalueeditors_p.h"

#include "propertybrowser/pbcharedit.h"

class PbCharEditorFactoryPrivate : public PbValueEditors<PbCharEdit, PbCharPropertyManager>
{
public:
    using PbValueEditors<PbCharEdit, PbCharPropertyManager>::PbValueEditors;
};

PbCharEditorFactory::PbCharEditorFactory(QObject *parent)
    : PbAbstractEditorFactory<PbCharPropertyManager>(parent), d_ptr(new PbCharEditorFactoryPrivate(this))
{
}

PbCharEditorFactory::~PbCharEditorFactory()
{
    delete d_ptr;
}

void PbCharEditorFactory::connectPropertyManager(PbCharPropertyManager *manager)
{
    connect(manager, SIGNAL(valueChanged(PbProperty*,QChar)), this, SLOT(slotPropertyChanged(PbProperty*,QChar)));
}

void PbCharEditorFactory::disconnectPropertyManager(PbCharPropertyManager *manager)
{
    disconnect(manager, SIGNAL(valueChanged(PbProperty*,QChar)), this, SLOT(slotPropertyChanged(PbProperty*,QChar)));
}

QWidget *PbCharEditorFactory::createEditor(PbCharPropertyManager *manager, PbProperty *property, QWidget *parent)
{
    PbCharEdit *editor = d_ptr->tracker.createEditor(property, parent);
    editor->setValue(manager->value(property));
    connect(editor, SIGNAL(valueChanged(QChar)), this, SLOT(slotSetValue(QChar)));
    connect(editor, SIGNAL(destroyed(QObject*)), this, SLOT(slotEditorDestroyed(QObject*)));
    return editor;
}

void PbCharEditorFactory::slotPropertyChanged(PbProperty *property, const QChar &value)
{
    d_ptr->propertyChanged(
        property, value, [](PbCharEdit *e, const QChar &v) { e->setValue(v); }, true);
}

void PbCharEditorFactory::slotSetValue(const QChar &value)
{
    PbProperty *property = nullptr;
    if (PbCharPropertyManager *manager = d_ptr->committing(sender(), &property))
        manager->setValue(property, value);
}

void PbCharEditorFactory::slotEditorDestroyed(QObject *object)
{
    d_ptr->tracker.slotEditorDestroyed(object);
}
