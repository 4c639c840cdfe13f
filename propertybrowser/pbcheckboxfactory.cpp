// Check-box editors for boolean properties.
#include "propertybrowser/pbcheckboxfactory.h"

#include "propertybrowser/pbbooledit.h"
#include "propertybrowser/pbeditortracker_p.h"
#include "propertybrowser/pbfactoryutils_p.h"

class PbCheckBoxFactoryPrivate
{
public:
    PbCheckBoxFactory *q_ptr;
    EditorTracker<PbBoolEdit> tracker;
};

PbCheckBoxFactory::PbCheckBoxFactory(QObject *parent)
    : PbAbstractEditorFactory<PbBoolPropertyManager>(parent), d_ptr(new PbCheckBoxFactoryPrivate{this, {}})
{
}

PbCheckBoxFactory::~PbCheckBoxFactory()
{
    deleteTrackedEditors(d_ptr->tracker);
    delete d_ptr;
}

static void linkManager(PbBoolPropertyManager *manager, PbCheckBoxFactory *factory, bool connectIt)
{
    static const SignalLink links[] = {
        {SIGNAL(valueChanged(PbProperty*,bool)), SLOT(slotPropertyChanged(PbProperty*,bool))},
        {SIGNAL(textVisibleChanged(PbProperty*,bool)), SLOT(slotTextVisibleChanged(PbProperty*,bool))},
    };
    linkSignals(manager, factory, links, connectIt);
}

void PbCheckBoxFactory::connectPropertyManager(PbBoolPropertyManager *manager)
{
    linkManager(manager, this, true);
}

void PbCheckBoxFactory::disconnectPropertyManager(PbBoolPropertyManager *manager)
{
    linkManager(manager, this, false);
}

QWidget *PbCheckBoxFactory::createEditor(PbBoolPropertyManager *manager, PbProperty *property, QWidget *parent)
{
    PbBoolEdit *editor = d_ptr->tracker.createEditor(property, parent);
    editor->setChecked(manager->value(property));
    editor->setTextVisible(manager->textVisible(property));
    connect(editor, SIGNAL(toggled(bool)), this, SLOT(slotSetValue(bool)));
    connect(editor, SIGNAL(destroyed(QObject*)), this, SLOT(slotEditorDestroyed(QObject*)));
    return editor;
}

void PbCheckBoxFactory::slotPropertyChanged(PbProperty *property, bool value)
{
    const QList<PbBoolEdit *> editors = d_ptr->tracker.editors(property);
    if (editors.isEmpty())
        return;
    for (PbBoolEdit *editor : editors) {
        const bool wasBlocked = editor->setCheckBoxSignalsBlocked(true);
        editor->setChecked(value);
        editor->setCheckBoxSignalsBlocked(wasBlocked);
    }
    if (PbBoolPropertyManager *manager = managerForProperty(property))
        Q_EMIT manager->valueUpdated(property, value);
}

void PbCheckBoxFactory::slotTextVisibleChanged(PbProperty *property, bool visible)
{
    if (!managerForProperty(property))
        return;
    for (PbBoolEdit *editor : d_ptr->tracker.editors(property))
        editor->setTextVisible(visible);
}

void PbCheckBoxFactory::slotSetValue(bool value)
{
    PbProperty *property = d_ptr->tracker.propertyOf(sender());
    if (PbBoolPropertyManager *manager = managerForProperty(property))
        manager->setValue(property, value);
}

void PbCheckBoxFactory::slotEditorDestroyed(QObject *object)
{
    d_ptr->tracker.slotEditorDestroyed(object);
}
