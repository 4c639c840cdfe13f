// Editor factory that edits font properties with a font editor; a value
// chosen in the editor's dialog is committed at once.
#ifndef PBFONTEDITORFACTORY_H
#define PBFONTEDITORFACTORY_H

#include "propertybrowser/pbabstracteditorfactory.h"
#include "propertybrowser/pbfontpropertymanager.h"

class PbFontEditorFactoryPrivate;

class PbFontEditorFactory : public PbAbstractEditorFactory<PbFontPropertyManager>
{
    Q_OBJECT
public:
    explicit PbFontEditorFactory(QObject *parent = nullptr);
    /// Deletes the editors still open.
    ~PbFontEditorFactory() override;

    using PbAbstractEditorFactory<PbFontPropertyManager>::createEditor;

protected:
    void connectPropertyManager(PbFontPropertyManager *manager) override;
    QWidget *createEditor(PbFontPropertyManager *manager, PbProperty *property, QWidget *parent) override;
    void disconnectPropertyManager(PbFontPropertyManager *manager) override;

private Q_SLOTS:
    void slotPropertyChanged(PbProperty *property, const QFont &value);
    void slotEditorDestroyed(QObject *object);
    void slotSetValue(const QFont &value);

private:
    Q_DISABLE_COPY(PbFontEditorFactory)
    PbFontEditorFactoryPrivate *d_ptr;
};

#endif
