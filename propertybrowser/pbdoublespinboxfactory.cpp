// Floating-point editors that commit on Enter or Return.
#include "propertybrowser/pbdoublespinboxfactory.h"

#include "propertybrowser/pbdoublespinbox2.h"
#include "propertybrowser/pbeditortracker_p.h"
#include "propertybrowser/pbfactoryutils_p.h"

class PbDoubleSpinBoxFactoryPrivate
{
public:
    PbDoubleSpinBoxFactory *q_ptr;
    EditorTracker<PbDoubleSpinBox2> tracker;
};

PbDoubleSpinBoxFactory::PbDoubleSpinBoxFactory(QObject *parent)
    : PbAbstractEditorFactory<PbDoublePropertyManager>(parent),
      d_ptr(new PbDoubleSpinBoxFactoryPrivate{this, {}})
{
}

PbDoubleSpinBoxFactory::~PbDoubleSpinBoxFactory()
{
    deleteTrackedEditors(d_ptr->tracker);
    delete d_ptr;
}

static void linkManager(PbDoublePropertyManager *manager, PbDoubleSpinBoxFactory *factory, bool connectIt)
{
    static const SignalLink links[] = {
        {SIGNAL(valueChanged(PbProperty*,double)), SLOT(slotPropertyChanged(PbProperty*,double))},
        {SIGNAL(rangeChanged(PbProperty*,double,double)), SLOT(slotRangeChanged(PbProperty*,double,double))},
        {SIGNAL(singleStepChanged(PbProperty*,double)), SLOT(slotSingleStepChanged(PbProperty*,double))},
        {SIGNAL(decimalsChanged(PbProperty*,int)), SLOT(slotDecimalsChanged(PbProperty*,int))},
        {SIGNAL(readOnlyChanged(PbProperty*,bool)), SLOT(slotReadOnlyChanged(PbProperty*,bool))},
    };
    linkSignals(manager, factory, links, connectIt);
}

void PbDoubleSpinBoxFactory::connectPropertyManager(PbDoublePropertyManager *manager)
{
    linkManager(manager, this, true);
}

void PbDoubleSpinBoxFactory::disconnectPropertyManager(PbDoublePropertyManager *manager)
{
    linkManager(manager, this, false);
}

QWidget *PbDoubleSpinBoxFactory::createEditor(PbDoublePropertyManager *manager, PbProperty *property,
                                              QWidget *parent)
{
    PbDoubleSpinBox2 *editor = d_ptr->tracker.createEditor(property, parent);
    editor->setSingleStep(manager->singleStep(property));
    editor->setDecimals(manager->decimals(property));
    editor->setRange(manager->minimum(property), manager->maximum(property));
    editor->setValue(manager->value(property));
    editor->setKeyboardTracking(false);
    editor->setReadOnly(manager->isReadOnly(property));
    connect(editor, SIGNAL(enterPressed()), this, SLOT(slotSetValue()));
    connect(editor, SIGNAL(destroyed(QObject*)), this, SLOT(slotEditorDestroyed(QObject*)));
    return editor;
}

void PbDoubleSpinBoxFactory::slotPropertyChanged(PbProperty *property, double value)
{
    const QList<PbDoubleSpinBox2 *> editors = d_ptr->tracker.editors(property);
    if (editors.isEmpty())
        return;
    pushChangedValue(editors, value);
    if (PbDoublePropertyManager *manager = managerForProperty(property))
        Q_EMIT manager->valueUpdated(property, value);
}

void PbDoubleSpinBoxFactory::slotRangeChanged(PbProperty *property, double minimum, double maximum)
{
    const QList<PbDoubleSpinBox2 *> editors = d_ptr->tracker.editors(property);
    PbDoublePropertyManager *manager = managerForProperty(property);
    if (editors.isEmpty() || !manager)
        return;
    pushRange(editors, minimum, maximum, manager->value(property));
}

void PbDoubleSpinBoxFactory::slotSingleStepChanged(PbProperty *property, double step)
{
    if (!managerForProperty(property))
        return;
    updateEditorsBlocked(d_ptr->tracker.editors(property), [step](PbDoubleSpinBox2 *e) { e->setSingleStep(step); });
}

void PbDoubleSpinBoxFactory::slotDecimalsChanged(PbProperty *property, int decimals)
{
    PbDoublePropertyManager *manager = managerForProperty(property);
    if (!manager)
        return;
    const double value = manager->value(property);
    updateEditorsBlocked(d_ptr->tracker.editors(property), [&](PbDoubleSpinBox2 *e) {
        e->setDecimals(decimals);
        e->setValue(value);
    });
}

void PbDoubleSpinBoxFactory::slotReadOnlyChanged(PbProperty *property, bool readOnly)
{
    if (!managerForProperty(property))
        return;
    updateEditorsBlocked(d_ptr->tracker.editors(property),
                         [readOnly](PbDoubleSpinBox2 *e) { e->setReadOnly(readOnly); });
}

void PbDoubleSpinBoxFactory::slotSetValue()
{
    PbDoubleSpinBox2 *editor = d_ptr->tracker.editorOf(sender());
    PbProperty *property = d_ptr->tracker.propertyOf(sender());
    PbDoublePropertyManager *manager = managerForProperty(property);
    if (!editor || !manager)
        return;
    manager->setValue(property, editor->value(), manager->isReadOnly(property));
}

void PbDoubleSpinBoxFactory::slotEditorDestroyed(QObject *object)
{
    d_ptr->tracker.slotEditorDestroyed(object);
}
