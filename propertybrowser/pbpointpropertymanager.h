// Manager of integer point properties, each shown with editable "X" and "Y"
// rows that belong to an inner integer manager.
#pragma once

#include "propertybrowser/pbabstractpropertymanager.h"

#include <QPoint>

class PbIntPropertyManager;
class PbPointPropertyManagerPrivate;

class PbPointPropertyManager : public PbAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit PbPointPropertyManager(QObject *parent = nullptr);
    ~PbPointPropertyManager() override;

    /// The manager of the X and Y rows, to which an editor factory binds.
    PbIntPropertyManager *intSubManager() const;

    /// The stored point; (0, 0) for a property this manager does not hold.
    QPoint value(const PbProperty *property) const;
    /// "(x, y)"; null for a property not held.
    QString valueText(const PbProperty *property) const override;

public Q_SLOTS:
    /// Stores the point, brings the rows up to it and announces it once.
    void setValue(PbProperty *property, const QPoint &val);

Q_SIGNALS:
    void valueChanged(PbProperty *property, const QPoint &val);
    /// Emitted by editor factories after their editors took a value change.
    void valueUpdated(PbProperty *property, const QPoint &val);

protected:
    void initializeProperty(PbProperty *property) override;
    void uninitializeProperty(PbProperty *property) override;

private Q_SLOTS:
    void slotIntChanged(PbProperty *row, int value);
    void slotPropertyDestroyed(PbProperty *row);

private:
    Q_DISABLE_COPY(PbPointPropertyManager)
    PbPointPropertyManagerPrivate *d_ptr;
    friend class PbPointPropertyManagerPrivate;
};
