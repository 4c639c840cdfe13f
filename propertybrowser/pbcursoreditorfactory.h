// Editor factory that edits cursor properties with a combo box of the cursor
// shapes. Each edited cursor property is mirrored by a hidden enumeration
// property that lives while a combo box for it is open; a choice in the combo
// box is committed at once.
#ifndef PBCURSOREDITORFACTORY_H
#define PBCURSOREDITORFACTORY_H

#include "propertybrowser/pbabstracteditorfactory.h"
#include "propertybrowser/pbcursorpropertymanager.h"

class PbCursorEditorFactoryPrivate;

class PbCursorEditorFactory : public PbAbstractEditorFactory<PbCursorPropertyManager>
{
    Q_OBJECT
public:
    explicit PbCursorEditorFactory(QObject *parent = nullptr);
    ~PbCursorEditorFactory() override;

    using PbAbstractEditorFactory<PbCursorPropertyManager>::createEditor;

protected:
    void connectPropertyManager(PbCursorPropertyManager *manager) override;
    QWidget *createEditor(PbCursorPropertyManager *manager, PbProperty *property, QWidget *parent) override;
    void disconnectPropertyManager(PbCursorPropertyManager *manager) override;

private Q_SLOTS:
    void slotPropertyChanged(PbProperty *property, const QCursor &cursor);
    void slotEnumChanged(PbProperty *property, int value);
    void slotEditorDestroyed(QObject *object);
    /// A cursor property going away takes its hidden enumeration property along.
    void slotPropertyDestroyed(PbProperty *property);

private:
    Q_DISABLE_COPY(PbCursorEditorFactory)
    PbCursorEditorFactoryPrivate *d_ptr;
    friend class PbCursorEditorFactoryPrivate;
};

#endif
