// Editor factory that edits integer properties with a horizontal scroll bar;
// every move is committed.
#ifndef PBSCROLLBARFACTORY_H
#define PBSCROLLBARFACTORY_H

#include "propertybrowser/pbabstracteditorfactory.h"
#include "propertybrowser/pbintpropertymanager.h"

class PbScrollBarFactoryPrivate;

class PbScrollBarFactory : public PbAbstractEditorFactory<PbIntPropertyManager>
{
    Q_OBJECT
public:
    explicit PbScrollBarFactory(QObject *parent = nullptr);
    /// Deletes the editors still open.
    ~PbScrollBarFactory() override;

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
    Q_DISABLE_COPY(PbScrollBarFactory)
    PbScrollBarFactoryPrivate *d_ptr;
};

#endif
