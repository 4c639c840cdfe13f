// Font editors for font properties.
#include "propertybrowser/pbfonteditorfactory.h"

#include "propertybrowser/pbfonteditwidget.h"
#include "propertybrowser/pbvalueeditors_p.h"

class PbFontEditorFactoryPrivate : public PbValueEditors<PbFontEditWidget, PbFontPropertyManager>
{
public:
    using PbValueEditors<PbFontEditWidget, PbFontPropertyManager>::PbValueEditors;
};

PbFontEditorFactory::PbFontEditorFactory(QObject *parent)
    : PbAbstractEditorFactory<PbFontPropertyManager>(parent), d_ptr(new PbFontEditorFactoryPrivate(this))
{
}

PbFontEditorFactory::~PbFontEditorFactory() { delete d_ptr; }

void PbFontEditorFactory::connectPropertyManager(PbFontPropertyManager *manager)
{
    connect(manager, SIGNAL(valueChanged(PbProperty*,QFont)), this, SLOT(slotPropertyChanged(PbProperty*,QFont)));
}

void PbFontEditorFactory::disconnectPropertyManager(PbFontPropertyManager *manager)
{
    disconnect(manager, SIGNAL(valueChanged(PbProperty*,QFont)), this, SLOT(slotPropertyChanged(PbProperty*,QFont)));
}

QWidget *PbFontEditorFactory::createEditor(PbFontPropertyManager *manager, PbProperty *property, QWidget *parent)
{
    PbFontEditWidget *editor = d_ptr->tracker.createEditor(property, parent);
    editor->setValue(manager->value(property));
    connect(editor, SIGNAL(valueChanged(QFont)), this, SLOT(slotSetValue(QFont)));
    connect(editor, SIGNAL(destroyed(QObject*)), this, SLOT(slotEditorDestroyed(QObject*)));
    return editor;
}

void PbFontEditorFactory::slotPropertyChanged(PbProperty *property, const QFont &value)
{
    d_ptr->propertyChanged(property, value, [](PbFontEditWidget *e, const QFont &v) { e->setValue(v); }, true);
}

void PbFontEditorFactory::slotEditorDestroyed(QObject *object) { d_ptr->tracker.slotEditorDestroyed(object); }

void PbFontEditorFactory::slotSetValue(const QFont &value)
{
    PbProperty *property = nullptr;
    if (PbFontPropertyManager *manager = d_ptr->committing(sender(), &property))
        manager->setValue(property, value);
}
