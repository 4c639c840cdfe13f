// Font editors for font properties.
#include "pbfonteditorfactory.h"

#include "pbfonteditwidget.h"
#include "pbdialogeditors_p.h"

class PbFontEditorFactoryPrivate : public PbDialogEditors<PbFontEditWidget, PbFontPropertyManager>
{
public:
    using PbDialogEditors<PbFontEditWidget, PbFontPropertyManager>::PbDialogEditors;
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
    return d_ptr->createEditor(manager, property, parent, SIGNAL(valueChanged(QFont)), SLOT(slotSetValue(QFont)));
}

void PbFontEditorFactory::slotPropertyChanged(PbProperty *property, const QFont &value)
{
    d_ptr->propertyChanged(property, value);
}

void PbFontEditorFactory::slotEditorDestroyed(QObject *object) { d_ptr->tracker.slotEditorDestroyed(object); }

void PbFontEditorFactory::slotSetValue(const QFont &value) { d_ptr->setValue(sender(), value); }
