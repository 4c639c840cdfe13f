// Time-edit editors for time properties.
#include "propertybrowser/pbtimeeditfactory.h"

#include "propertybrowser/pbvalueeditors_p.h"

#include <QTimeEdit>

class PbTimeEditFactoryPrivate : public PbValueEditors<QTimeEdit, PbTimePropertyManager>
{
public:
    using PbValueEditors<QTimeEdit, PbTimePropertyManager>::PbValueEditors;
};

PbTimeEditFactory::PbTimeEditFactory(QObject *parent)
    : PbAbstractEditorFactory<PbTimePropertyManager>(parent), d_ptr(new PbTimeEditFactoryPrivate(this))
{
}

PbTimeEditFactory::~PbTimeEditFactory()
{
    delete d_ptr;
}

void PbTimeEditFactory::connectPropertyManager(PbTimePropertyManager *manager)
{
    connect(manager, SIGNAL(valueChanged(PbProperty*,QTime)), this, SLOT(slotPropertyChanged(PbProperty*,QTime)));
}

void PbTimeEditFactory::disconnectPropertyManager(PbTimePropertyManager *manager)
{
    disconnect(manager, SIGNAL(valueChanged(PbProperty*,QTime)), this, SLOT(slotPropertyChanged(PbProperty*,QTime)));
}

QWidget *PbTimeEditFactory::createEditor(PbTimePropertyManager *manager, PbProperty *property, QWidget *parent)
{
    QTimeEdit *editor = d_ptr->tracker.createEditor(property, parent);
    editor->setTime(manager->value(property));
    connect(editor, SIGNAL(timeChanged(QTime)), this, SLOT(slotSetValue(QTime)));
    connect(editor, SIGNAL(destroyed(QObject*)), this, SLOT(slotEditorDestroyed(QObject*)));
    return editor;
}

void PbTimeEditFactory::slotPropertyChanged(PbProperty *property, const QTime &value)
{
    d_ptr->propertyChanged(
        property, value, [](QTimeEdit *e, const QTime &v) { e->setTime(v); }, false);
}

void PbTimeEditFactory::slotSetValue(const QTime &value)
{
    PbProperty *property = nullptr;
    if (PbTimePropertyManager *manager = d_ptr->committing(sender(), &property))
        manager->setValue(property, value);
}

void PbTimeEditFactory::slotEditorDestroyed(QObject *object)
{
    d_ptr->tracker.slotEditorDestroyed(object);
}
