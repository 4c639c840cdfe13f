// Editor factory that edits boolean properties with a PbBoolEdit check box;
// every toggle is committed.
#ifndef PBCHECKBOXFACTORY_H
#define PBCHECKBOXFACTORY_H

#include "propertybrowser/pbabstracteditorfactory.h"
#include "propertybrowser/pbboolpropertymanager.h"

class PbCheckBoxFactoryPrivate;

class PbCheckBoxFactory : public PbAbstractEditorFactory<PbBoolPropertyManager>
{
    Q_OBJECT
public:
    explicit PbCheckBoxFactory(QObject *parent = nullptr);
    /// Deletes the editors still open.
    ~PbCheckBoxFactory() override;

    using PbAbstractEditorFactory<PbBoolPropertyManager>::createEditor;

protected:
    void connectPropertyManager(PbBoolPropertyManager *manager) override;
    QWidget *createEditor(PbBoolPropertyManager *manager, PbProperty *property, QWidget *parent) override;
    void disconnectPropertyManager(PbBoolPropertyManager *manager) override;

private Q_SLOTS:
    void slotPropertyChanged(PbProperty *property, bool value);
    void slotTextVisibleChanged(PbProperty *property, bool visible);
    void slotSetValue(bool value);
    void slotEditorDestroyed(QObject *object);

private:
    Q_DISABLE_COPY(PbCheckBoxFactory)
    PbCheckBoxFactoryPrivate *d_ptr;
};

#endif
