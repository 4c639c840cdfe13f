// Editor factory that edits text properties with PbLineEditWidget2: a line
// edit with a button. Text is committed on Enter or Return only; the button
// emits the manager's btnClicked.
#ifndef PBLINEEDITFACTORY2_H
#define PBLINEEDITFACTORY2_H

#include "propertybrowser/pbabstracteditorfactory.h"
#include "propertybrowser/pbstringpropertymanager.h"

class PbLineEditFactory2Private;

class PbLineEditFactory2 : public PbAbstractEditorFactory<PbStringPropertyManager>
{
    Q_OBJECT
public:
    explicit PbLineEditFactory2(QObject *parent = nullptr);
    /// Deletes the editors still open.
    ~PbLineEditFactory2() override;

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
    void slotBtnClicked();
    void slotEditorDestroyed(QObject *object);

private:
    Q_DISABLE_COPY(PbLineEditFactory2)
    PbLineEditFactory2Private *d_ptr;
};

#endif
