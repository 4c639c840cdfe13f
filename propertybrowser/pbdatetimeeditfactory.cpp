// Date-time-edit editors for date-time properties.
#include "propertybrowser/pbdatetimeeditfactory.h"

#include "propertybrowser/pbvalueeditors_p.h"

#include <QDateTimeEdit>

class PbDateTimeEditFactoryPrivate : public PbSingleValueEditors<QDateTimeEdit, PbDateTimePropertyManager, QDateTime>
{
public:
    explicit PbDateTimeEditFactoryPrivate(PbDateTimeEditFactory *factory)
        : PbSingleValueEditors(factory, {SIGNAL(valueChanged(PbProperty*,QDateTime)),
                                         SLOT(slotPropertyChanged(PbProperty*,QDateTime)),
                                         SIGNAL(dateTimeChanged(QDateTime)), SLOT(slotSetValue(QDateTime)),
                                         [](QDateTimeEdit *e, const QDateTime &v) { e->setDateTime(v); },
                                         false})
    {
    }
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
    d_ptr->linkManager(manager, true);
}

void PbDateTimeEditFactory::disconnectPropertyManager(PbDateTimePropertyManager *manager)
{
    d_ptr->linkManager(manager, false);
}

QWidget *PbDateTimeEditFactory::createEditor(PbDateTimePropertyManager *manager, PbProperty *property, QWidget *parent)
{
    return d_ptr->createEditor(manager, property, parent);
}

void PbDateTimeEditFactory::slotPropertyChanged(PbProperty *property, const QDateTime &value)
{
    d_ptr->propertyChanged(property, value);
}

void PbDateTimeEditFactory::slotSetValue(const QDateTime &value)
{
    d_ptr->commit(sender(), value);
}

void PbDateTimeEditFactory::slotEditorDestroyed(QObject *object)
{
    d_ptr->tracker.slotEditorDestroyed(object);
}
