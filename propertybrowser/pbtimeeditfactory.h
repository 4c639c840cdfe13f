// Editor factory that edits time properties in a time edit; every time the
// editor settles on is committed.
#ifndef PBTIMEEDITFACTORY_H
#define PBTIMEEDITFACTORY_H

#include "propertybrowser/pbabstracteditorfactory.h"
#include "propertybrowser/pbtimepropertymanager.h"

class PbTimeEditFactoryPrivate;

class PbTimeEditFactory : public PbAbstractEditorFactory<PbTimePropertyManager>
{
    Q_OBJECT
public:
    explicit PbTimeEditFactory(QObject *parent = nullptr);
    /// Deletes the editors still open.
    ~PbTimeEditFactory() override;

    using PbAbstractEditorFactory<PbTimePropertyManager>::createEditor;

protected:
    void connectPropertyManager(PbTimePropertyManager *manager) override;
    QWidget *createEditor(PbTimePropertyManager *manager, PbProperty *property, QWidget *parent) override;
    void disconnectPropertyManager(PbTimePropertyManager *manager) override;

private Q_SLOTS:
    void slotPropertyChanged(PbProperty *property, const QTime &value);
    void slotSetValue(const QTime &value);
    void slotEditorDestroyed(QObject *object);

private:
    Q_DISABLE_COPY(PbTimeEditFactory)
    PbTimeEditFactoryPrivate *d_ptr;
};

#endif
