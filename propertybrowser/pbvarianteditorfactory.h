// Editor factory for the variant manager's properties. It builds no editor
// itself: it owns one typed factory per editable type, serves the variant
// manager's typed managers with them, and hands each request to the typed
// factory of the property's type, for the property's wrapped internal one.
#ifndef PBVARIANTEDITORFACTORY_H
#define PBVARIANTEDITORFACTORY_H

#include "propertybrowser/pbabstracteditorfactory.h"
#include "propertybrowser/pbvariantpropertymanager.h"

class PbVariantEditorFactoryPrivate;

class PbVariantEditorFactory : public PbAbstractEditorFactory<PbVariantPropertyManager>
{
    Q_OBJECT
public:
    explicit PbVariantEditorFactory(QObject *parent = nullptr);
    ~PbVariantEditorFactory() override;

    using PbAbstractEditorFactory<PbVariantPropertyManager>::createEditor;

protected:
    /// Serves every typed manager and sub-manager of `manager` with its sub-factory.
    void connectPropertyManager(PbVariantPropertyManager *manager) override;
    /// The editor of the typed sub-factory; null for a type without one.
    QWidget *createEditor(PbVariantPropertyManager *manager, PbProperty *property, QWidget *parent) override;
    void disconnectPropertyManager(PbVariantPropertyManager *manager) override;

private:
    Q_DISABLE_COPY(PbVariantEditorFactory)
    PbVariantEditorFactoryPrivate *d_ptr;
};

#endif
