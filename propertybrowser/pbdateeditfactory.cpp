// Date-edit editors for date properties, kept inside the property's range.
#include "propertybrowser/pbdateeditfactory.h"

#include "propertybrowser/pbfactoryutils_p.h"
#include "propertybrowser/pbvalueeditors_p.h"

#include <QDateEdit>

class PbDateEditFactoryPrivate : public PbValueEditors<QDateEdit, PbDatePropertyManager>
{
public:
    using PbValueEditors<QDateEdit, PbDatePropertyManager>::PbValueEditors;
};

PbDateEditFactory::PbDateEditFactory(QObject *parent)
    : PbAbstractEditorFactory<PbDatePropertyManager>(parent), d_ptr(new PbDateEditFactoryPrivate(this))
{
}

PbDateEditFactory::~PbDateEditFactory()
{
    delete d_ptr;
}

static void linkManager(PbDatePropertyManager *manager, PbDateEditFactory *factory, bool connectIt)
{
    static const SignalLink links[] = {
        {SIGNAL(valueChanged(PbProperty*,QDate)), SLOT(slotPropertyChanged(PbProperty*,QDate))},
        {SIGNAL(rangeChanged(PbProperty*,QDate,QDate)), SLOT(slotRangeChanged(PbProperty*,QDate,QDate))},
    };
    linkSignals(manager, factory, links, connectIt);
}

void PbDateEditFactory::connectPropertyManager(PbDatePropertyManager *manager)
{
    linkManager(manager, this, true);
}

void PbDateEditFactory::disconnectPropertyManager(PbDatePropertyManager *manager)
{
    linkManager(manager, this, false);
}

QWidget *PbDateEditFactory::createEditor(PbDatePropertyManager *manager, PbProperty *property, QWidget *parent)
{
    QDateEdit *editor = d_ptr->tracker.createEditor(property, parent);
    editor->setCalendarPopup(true);
    editor->setDateRange(manager->minimum(property), manager->maximum(property));
    editor->setDate(manager->value(property));
    connect(editor, SIGNAL(dateChanged(QDate)), this, SLOT(slotSetValue(QDate)));
    connect(editor, SIGNAL(destroyed(QObject*)), this, SLOT(slotEditorDestroyed(QObject*)));
    return editor;
}

void PbDateEditFactory::slotPropertyChanged(PbProperty *property, const QDate &value)
{
    d_ptr->propertyChanged(property, value, [](QDateEdit *e, const QDate &v) { e->setDate(v); }, false);
}

void PbDateEditFactory::slotRangeChanged(PbProperty *property, const QDate &minimum, const QDate &maximum)
{
    const QList<QDateEdit *> editors = d_ptr->tracker.editors(property);
    PbDatePropertyManager *manager = managerForProperty(property);
    if (editors.isEmpty() || !manager)
        return;
    const QDate value = manager->value(property);
    updateEditorsBlocked(editors, [&](QDateEdit *e) {
        e->setDateRange(minimum, maximum);
        e->setDate(value);
    });
}

void PbDateEditFactory::slotSetValue(const QDate &value)
{
    PbProperty *property = nullptr;
    if (PbDatePropertyManager *manager = d_ptr->committing(sender(), &property))
        manager->setValue(property, value, false);
}

void PbDateEditFactory::slotEditorDestroyed(QObject *object)
{
    d_ptr->tracker.slotEditorDestroyed(object);
}
