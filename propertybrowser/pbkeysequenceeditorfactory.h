// Editor factory that edits key-sequence properties with PbKeySequenceEdit;
// every recorded key is committed.
#ifndef PBKEYSEQUENCEEDITORFACTORY_H
#define PBKEYSEQUENCEEDITORFACTORY_H

#include "propertybrowser/pbabstracteditorfactory.h"
#include "propertybrowser/pbkeysequencepropertymanager.h"

class PbKeySequenceEditorFactoryPrivate;

class PbKeySequenceEditorFactory : public PbAbstractEditorFactory<PbKeySequencePropertyManager>
{
    Q_OBJECT
public:
    explicit PbKeySequenceEditorFactory(QObject *parent = nullptr);
    /// Deletes the editors still open.
    ~PbKeySequenceEditorFactory() override;

    using PbAbstractEditorFactory<PbKeySequencePropertyManager>::createEditor;

protected:
    void connectPropertyManager(PbKeySequencePropertyManager *manager) override;
    QWidget *createEditor(PbKeySequencePropertyManager *manager, PbProperty *property, QWidget *parent) override;
    void disconnectPropertyManager(PbKeySequencePropertyManager *manager) override;

private Q_SLOTS:
    void slotPropertyChanged(PbProperty *property, const QKeySequence &value);
    void slotSetValue(const QKeySequence &value);
    void slotEditorDestroyed(QObject *object);

private:
    Q_DISABLE_COPY(PbKeySequenceEditorFactory)
    PbKeySequenceEditorFactoryPrivate *d_ptr;
};

#endif
