// Text editors with a button, committing on Enter or Return.
#include "propertybrowser/pblineeditfactory2.h"

#include "propertybrowser/pblineeditcore_p.h"

class PbLineEditFactory2Private
{
public:
    PbLineEditFactory2 *q_ptr;
    LineEditFactoryCore<PbLineEditWidget2> core;
};

PbLineEditFactory2::PbLineEditFactory2(QObject *parent)
    : PbAbstractEditorFactory<PbStringPropertyManager>(parent), d_ptr(new PbLineEditFactory2Private{this, {}})
{
}

PbLineEditFactory2::~PbLineEditFactory2()
{
    deleteTrackedEditors(d_ptr->core.tracker);
    delete d_ptr;
}

void PbLineEditFactory2::connectPropertyManager(PbStringPropertyManager *manager)
{
    linkStringManager(manager, this, true);
}

void PbLineEditFactory2::disconnectPropertyManager(PbStringPropertyManager *manager)
{
    linkStringManager(manager, this, false);
}

QWidget *PbLineEditFactory2::createEditor(PbStringPropertyManager *manager, PbProperty *property, QWidget *parent)
{
    PbLineEditWidget2 *editor = d_ptr->core.createEditor(manager, property, parent);
    editor->setBtnVisible(manager->btnVisibility(property));
    editor->setBtnCaption(manager->btnCaption(property));
    connect(editor, SIGNAL(valueChanged()), this, SLOT(slotSetValue()));
    connect(editor, SIGNAL(btnClicked()), this, SLOT(slotBtnClicked()));
    connect(editor, SIGNAL(destroyed(QObject*)), this, SLOT(slotEditorDestroyed(QObject*)));
    return editor;
}

void PbLineEditFactory2::slotPropertyChanged(PbProperty *property, const QString &value)
{
    d_ptr->core.valueChanged(managerForProperty(property), property, value);
}

void PbLineEditFactory2::slotRegExpChanged(PbProperty *property, const QRegExp &regExp)
{
    d_ptr->core.regExpChanged(managerForProperty(property), property, regExp);
}

void PbLineEditFactory2::slotInputMaskChanged(PbProperty *property, const QString &mask)
{
    d_ptr->core.inputMaskChanged(managerForProperty(property), property, mask);
}

void PbLineEditFactory2::slotEchoModeChanged(PbProperty *property, int mode)
{
    d_ptr->core.echoModeChanged(managerForProperty(property), property, mode);
}

void PbLineEditFactory2::slotReadOnlyChanged(PbProperty *property, bool readOnly)
{
    d_ptr->core.readOnlyChanged(managerForProperty(property), property, readOnly);
}

void PbLineEditFactory2::slotSetValue()
{
    d_ptr->core.commit(sender(), managerForProperty(d_ptr->core.tracker.propertyOf(sender())));
}

void PbLineEditFactory2::slotBtnClicked()
{
    PbProperty *property = d_ptr->core.tracker.propertyOf(sender());
    if (PbStringPropertyManager *manager = managerForProperty(property))
        Q_EMIT manager->btnClicked(property);
}

void PbLineEditFactory2::slotEditorDestroyed(QObject *object)
{
    d_ptr->core.tracker.slotEditorDestroyed(object);
}
