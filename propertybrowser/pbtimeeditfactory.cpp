// Time-edit editors for time properties.
#include "propertybrowser/pbtimeeditfactory.h"

#include "propertybrowser/pbvalueeditors_p.h"

#include <QTimeEdit>

class PbTimeEditFactoryPrivate : public PbSingleValueEditors<QTimeEdit, PbTimePropertyManager, QTime>
{
public:
    explicit PbTimeEditFactoryPrivate(PbTimeEditFactory *factory)
        : PbSingleValueEditors(factory, {SIGNAL(valueChanged(PbProperty*,QTime)),
                                         SLOT(slotPropertyChanged(PbProperty*,QTime)),
                                         SIGNAL(timeChanged(QTime)), SLOT(slotSetValue(QTime)),
                                         [](QTimeEdit *e, const QTime &v) { e->setTime(v); },
                                         false})
    {
    }
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
    d_ptr->linkManager(manager, true);
}

void PbTimeEditFactory::disconnectPropertyManager(PbTimePropertyManager *manager)
{
    d_ptr->linkManager(manager, false);
}

QWidget *PbTimeEditFactory::createEditor(PbTimePropertyManager *manager, PbProperty *property, QWidget *parent)
{
    return d_ptr->createEditor(manager, property, parent);
}

void PbTimeEditFactory::slotPropertyChanged(PbProperty *property, const QTime &value)
{
    d_ptr->propertyChanged(property, value);
}

void PbTimeEditFactory::slotSetValue(const QTime &value)
{
    d_ptr->commit(sender(), value);
}

void PbTimeEditFactory::slotEditorDestroyed(QObject *object)
{
    d_ptr->tracker.slotEditorDestroyed(object);
}
