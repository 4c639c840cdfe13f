// Editor factory that edits date properties in a date edit with a calendar
// popup; every date the editor settles on is committed.
#ifndef PBDATEEDITFACTORY_H
#define PBDATEEDITFACTORY_H

#include "propertybrowser/pbabstracteditorfactory.h"
#include "propertybrowser/pbdatepropertymanager.h"

class PbDateEditFactoryPrivate;

class PbDateEditFactory : public PbAbstractEditorFactory<PbDatePropertyManager>
{
    Q_OBJECT
public:
    explicit PbDateEditFactory(QObject *parent = nullptr);
    /// Deletes the editors still open.
    ~PbDateEditFactory() override;

    using PbAbstractEditorFactory<PbDatePropertyManager>::createEditor;

protected:
    void connectPropertyManager(PbDatePropertyManager *manager) override;
    QWidget *createEditor(PbDatePropertyManager *manager, PbProperty *property, QWidget *parent) override;
    void disconnectPropertyManager(PbDatePropertyManager *manager) override;

private Q_SLOTS:
    void slotPropertyChanged(PbProperty *property, const QDate &value);
    void slotRangeChanged(PbProperty *property, const QDate &minimum, const QDate &maximum);
    void slotSetValue(const QDate &value);
    void slotEditorDestroyed(QObject *object);

private:
    Q_DISABLE_COPY(PbDateEditFactory)
    PbDateEditFactoryPrivate *d_ptr;
};

#endif
