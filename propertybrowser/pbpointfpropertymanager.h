// Manager of floating-point point properties with a number of decimals, each
// shown with editable "X" and "Y" rows of an inner floating-point manager.
#pragma once

#include "propertybrowser/pbabstractpropertymanager.h"

#include <QPointF>

class PbDoublePropertyManager;
class PbPointFPropertyManagerPrivate;

class PbPointFPropertyManager : public PbAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit PbPointFPropertyManager(QObject *parent = nullptr);
    ~PbPointFPropertyManager() override;

    /// The manager of the X and Y rows, to which an editor factory binds.
    PbDoublePropertyManager *doubleSubManager() const;

    /// The stored point; (0, 0) for a property this manager does not hold.
    QPointF value(const PbProperty *property) const;
    /// The number of decimals; 0 for a property not held.
    int decimals(const PbProperty *property) const;
    /// "(x, y)" in fixed notation with the decimals, a point as separator in
    /// every locale; null for a property not held.
    QString valueText(const PbProperty *property) const override;

public Q_SLOTS:
    /// Stores the point (Qt's fuzzy comparison), brings the rows up to it and
    /// announces it once. A point with a NaN or infinite coordinate is refused.
    void setValue(PbProperty *property, const QPointF &val);
    /// Clamped to 0..13; announced by decimalsChanged only.
    void setDecimals(PbProperty *property, int prec);

Q_SIGNALS:
    void valueChanged(PbProperty *property, const QPointF &val);
    /// Emitted by editor factories after their editors took a value change.
    void valueUpdated(PbProperty *property, const QPointF &val);
    void decimalsChanged(PbProperty *property, int prec);

protected:
    void initializeProperty(PbProperty *property) override;
    void uninitializeProperty(PbProperty *property) override;

private Q_SLOTS:
    void slotDoubleChanged(PbProperty *row, double value);
    void slotPropertyDestroyed(PbProperty *row);

private:
    Q_DISABLE_COPY(PbPointFPropertyManager)
    PbPointFPropertyManagerPrivate *d_ptr;
    friend class PbPointFPropertyManagerPrivate;
};
