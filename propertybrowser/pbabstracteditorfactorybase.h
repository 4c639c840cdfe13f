// The untyped side of an editor factory, as a browser sees it: make an editor
// for a property, drop a manager, learn that a manager went away.
#pragma once

#include <QObject>

class PbAbstractPropertyManager;
class PbProperty;
class QWidget;

class PbAbstractEditorFactoryBase : public QObject
{
    Q_OBJECT
public:
    /// A new in-place editor for `property` under `parent`, or null when the
    /// property's manager is not served by this factory.
    virtual QWidget *createEditor(PbProperty *property, QWidget *parent) = 0;
    /// Stops serving `manager` (called when no browser binds it to this factory).
    virtual void breakConnection(PbAbstractPropertyManager *manager) = 0;

protected:
    explicit PbAbstractEditorFactoryBase(QObject *parent = nullptr);

protected Q_SLOTS:
    /// Forgets a served manager that is being destroyed.
    virtual void managerDestroyed(QObject *manager) = 0;

private:
    Q_DISABLE_COPY(PbAbstractEditorFactoryBase)
};
