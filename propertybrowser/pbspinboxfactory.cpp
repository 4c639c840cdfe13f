// Plain spin-box editors for integer properties.
#include "propertybrowser/pbspinboxfactory.h"

#include "propertybrowser/pbintspineditors_p.h"

#include <QSpinBox>

class PbSpinBoxFactoryPrivate : public PbIntSpinEditors<QSpinBox>
{
public:
    using PbIntSpinEditors<QSpinBox>::PbIntSpinEditors;
};

PbSpinBoxFactory::PbSpinBoxFactory(QObject *parent)
    : PbAbstractEditorFactory<PbIntPropertyManager>(parent), d_ptr(new PbSpinBoxFactoryPrivate(this))
{
}

PbSpinBoxFactory::~PbSpinBoxFactory()
{
    delete d_ptr;
}

void PbSpinBoxFactory::connectPropertyManager(PbIntPropertyManager *manager)
{
    d_ptr->connectManager(manager, true);
}

void PbSpinBoxFactory::disconnectPropertyManager(PbIntPropertyManager *manager)
{
    d_ptr->connectManager(manager, false);
}

QWidget *PbSpinBoxFactory::createEditor(PbIntPropertyManager *manager, PbProperty *property, QWidget *parent)
{
    QSpinBox *editor = d_ptr->createEditor(manager, property, parent);
    connect(editor, SIGNAL(valueChanged(int)), this, SLOT(slotSetValue(int)));
    connect(editor, SIGNAL(destroyed(QObject*)), this, SLOT(slotEditorDestroyed(QObject*)));
    return editor;
}

void PbSpinBoxFactory::slotPropertyChanged(PbProperty *property, int value)
{
    d_ptr->propertyChanged(property, value);
}

void PbSpinBoxFactory::slotRangeChanged(PbProperty *property, int minimum, int maximum)
{
    d_ptr->rangeChanged(property, minimum, maximum);
}

void PbSpinBoxFactory::slotSingleStepChanged(PbProperty *property, int step)
{
    d_ptr->singleStepChanged(property, step);
}

void PbSpinBoxFactory::slotReadOnlyChanged(PbProperty *property, bool readOnly)
{
    d_ptr->readOnlyChanged(property, readOnly);
}

void PbSpinBoxFactory::slotSetValue(int value)
{
    // Every settled value is committed and announced, changed or not.
    PbProperty *property = nullptr;
    if (PbIntPropertyManager *manager = d_ptr->committing(sender(), &property))
        manager->setValue(property, value, false);
}

void PbSpinBoxFactory::slotEditorDestroyed(QObject *object)
{
    d_ptr->tracker.slotEditorDestroyed(object);
}
