// Editor factory that edits colour properties with a colour editor; a value
// chosen in the editor's dialog is committed at once.
#ifndef PBCOLOREDITORFACTORY_H
#define PBCOLOREDITORFACTORY_H

#include "propertybrowser/pbabstracteditorfactory.h"
#include "propertybrowser/pbcolorpropertymanager.h"

class PbColorEditorFactoryPrivate;

class PbColorEditorFactory : public PbAbstractEditorFactory<PbColorPropertyManager>
{
    Q_OBJECT
public:
    explicit PbColorEditorFactory(QObject *parent = nullptr);
    /// Deletes the editors still open.
    ~PbColorEditorFactory() override;

    using PbAbstractEditorFactory<PbColorPropertyManager>::createEditor;

protected:
    void connectPropertyManager(PbColorPropertyManager *manager) override;
    QWidget *createEditor(PbColorPropertyManager *manager, PbProperty *property, QWidget *parent) override;
    void disconnectPropertyManager(PbColorPropertyManager *manager) override;

private Q_SLOTS:
    void slotPropertyChanged(PbProperty *property, const QColor &value);
    void slotEditorDestroyed(QObject *object);
    void slotSetValue(const QColor &value);

private:
    Q_DISABLE_COPY(PbColorEditorFactory)
    PbColorEditorFactoryPrivate *d_ptr;
};

#endif
