// Plain line-edit editors for text properties, committing on Enter or Return.
#include "propertybrowser/pblineeditfactory.h"

#include "propertybrowser/pblineeditcore_p.h"

class PbLineEditFactoryPrivate
{
public:
    PbLineEditFactory *q_ptr;
    LineEditFactoryCore<QLineEdit> core;
};

PbLineEditFactory::PbLineEditFactory(QObject *parent)
    : PbAbstractEditorFactory<PbStringPropertyManager>(parent), d_ptr(new PbLineEditFactoryPrivate{this, {}})
{
}

PbLineEditFactory::~PbLineEditFactory()
{
    deleteTrackedEditors(d_ptr->core.tracker);
    delete d_ptr;
}

void PbLineEditFactory::connectPropertyManager(PbStringPropertyManager *manager)
{
    linkStringManager(manager, this, true);
}

void PbLineEditFactory::disconnectPropertyManager(PbStringPropertyManager *manager)
{
    linkStringManager(manager, this, false);
}

QWidget *PbLineEditFactory::createEditor(PbStringPropertyManager *manager, PbProperty *property, QWidget *parent)
{
    QLineEdit *editor = d_ptr->core.createEditor(manager, property, parent);
    connect(editor, SIGNAL(returnPressed()), this, SLOT(slotSetValue()));
    connect(editor, SIGNAL(destroyed(QObject*)), this, SLOT(slotEditorDestroyed(QObject*)));
    return editor;
}

void PbLineEditFactory::slotPropertyChanged(PbProperty *property, const QString &value)
{
    d_ptr->core.valueChanged(managerForProperty(property), property, value);
}

void PbLineEditFactory::slotRegExpChanged(PbProperty *property, const QRegExp &regExp)
{
    d_ptr->core.regExpChanged(managerForProperty(property), property, regExp);
}

void PbLineEditFactory::slotInputMaskChanged(PbProperty *property, const QString &mask)
{
    d_ptr->core.inputMaskChanged(managerForProperty(property), property, mask);
}

void PbLineEditFactory::slotEchoModeChanged(PbProperty *property, int mode)
{
    d_ptr->core.echoModeChanged(managerForProperty(property), property, mode);
}

void PbLineEditFactory::slotReadOnlyChanged(PbProperty *property, bool readOnly)
{
    d_ptr->core.readOnlyChanged(managerForProperty(property), property, readOnly);
}

void PbLineEditFactory::slotSetValue()
{
    d_ptr->core.commit(sender(), managerForProperty(d_ptr->core.tracker.propertyOf(sender())));
}

void PbLineEditFactory::slotEditorDestroyed(QObject *object)
{
    d_ptr->core.tracker.slotEditorDestroyed(object);
}
