// Date-time-edit editors for date-time properties.
#include "propertybrowser/pbdatetimeeditfactory.h"

#include "propertybrowser/pbvalueeditors_p.h"

#include <QDateTimeEdit>

class PbDateTimeEditFactoryPrivate : public PbValueEditors<QDateTimeEdit, PbDateTimePropertyManager>
{
public:
    using PbValueEditors<QDateTimeEdit, PbDateTimePropertyManager>::PbValueEditors;
};

PbDateTimeEditFactory::PbDateTimeEditFactory(QObject *parent)
    : PbAbstractEditorFactory<PbDateTimePropertyManager>(parent), d_ptr(new PbDateTimeEditFactoryPrivate(this))
{
}

PbDateTimeEditFactory::~PbDateTimeEditFactory()
{
    delete d_ptr;
}

void PbDateTimeEditFactory::connectPropertyManager(PbDateTimePropertyManager *manager)
{
    connect(manager, SIGNAL(valueChanged(PbProperty*,QDateTime)), this,
            SLOT(slotPropertyChanged(PbProperty*,QDateTime)));
}

void PbDateTimeEditFactory::disconnectPropertyManager(PbDateTimePropertyManager *manager)
{
    disconnect(manager, SIGNAL(valueChanged(PbProperty*,QDateTime)), this,
               SLOT(slotPropertyChanged(PbProperty*,QDateTime)));
}

QWidget *PbDateTimeEditFactory::createEditor(PbDateTimePropertyManager *manager, PbProperty *property, QWidget *parent)
{
    QDateTimeEdit *editor = d_ptr->tracker.createEditor(property, parent);
    editor->setDateTime(manager->value(property));
    connect(editor, SIGNAL(dateTimeChanged(QDateTime)), this, SLOT(slotSetValue(QDateTime)));
    connect(editor, SIGNAL(destroyed(QObject*)), this, SLOT(slotEditorDestroyed(QObject*)));
    return editor;
}

void PbDateTimeEditFactory::slotPropertyChanged(PbProperty *property, const QDateTime &value)
{
    d_ptr->propertyChanged(
        property, value, [](QDateTimeEdit *e, const QDateTime &v) { e->setDateTime(v); }, false);
}

void PbDateTimeEditFactory::slotSetValue(const QDateTime &value)
{
    PbProperty *property = nullptr;
    if (PbDateTimePropertyManager *manager = d_ptr->committing(sender(), &property))
        manager->setValue(property, value);
}

void PbDateTimeEditFactory::slotEditorDestroyed(QObject *object)
{
    d_ptr->tracker.slotEditorDestroyed(object);
}
