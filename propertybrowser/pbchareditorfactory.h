// Editor factory that edits character properties with PbCharEdit; every typed
// character is committed and every pushed one announced.
#ifndef PBCHAREDITORFACTORY_H
#define PBCHAREDITORFACTORY_H

#include "propertybrowser/pbabstracteditorfactory.h"
#include "propertybrowser/pbcharpropertymanager.h"

class PbCharEditorFactoryPrivate;

class PbCharEditorFactory : public PbAbstractEditorFactory<PbCharPropertyManager>
{
    Q_OBJECT
public:
    explicit PbCharEditorFactory(QObject *parent = nullptr);
    /// Deletes the editors still open.
    ~PbCharEditorFactory() override;

    using PbAbstractEditorFactory<PbCharPropertyManager>::createEditor;

protected:
    void connectPropertyManager(PbCharPropertyManager *manager) override;
    QWidget *createEditor(PbCharPropertyManager *manager, PbProperty *property, QWidget *parent) override;
    void disconnectPropertyManager(PbCharPropertyManager *manager) override;

private Q_SLOTS:
    void slotPropertyChanged(PbProperty *property, const QChar &value);
    void slotSetValue(const QChar &value);
    void slotEditorDestroyed(QObject *object);

private:
    Q_DISABLE_COPY(PbCharEditorFactory)
    PbCharEditorFactoryPrivate *d_ptr;
};

#endif
