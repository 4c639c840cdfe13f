// Font editors for font properties.
#include "propertybrowser/pbfonteditorfactory.h"

#include "propertybrowser/pbfonteditwidget.h"
#include "propertybrowser/pbvalueeditors_p.h"

class PbFontEditorFactoryPrivate : public PbSingleValueEditors<PbFontEditWidget, PbFontPropertyManager, QFont>
{
public:
    explicit PbFontEditorFactoryPrivate(PbFontEditorFactory *factory)
        : PbSingleValueEditors(factory, {SIGNAL(valueChanged(PbProperty*,QFont)),
                                         SLOT(slotPropertyChanged(PbProperty*,QFont)),
                                         SIGNAL(valueChanged(QFont)), SLOT(slotSetValue(QFont)),
                                         [](PbFontEditWidget *e, const QFont &v) { e->setValue(v); },
                                         true})
    {
    }
};

PbFontEditorFactory::PbFontEditorFactory(QObject *parent)
    : PbAbstractEditorFactory<PbFontPropertyManager>(parent), d_ptr(new PbFontEditorFactoryPrivate(this))
{
}

PbFontEditorFactory::~PbFontEditorFactory()
{
    delete d_ptr;
}

void PbFontEditorFactory::connectPropertyManager(PbFontPropertyManager *manager)
{
    d_ptr->linkManager(manager, true);
}

void PbFontEditorFactory::disconnectPropertyManager(PbFontPropertyManager *manager)
{
    d_ptr->linkManager(manager, false);
}

QWidget *PbFontEditorFactory::createEditor(PbFontPropertyManager *manager, PbProperty *property, QWidget *parent)
{
    return d_ptr->createEditor(manager, property, parent);
}

void PbFontEditorFactory::slotPropertyChanged(PbProperty *property, const QFont &value)
{
    d_ptr->propertyChanged(property, value);
}

void PbFontEditorFactory::slotSetValue(const QFont &value)
{
    d_ptr->commit(sender(), value);
}

void PbFontEditorFactory::slotEditorDestroyed(QObject *object)
{
    d_ptr->tracker.slotEditorDestroyed(object);
}
