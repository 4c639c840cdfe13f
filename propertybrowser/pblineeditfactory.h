// Editor factory that edits text properties in a plain line edit; the text is
// committed on Enter or Return and every pushed text is announced.
#ifndef PBLINEEDITFACTORY_H
#define PBLINEEDITFACTORY_H

#include "propertybrowser/pbabstracteditorfactory.h"
#include "propertybrowser/pbstringpropertymanager.h"

class PbLineEditFactoryPrivate;

class PbLineEditFactory : public PbAbstractEditorFactory<PbStringPropertyManager>
{
    Q_OBJECT
public:
    explicit PbLineEditFactory(QObject *parent = nullptr);
    /// Deletes the editors still open.
    ~PbLineEditFactory() override;

    using PbAbstractEditorFactory<PbStringPropertyManager>::createEditor;

protected:
    void connectPropertyManager(PbStringPropertyManager *manager) override;
    QWidget *createEditor(PbStringPropertyManager *manager, PbProperty *property, QWidget *parent) override;
    void disconnectPropertyManager(PbStringPropertyManager *manager) override;

private Q_SLOTS:
    void slotPropertyChanged(PbProperty *property, const QString &value);
    void slotRegExpChanged(PbProperty *property, const QRegExp &regExp);
    void slotInputMaskChanged(PbProperty *property, const QString &mask);
    void slotEchoModeChanged(PbProperty *property, int mode);
    void slotReadOnlyChanged(PbProperty *property, bool readOnly);
    void slotSetValue();
    void slotEditorDestroyed(QObject *object);

private:
    Q_DISABLE_COPY(PbLineEditFactory)
    PbLineEditFactoryPrivate *d_ptr;
};

#endif
