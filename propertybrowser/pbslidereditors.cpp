// Slider and scroll-bar editors of integer properties.
#include "pbslidereditors_p.h"

#include "pbfactoryutils_p.h"

void PbSliderEditors::connectManager(PbIntPropertyManager *manager, bool connectIt)
{
    static const SignalLink links[] = {
        {SIGNAL(valueChanged(PbProperty*,int)), SLOT(slotPropertyChanged(PbProperty*,int))},
        {SIGNAL(rangeChanged(PbProperty*,int,int)), SLOT(slotRangeChanged(PbProperty*,int,int))},
        {SIGNAL(singleStepChanged(PbProperty*,int)), SLOT(slotSingleStepChanged(PbProperty*,int))},
    };
    linkSignals(manager, m_factory, links, connectIt);
}

QWidget *PbSliderEditors::setUpEditor(PbIntPropertyManager *manager, PbProperty *property, QAbstractSlider *bar)
{
    tracker.initializeEditor(property, bar);
    bar->setSingleStep(manager->singleStep(property));
    bar->setRange(manager->minimum(property), manager->maximum(property));
    bar->setValue(manager->value(property));
    QObject::connect(bar, SIGNAL(valueChanged(int)), m_factory, SLOT(slotSetValue(int)));
    QObject::connect(bar, SIGNAL(destroyed(QObject*)), m_factory, SLOT(slotEditorDestroyed(QObject*)));
    return bar;
}

void PbSliderEditors::propertyChanged(PbProperty *property, int value)
{
    const QList<QAbstractSlider *> editors = tracker.editors(property);
    if (editors.isEmpty())
        return;
    updateEditorsBlocked(editors, [value](QAbstractSlider *e) { e->setValue(value); });
    if (PbIntPropertyManager *manager = m_factory->managerForProperty(property))
        Q_EMIT manager->valueUpdated(property, value);
}

void PbSliderEditors::rangeChanged(PbProperty *property, int minimum, int maximum)
{
    const QList<QAbstractSlider *> editors = tracker.editors(property);
    PbIntPropertyManager *manager = m_factory->managerForProperty(property);
    if (editors.isEmpty() || !manager)
        return;
    pushRange(editors, minimum, maximum, manager->value(property));
}

void PbSliderEditors::singleStepChanged(PbProperty *property, int step)
{
    updateEditorsBlocked(tracker.editors(property), [step](QAbstractSlider *e) { e->setSingleStep(step); });
}

void PbSliderEditors::setValue(QObject *sender, int value)
{
    PbProperty *property = tracker.propertyOf(sender);
    if (PbIntPropertyManager *manager = m_factory->managerForProperty(property))
        manager->setValue(property, value, true);
}

void PbSliderEditors::deleteEditors()
{
    deleteTrackedEditors(tracker);
}
