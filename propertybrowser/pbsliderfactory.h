// Editor factory that edits integer properties with a horizontal slider;
// every move is committed.
#ifndef PBSLIDERFACTORY_H
#define PBSLIDERFACTORY_H

#include "propertybrowser/pbabstracteditorfactory.h"
#include "propertybrowser/pbintpropertymanager.h"

class PbSliderFactoryPrivate;

class PbSliderFactory : public PbAbstractEditorFactory<PbIntPropertyManager>
{
    Q_OBJECT
public:
    explicit PbSliderFactory(QObject *parent = nullptr);
    /// Deletes the editors still open.
    ~PbSliderFactory() override;

    using PbAbstractEditorFactory<PbIntPropertyManager>::createEditor;

protected:
    void connectPropertyManager(PbIntPropertyManager *manager) override;
    QWidget *createEditor(PbIntPropertyManager *manager, PbProperty *property, QWidget *parent) override;
    void disconnectPropertyManager(PbIntPropertyManager *manager) override;

private Q_SLOTS:
    void slotPropertyChanged(PbProperty *property, int value);
    void slotRangeChanged(PbProperty *property, int minimum, int maximum);
    void slotSingleStepChanged(PbProperty *property, int step);
    void slotSetValue(int value);
    void slotEditorDestroyed(QObject *object);

private:
    Q_DISABLE_COPY(PbSliderFactory)
    PbSliderFactoryPrivate *d_ptr;
};

#endif
