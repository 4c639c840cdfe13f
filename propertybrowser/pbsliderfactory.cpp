// Horizontal slider editors for integer properties.
#include "propertybrowser/pbsliderfactory.h"

#include "propertybrowser/pbslidereditors_p.h"

#include <QSlider>

class PbSliderFactoryPrivate : public PbSliderEditors<QSlider>
{
public:
    using PbSliderEditors<QSlider>::PbSliderEditors;
};

PbSliderFactory::PbSliderFactory(QObject *parent)
    : PbAbstractEditorFactory<PbIntPropertyManager>(parent), d_ptr(new PbSliderFactoryPrivate(this))
{
}

PbSliderFactory::~PbSliderFactory()
{
    d_ptr->deleteEditors();
    delete d_ptr;
}

void PbSliderFactory::connectPropertyManager(PbIntPropertyManager *manager)
{
    d_ptr->connectManager(manager, true);
}

void PbSliderFactory::disconnectPropertyManager(PbIntPropertyManager *manager)
{
    d_ptr->connectManager(manager, false);
}

QWidget *PbSliderFactory::createEditor(PbIntPropertyManager *manager, PbProperty *property, QWidget *parent)
{
    return d_ptr->createEditor(manager, property, parent);
}

void PbSliderFactory::slotPropertyChanged(PbProperty *property, int value)
{
    d_ptr->propertyChanged(property, value);
}

void PbSliderFactory::slotRangeChanged(PbProperty *property, int minimum, int maximum)
{
    d_ptr->rangeChanged(property, minimum, maximum);
}

void PbSliderFactory::slotSingleStepChanged(PbProperty *property, int step)
{
    d_ptr->singleStepChanged(property, step);
}

void PbSliderFactory::slotSetValue(int value)
{
    d_ptr->setValue(sender(), value);
}

void PbSliderFactory::slotEditorDestroyed(QObject *object)
{
    d_ptr->tracker.slotEditorDestroyed(object);
}
