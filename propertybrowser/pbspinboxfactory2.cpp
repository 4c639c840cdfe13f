// Integer editors with a button, committing on Enter or Return.
#include "propertybrowser/pbspinboxfactory2.h"

#include "propertybrowser/pbintspineditors_p.h"
#include "propertybrowser/pbspinboxeditwidget2.h"

class PbSpinBoxFactory2Private : public PbIntSpinEditors<PbSpinBoxEditWidget2>
{
public:
    using PbIntSpinEditors<PbSpinBoxEditWidget2>::PbIntSpinEditors;
};

PbSpinBoxFactory2::PbSpinBoxFactory2(QObject *parent)
    : PbAbstractEditorFactory<PbIntPropertyManager>(parent), d_ptr(new PbSpinBoxFactory2Private(this))
{
}

PbSpinBoxFactory2::~PbSpinBoxFactory2()
{
    delete d_ptr;
}

void PbSpinBoxFactory2::connectPropertyManager(PbIntPropertyManager *manager)
{
    d_ptr->connectManager(manager, true);
}

void PbSpinBoxFactory2::disconnectPropertyManager(PbIntPropertyManager *manager)
{
    d_ptr->connectManager(manager, false);
}

QWidget *PbSpinBoxFactory2::createEditor(PbIntPropertyManager *manager, PbProperty *property, QWidget *parent)
{
    PbSpinBoxEditWidget2 *editor = d_ptr->createEditor(manager, property, parent);
    // The button is read once: later manager changes do not reach this editor.
    editor->setBtnVisible(manager->btnVisibility(property));
    editor->setBtnCaption(manager->btnCaption(property));
    connect(editor, SIGNAL(valueChanged(int)), this, SLOT(slotSetValue(int)));
    connect(editor, SIGNAL(scriptCalled()), this, SLOT(slotScriptCalled()));
    connect(editor, SIGNAL(destroyed(QObject*)), this, SLOT(slotEditorDestroyed(QObject*)));
    return editor;
}

void PbSpinBoxFactory2::slotPropertyChanged(PbProperty *property, int value)
{
    d_ptr->propertyChanged(property, value);
}

void PbSpinBoxFactory2::slotRangeChanged(PbProperty *property, int minimum, int maximum)
{
    d_ptr->rangeChanged(property, minimum, maximum);
}

void PbSpinBoxFactory2::slotSingleStepChanged(PbProperty *property, int step)
{
    d_ptr->singleStepChanged(property, step);
}

void PbSpinBoxFactory2::slotReadOnlyChanged(PbProperty *property, bool readOnly)
{
    d_ptr->readOnlyChanged(property, readOnly);
}

void PbSpinBoxFactory2::slotSetValue(int value)
{
    // An editable parameter is announced on every Enter, a read-only one
    // only when the value changed.
    PbProperty *property = nullptr;
    if (PbIntPropertyManager *manager = d_ptr->committing(sender(), &property))
        manager->setValue(property, value, manager->isReadOnly(property));
}

void PbSpinBoxFactory2::slotScriptCalled()
{
    PbProperty *property = nullptr;
    if (PbIntPropertyManager *manager = d_ptr->committing(sender(), &property))
        Q_EMIT manager->scriptCalled(property);
}

void PbSpinBoxFactory2::slotEditorDestroyed(QObject *object)
{
    d_ptr->tracker.slotEditorDestroyed(object);
}
