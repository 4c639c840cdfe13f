// Colour editors for colour properties.
#include "propertybrowser/pbcoloreditorfactory.h"

#include "propertybrowser/pbcoloreditwidget.h"
#include "propertybrowser/pbvalueeditors_p.h"

class PbColorEditorFactoryPrivate : public PbValueEditors<PbColorEditWidget, PbColorPropertyManager>
{
public:
    using PbValueEditors<PbColorEditWidget, PbColorPropertyManager>::PbValueEditors;
};

PbColorEditorFactory::PbColorEditorFactory(QObject *parent)
    : PbAbstractEditorFactory<PbColorPropertyManager>(parent), d_ptr(new PbColorEditorFactoryPrivate(this))
{
}

PbColorEditorFactory::~PbColorEditorFactory() { delete d_ptr; }

void PbColorEditorFactory::connectPropertyManager(PbColorPropertyManager *manager)
{
    connect(manager, SIGNAL(valueChanged(PbProperty*,QColor)), this, SLOT(slotPropertyChanged(PbProperty*,QColor)));
}

void PbColorEditorFactory::disconnectPropertyManager(PbColorPropertyManager *manager)
{
    disconnect(manager, SIGNAL(valueChanged(PbProperty*,QColor)), this, SLOT(slotPropertyChanged(PbProperty*,QColor)));
}

QWidget *PbColorEditorFactory::createEditor(PbColorPropertyManager *manager, PbProperty *property, QWidget *parent)
{
    PbColorEditWidget *editor = d_ptr->tracker.createEditor(property, parent);
    editor->setValue(manager->value(property));
    connect(editor, SIGNAL(valueChanged(QColor)), this, SLOT(slotSetValue(QColor)));
    connect(editor, SIGNAL(destroyed(QObject*)), this, SLOT(slotEditorDestroyed(QObject*)));
    return editor;
}

void PbColorEditorFactory::slotPropertyChanged(PbProperty *property, const QColor &value)
{
    d_ptr->propertyChanged(property, value, [](PbColorEditWidget *e, const QColor &v) { e->setValue(v); }, true);
}

void PbColorEditorFactory::slotEditorDestroyed(QObject *object) { d_ptr->tracker.slotEditorDestroyed(object); }

void PbColorEditorFactory::slotSetValue(const QColor &value)
{
    PbProperty *property = nullptr;
    if (PbColorPropertyManager *manager = d_ptr->committing(sender(), &property))
        manager->setValue(property, value);
}
