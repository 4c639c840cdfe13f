// Editor factory that edits date-time properties in a date-time edit; every
// value the editor settles on is committed.
#ifndef PBDATETIMEEDITFACTORY_H
#define PBDATETIMEEDITFACTORY_H

#include "propertybrowser/pbabstracteditorfactory.h"
#include "propertybrowser/pbdatetimepropertymanager.h"

class PbDateTimeEditFactoryPrivate;

class PbDateTimeEditFactory : public PbAbstractEditorFactory<PbDateTimePropertyManager>
{
    Q_OBJECT
public:
    explicit PbDateTimeEditFactory(QObject *parent = nullptr);
    /// Deletes the editors still open.
    ~PbDateTimeEditFactory() override;

    using PbAbstractEditorFactory<PbDateTimePropertyManager>::createEditor;

protected:
    void connectPropertyManager(PbDateTimePropertyManager *manager) override;
    QWidget *createEditor(PbDateTimePropertyManager *manager, PbProperty *property, QWidget *parent) override;
    void disconnectPropertyManager(PbDateTimePropertyManager *manager) override;

private Q_SLOTS:
    void slotPropertyChanged(PbProperty *property, const QDateTime &value);
    void slotSetValue(const QDateTime &value);
    void slotEditorDestroyed(QObject *object);

private:
    Q_DISABLE_COPY(PbDateTimeEditFactory)
    PbDateTimeEditFactoryPrivate *d_ptr;
};

#endif
