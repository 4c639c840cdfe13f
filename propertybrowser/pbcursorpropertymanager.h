// Manager of mouse-cursor properties; the shapes' names and icons come from
// the cursor database.
#ifndef PBCURSORPROPERTYMANAGER_H
#define PBCURSORPROPERTYMANAGER_H

#include "propertybrowser/pbabstractpropertymanager.h"

#include <QCursor>

class PbCursorPropertyManagerPrivate;

class PbCursorPropertyManager : public PbAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit PbCursorPropertyManager(QObject *parent = nullptr);
    ~PbCursorPropertyManager() override;

    /// The stored cursor; an arrow for a property not held.
    QCursor value(const PbProperty *property) const;
    /// The shape's name; null for a property not held or a shape not listed.
    QString valueText(const PbProperty *property) const override;
    /// The shape's icon; empty for a property not held or a shape not listed.
    QIcon valueIcon(const PbProperty *property) const override;

public Q_SLOTS:
    /// Stores and announces the cursor when its shape differs; a bitmap
    /// cursor always counts as a change.
    void setValue(PbProperty *property, const QCursor &val);

Q_SIGNALS:
    void valueChanged(PbProperty *property, const QCursor &val);
    /// Emitted by editor factories after their editors took a value change.
    void valueUpdated(PbProperty *property, const QCursor &val);

protected:
    void initializeProperty(PbProperty *property) override;
    void uninitializeProperty(PbProperty *property) override;

private:
    Q_DISABLE_COPY(PbCursorPropertyManager)
    PbCursorPropertyManagerPrivate *d_ptr;
    friend class PbCursorPropertyManagerPrivate;
};

#endif
