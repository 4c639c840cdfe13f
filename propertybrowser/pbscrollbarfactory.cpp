// Horizontal scroll bar editors for integer properties.
#include "propertybrowser/pbscrollbarfactory.h"

#include "propertybrowser/pbslidereditors_p.h"

#include <QScrollBar>

class PbScrollBarFactoryPrivate : public PbSliderEditors<QScrollBar>
{
public:
    using PbSliderEditors<QScrollBar>::PbSliderEditors;
};

PbScrollBarFactory::PbScrollBarFactory(QObject *parent)
    : PbAbstractEditorFactory<PbIntPropertyManager>(parent), d_ptr(new PbScrollBarFactoryPrivate(this))
{
}

PbScrollBarFactory::~PbScrollBarFactory()
{
    d_ptr->deleteEditors();
    delete d_ptr;
}

void PbScrollBarFactory::connectPropertyManager(PbIntPropertyManager *manager)
{
    d_ptr->connectManager(manager, true);
}

void PbScrollBarFactory::disconnectPropertyManager(PbIntPropertyManager *manager)
{
    d_ptr->connectManager(manager, false);
}

QWidget *PbScrollBarFactory::createEditor(PbIntPropertyManager *manager, PbProperty *property, QWidget *parent)
{
    return d_ptr->createEditor(manager, property, parent);
}

void PbScrollBarFactory::slotPropertyChanged(PbProperty *property, int value)
{
    d_ptr->propertyChanged(property, value);
}

void PbScrollBarFactory::slotRangeChanged(PbProperty *property, int minimum, int maximum)
{
    d_ptr->rangeChanged(property, minimum, maximum);
}

void PbScrollBarFactory::slotSingleStepChanged(PbProperty *property, int step)
{
    d_ptr->singleStepChanged(property, step);
}

void PbScrollBarFactory::slotSetValue(int value)
{
    d_ptr->setValue(sender(), value);
}

void PbScrollBarFactory::slotEditorDestroyed(QObject *object)
{
    d_ptr->tracker.slotEditorDestroyed(object);
}
