// Colour editors for colour properties.
#include "propertybrowser/pbcoloreditorfactory.h"

#include "propertybrowser/pbcoloreditwidget.h"
#include "propertybrowser/pbvalueeditors_p.h"

class PbColorEditorFactoryPrivate : public PbSingleValueEditors<PbColorEditWidget, PbColorPropertyManager, QColor>
{
public:
    explicit PbColorEditorFactoryPrivate(PbColorEditorFactory *factory)
        : PbSingleValueEditors(factory, {SIGNAL(valueChanged(PbProperty*,QColor)),
                                         SLOT(slotPropertyChanged(PbProperty*,QColor)),
                                         SIGNAL(valueChanged(QColor)), SLOT(slotSetValue(QColor)),
                                         [](PbColorEditWidget *e, const QColor &v) { e->setValue(v); },
                                         true})
    {
    }
};

PbColorEditorFactory::PbColorEditorFactory(QObject *parent)
    : PbAbstractEditorFactory<PbColorPropertyManager>(parent), d_ptr(new PbColorEditorFactoryPrivate(this))
{
}

PbColorEditorFactory::~PbColorEditorFactory()
{
    delete d_ptr;
}

void PbColorEditorFactory::connectPropertyManager(PbColorPropertyManager *manager)
{
    d_ptr->linkManager(manager, true);
}

void PbColorEditorFactory::disconnectPropertyManager(PbColorPropertyManager *manager)
{
    d_ptr->linkManager(manager, false);
}

QWidget *PbColorEditorFactory::createEditor(PbColorPropertyManager *manager, PbProperty *property, QWidget *parent)
{
    return d_ptr->createEditor(manager, property, parent);
}

void PbColorEditorFactory::slotPropertyChanged(PbProperty *property, const QColor &value)
{
    d_ptr->propertyChanged(property, value);
}

void PbColorEditorFactory::slotSetValue(const QColor &value)
{
    d_ptr->commit(sender(), value);
}

void PbColorEditorFactory::slotEditorDestroyed(QObject *object)
{
    d_ptr->tracker.slotEditorDestroyed(object);
}
