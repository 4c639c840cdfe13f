// Editor factory that edits floating-point properties with PbDoubleSpinBox2;
// a value is committed only on Enter or Return.
#ifndef PBDOUBLESPINBOXFACTORY_H
#define PBDOUBLESPINBOXFACTORY_H

#include "propertybrowser/pbabstracteditorfactory.h"
#include "propertybrowser/pbdoublepropertymanager.h"

class PbDoubleSpinBoxFactoryPrivate;

class PbDoubleSpinBoxFactory : public PbAbstractEditorFactory<PbDoublePropertyManager>
{
    Q_OBJECT
public:
    explicit PbDoubleSpinBoxFactory(QObject *parent = nullptr);
    /// Deletes the editors still open.
    ~PbDoubleSpinBoxFactory() override;

    using PbAbstractEditorFactory<PbDoublePropertyManager>::createEditor;

protected:
    void connectPropertyManager(PbDoublePropertyManager *manager) override;
    QWidget *createEditor(PbDoublePropertyManager *manager, PbProperty *property, QWidget *parent) override;
    void disconnectPropertyManager(PbDoublePropertyManager *manager) override;

private Q_SLOTS:
    void slotPropertyChanged(PbProperty *property, double value);
    void slotRangeChanged(PbProperty *property, double minimum, double maximum);
    void slotSingleStepChanged(PbProperty *property, double step);
    void slotDecimalsChanged(PbProperty *property, int decimals);
    void slotReadOnlyChanged(PbProperty *property, bool readOnly);
    void slotSetValue();
    void slotEditorDestroyed(QObject *object);

private:
    Q_DISABLE_COPY(PbDoubleSpinBoxFactory)
    PbDoubleSpinBoxFactoryPrivate *d_ptr;
};

#endif
