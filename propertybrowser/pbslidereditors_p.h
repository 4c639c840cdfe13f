// Private part shared by the slider and scroll-bar factories: both edit an
// integer property with a horizontal QAbstractSlider of their own kind and
// commit every move.
#ifndef PBSLIDEREDITORS_P_H
#define PBSLIDEREDITORS_P_H

#include "propertybrowser/pbabstracteditorfactory.h"
#include "propertybrowser/pbeditortracker_p.h"
#include "propertybrowser/pbfactoryutils_p.h"
#include "propertybrowser/pbintpropertymanager.h"

template <class Bar>
class PbSliderEditors
{
public:
    explicit PbSliderEditors(PbAbstractEditorFactory<PbIntPropertyManager> *factory) : m_factory(factory) {}

    void connectManager(PbIntPropertyManager *manager, bool connectIt)
    {
        static const SignalLink links[] = {
            {SIGNAL(valueChanged(PbProperty*,int)), SLOT(slotPropertyChanged(PbProperty*,int))},
            {SIGNAL(rangeChanged(PbProperty*,int,int)), SLOT(slotRangeChanged(PbProperty*,int,int))},
            {SIGNAL(singleStepChanged(PbProperty*,int)), SLOT(slotSingleStepChanged(PbProperty*,int))},
        };
        linkSignals(manager, m_factory, links, connectIt);
    }

    /// A new horizontal bar under `parent`, recorded, set up and wired to the factory.
    QWidget *createEditor(PbIntPropertyManager *manager, PbProperty *property, QWidget *parent)
    {
        Bar *bar = new Bar(Qt::Horizontal, parent);
        tracker.initializeEditor(property, bar);
        bar->setSingleStep(manager->singleStep(property));
        bar->setRange(manager->minimum(property), manager->maximum(property));
        bar->setValue(manager->value(property));
        QObject::connect(bar, SIGNAL(valueChanged(int)), m_factory, SLOT(slotSetValue(int)));
        QObject::connect(bar, SIGNAL(destroyed(QObject*)), m_factory, SLOT(slotEditorDestroyed(QObject*)));
        return bar;
    }

    void propertyChanged(PbProperty *property, int value)
    {
        const QList<Bar *> editors = tracker.editors(property);
        if (editors.isEmpty())
            return;
        updateEditorsBlocked(editors, [value](Bar *e) { e->setValue(value); });
        if (PbIntPropertyManager *manager = m_factory->managerForProperty(property))
            Q_EMIT manager->valueUpdated(property, value);
    }

    void rangeChanged(PbProperty *property, int minimum, int maximum)
    {
        const QList<Bar *> editors = tracker.editors(property);
        PbIntPropertyManager *manager = m_factory->managerForProperty(property);
        if (editors.isEmpty() || !manager)
            return;
        pushRange(editors, minimum, maximum, manager->value(property));
    }

    void singleStepChanged(PbProperty *property, int step)
    {
        updateEditorsBlocked(tracker.editors(property), [step](Bar *e) { e->setSingleStep(step); });
    }

    void setValue(QObject *sender, int value)
    {
        PbProperty *property = tracker.propertyOf(sender);
        if (PbIntPropertyManager *manager = m_factory->managerForProperty(property))
            manager->setValue(property, value, true);
    }

    void deleteEditors() { deleteTrackedEditors(tracker); }

    EditorTracker<Bar> tracker;

private:
    PbAbstractEditorFactory<PbIntPropertyManager> *m_factory;
};

#endif
