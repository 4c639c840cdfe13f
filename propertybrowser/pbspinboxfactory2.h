// Editor factory that edits integer properties with PbSpinBoxEditWidget2: a
// spin box with a button. Values are committed on Enter or Return only; the
// button emits the manager's scriptCalled.
#ifndef PBSPINBOXFACTORY2_H
#define PBSPINBOXFACTORY2_H

#include "propertybrowser/pbabstracteditorfactory.h"
#include "propertybrowser/pbintpropertymanager.h"

class PbSpinBoxFactory2Private;

class PbSpinBoxFactory2 : public PbAbstractEditorFactory<PbIntPropertyManager>
{
    Q_OBJECT
public:
    explicit PbSpinBoxFactory2(QObject *parent = nullptr);
    /// Deletes the editors still open.
    ~PbSpinBoxFactory2() override;

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
    void slotScriptCalled();
    void slotEditorDestroyed(QObject *object);

private:
    Q_DISABLE_COPY(PbSpinBoxFactory2)
    PbSpinBoxFactory2Private *d_ptr;
};

#endif
