// Editor factory that edits integer properties in a plain spin box; every
// value the spin box settles on is committed and announced.
#ifndef PBSPINBOXFACTORY_H
#define PBSPINBOXFACTORY_H

#include "propertybrowser/pbabstracteditorfactory.h"
#include "propertybrowser/pbintpropertymanager.h"

class PbSpinBoxFactoryPrivate;

class PbSpinBoxFactory : public PbAbstractEditorFactory<PbIntPropertyManager>
{
    Q_OBJECT
public:
    explicit PbSpinBoxFactory(QObject *parent = nullptr);
    /// Deletes the editors still open.
    ~PbSpinBoxFactory() override;

    using PbAbstractEditorFactory<PbIntPropertyManager>::createEditor;

protected:
    void connectPropertyManager(PbIntPropertyManager *manager) override;
    QWidget *createEditor(PbIntPropertyManager *manager, PbProperty *property, QWidget *parent) override;
    void disconnectPropertyManager(PbIntPropertyManager *manager) override;

private Q_SLOTS:
    void slotPropertyChanged(PbProperty *property, int value);
    void slotRangeChanged(PbProperty *property, int minimum, int maximum);
    void slotSingleStepChanged(PbProperty *property, int step);
    void slotReadOnlyChanged(PbProperty *property, bool readOnly);
    void slotSetValue(int value);
    void slotEditorDestroyed(QObject *object);

private:
    Q_DISABLE_COPY(PbSpinBoxFactory)
    PbSpinBoxFactoryPrivate *d_ptr;
};

#endif
