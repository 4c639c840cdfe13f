// Key-sequence editors for key-sequence properties.
#include "propertybrowser/pbkeysequenceeditorfactory.h"

#include "propertybrowser/pbvalueeditors_p.h"

#include "propertybrowser/pbkeysequenceedit.h"

class PbKeySequenceEditorFactoryPrivate
    : public PbSingleValueEditors<PbKeySequenceEdit, PbKeySequencePropertyManager, QKeySequence>
{
public:
    explicit PbKeySequenceEditorFactoryPrivate(PbKeySequenceEditorFactory *factory)
        : PbSingleValueEditors(factory, {SIGNAL(valueChanged(PbProperty*,QKeySequence)),
                                         SLOT(slotPropertyChanged(PbProperty*,QKeySequence)),
                                         SIGNAL(keySequenceChanged(QKeySequence)), SLOT(slotSetValue(QKeySequence)),
                                         [](PbKeySequenceEdit *e, const QKeySequence &v) { e->setKeySequence(v); },
                                         false})
    {
    }
};

PbKeySequenceEditorFactory::PbKeySequenceEditorFactory(QObject *parent)
    : PbAbstractEditorFactory<PbKeySequencePropertyManager>(parent), d_ptr(new PbKeySequenceEditorFactoryPrivate(this))
{
}

PbKeySequenceEditorFactory::~PbKeySequenceEditorFactory()
{
    delete d_ptr;
}

void PbKeySequenceEditorFactory::connectPropertyManager(PbKeySequencePropertyManager *manager)
{
    d_ptr->linkManager(manager, true);
}

void PbKeySequenceEditorFactory::disconnectPropertyManager(PbKeySequencePropertyManager *manager)
{
    d_ptr->linkManager(manager, false);
}

QWidget *PbKeySequenceEditorFactory::createEditor(PbKeySequencePropertyManager *manager, PbProperty *property,
                                                  QWidget *parent)
{
    return d_ptr->createEditor(manager, property, parent);
}

void PbKeySequenceEditorFactory::slotPropertyChanged(PbProperty *property, const QKeySequence &value)
{
    d_ptr->propertyChanged(property, value);
}

void PbKeySequenceEditorFactory::slotSetValue(const QKeySequence &value)
{
    d_ptr->commit(sender(), value);
}

void PbKeySequenceEditorFactory::slotEditorDestroyed(QObject *object)
{
    d_ptr->tracker.slotEditorDestroyed(object);
}
