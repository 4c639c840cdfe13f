// Editor factory that edits enumeration properties with a combo box; every
// choice is committed. A silent manager change moves the combo boxes without
// announcing valueUpdated.
#ifndef PBENUMEDITORFACTORY_H
#define PBENUMEDITORFACTORY_H

#include "propertybrowser/pbabstracteditorfactory.h"
#include "propertybrowser/pbenumpropertymanager.h"

class PbEnumEditorFactoryPrivate;

class PbEnumEditorFactory : public PbAbstractEditorFactory<PbEnumPropertyManager>
{
    Q_OBJECT
public:
    explicit PbEnumEditorFactory(QObject *parent = nullptr);
    /// Deletes the editors still open.
    ~PbEnumEditorFactory() override;

    using PbAbstractEditorFactory<PbEnumPropertyManager>::createEditor;

protected:
    void connectPropertyManager(PbEnumPropertyManager *manager) override;
    QWidget *createEditor(PbEnumPropertyManager *manager, PbProperty *property, QWidget *parent) override;
    void disconnectPropertyManager(PbEnumPropertyManager *manager) override;

private Q_SLOTS:
    void slotPropertyChanged(PbProperty *property, int value);
    void slotPropertyChangedNoUpdate(PbProperty *property, int value);
    void slotEnumNamesChanged(PbProperty *property, const QStringList &names);
    void slotEnumIconsChanged(PbProperty *property, const QMap<int, QIcon> &icons);
    void slotSetValue(int value);
    void slotEditorDestroyed(QObject *object);

private:
    Q_DISABLE_COPY(PbEnumEditorFactory)
    PbEnumEditorFactoryPrivate *d_ptr;
};

#endif
