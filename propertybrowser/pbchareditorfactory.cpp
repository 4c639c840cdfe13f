// Character editors for character properties; a pushed character is announced.
#include "propertybrowser/pbchareditorfactory.h"

#include "propertybrowser/pbvalueeditors_p.h"

#include "propertybrowser/pbcharedit.h"

class PbCharEditorFactoryPrivate : public PbSingleValueEditors<PbCharEdit, PbCharPropertyManager, QChar>
{
public:
    explicit PbCharEditorFactoryPrivate(PbCharEditorFactory *factory)
        : PbSingleValueEditors(factory, {SIGNAL(valueChanged(PbProperty*,QChar)),
                                         SLOT(slotPropertyChanged(PbProperty*,QChar)),
                                         SIGNAL(valueChanged(QChar)), SLOT(slotSetValue(QChar)),
                                         [](PbCharEdit *e, const QChar &v) { e->setValue(v); },
                                         true})
    {
    }
};

PbCharEditorFactory::PbCharEditorFactory(QObject *parent)
    : PbAbstractEditorFactory<PbCharPropertyManager>(parent), d_ptr(new PbCharEditorFactoryPrivate(this))
{
}

PbCharEditorFactory::~PbCharEditorFactory()
{
    delete d_ptr;
}

void PbCharEditorFactory::connectPropertyManager(PbCharPropertyManager *manager)
{
    d_ptr->linkManager(manager, true);
}

void PbCharEditorFactory::disconnectPropertyManager(PbCharPropertyManager *manager)
{
    d_ptr->linkManager(manager, false);
}

QWidget *PbCharEditorFactory::createEditor(PbCharPropertyManager *manager, PbProperty *property, QWidget *parent)
{
    return d_ptr->createEditor(manager, property, parent);
}

void PbCharEditorFactory::slotPropertyChanged(PbProperty *property, const QChar &value)
{
    d_ptr->propertyChanged(property, value);
}

void PbCharEditorFactory::slotSetValue(const QChar &value)
{
    d_ptr->commit(sender(), value);
}

void PbCharEditorFactory::slotEditorDestroyed(QObject *object)
{
    d_ptr->tracker.slotEditorDestroyed(object);
}
