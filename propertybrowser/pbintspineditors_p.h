// Private part shared by the two integer spin-box factories (plain spin box,
// spin box with a button): they differ only in the editor type, in how the
// editor is set up and in the commit's change checking.
#ifndef PBINTSPINEDITORS_P_H
#define PBINTSPINEDITORS_P_H

#include "propertybrowser/pbabstracteditorfactory.h"
#include "propertybrowser/pbeditortracker_p.h"
#include "propertybrowser/pbfactoryutils_p.h"
#include "propertybrowser/pbintpropertymanager.h"

template <class Editor>
class PbIntSpinEditors
{
public:
    explicit PbIntSpinEditors(PbAbstractEditorFactory<PbIntPropertyManager> *factory) : m_factory(factory) {}
    ~PbIntSpinEditors() { deleteTrackedEditors(tracker); }

    void connectManager(PbIntPropertyManager *manager, bool connectIt)
    {
        static const SignalLink links[] = {
            {SIGNAL(valueChanged(PbProperty*,int)), SLOT(slotPropertyChanged(PbProperty*,int))},
            {SIGNAL(rangeChanged(PbProperty*,int,int)), SLOT(slotRangeChanged(PbProperty*,int,int))},
            {SIGNAL(singleStepChanged(PbProperty*,int)), SLOT(slotSingleStepChanged(PbProperty*,int))},
            {SIGNAL(readOnlyChanged(PbProperty*,bool)), SLOT(slotReadOnlyChanged(PbProperty*,bool))},
        };
        linkSignals(manager, m_factory, links, connectIt);
    }

    /// A new editor holding the property's step, range, value and read-only flag.
    Editor *createEditor(PbIntPropertyManager *manager, PbProperty *property, QWidget *parent)
    {
        Editor *editor = tracker.createEditor(property, parent);
        editor->setSingleStep(manager->singleStep(property));
        editor->setRange(manager->minimum(property), manager->maximum(property));
        editor->setValue(manager->value(property));
        editor->setKeyboardTracking(false);
        editor->setReadOnly(manager->isReadOnly(property));
        return editor;
    }

    void propertyChanged(PbProperty *property, int value)
    {
        const QList<Editor *> editors = tracker.editors(property);
        if (editors.isEmpty())
            return;
        pushChangedValue(editors, value);
        if (PbIntPropertyManager *manager = m_factory->managerForProperty(property))
            Q_EMIT manager->valueUpdated(property, value);
    }

    void rangeChanged(PbProperty *property, int minimum, int maximum)
    {
        const QList<Editor *> editors = tracker.editors(property);
        PbIntPropertyManager *manager = m_factory->managerForProperty(property);
        if (editors.isEmpty() || !manager)
            return;
        pushRange(editors, minimum, maximum, manager->value(property));
    }

    void singleStepChanged(PbProperty *property, int step)
    {
        updateEditorsBlocked(tracker.editors(property), [step](Editor *e) { e->setSingleStep(step); });
    }

    void readOnlyChanged(PbProperty *property, bool readOnly)
    {
        if (!m_factory->managerForProperty(property))
            return;
        updateEditorsBlocked(tracker.editors(property), [readOnly](Editor *e) { e->setReadOnly(readOnly); });
    }

    /// The property and manager of a committing editor; null manager when
    /// the sender is not a tracked editor or its manager is not served.
    PbIntPropertyManager *committing(QObject *sender, PbProperty **property) const
    {
        *property = tracker.propertyOf(sender);
        return m_factory->managerForProperty(*property);
    }

    EditorTracker<Editor> tracker;

private:
    PbAbstractEditorFactory<PbIntPropertyManager> *m_factory;
};

#endif
