// Color editors for colour properties.
#include "pbcoloreditorfactory.h"

#include "pbcoloreditwidget.h"
#include "pbdialogeditors_p.h"

class PbColorEditorFactoryPrivate : public PbDialogEditors<PbColorEditWidget, PbColorPropertyManager>
{
public:
    using PbDialogEditors<PbColorEditWidget, PbColorPropertyManager>::PbDialogEditors;
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
    return d_ptr->createEditor(manager, property, parent, SIGNAL(valueChanged(QColor)), SLOT(slotSetValue(QColor)));
}

void PbColorEditorFactory::slotPropertyChanged(PbProperty *property, const QColor &value)
{
    d_ptr->propertyChanged(property, value);
}

void PbColorEditorFactory::slotEditorDestroyed(QObject *object) { d_ptr->tracker.slotEditorDestroyed(object); }

void PbColorEditorFactory::slotSetValue(const QColor &value) { d_ptr->setValue(sender(), value); }
