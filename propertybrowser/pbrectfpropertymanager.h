// Manager of floating-point rectangle properties with a number of decimals:
// a rectangle held inside an optional constraint, shown with editable "X",
// "Y", "Width" and "Height" rows of an inner floating-point manager.
#pragma once

#include "propertybrowser/pbabstractpropertymanager.h"

#include <QRectF>

class PbDoublePropertyManager;
class PbRectFPropertyManagerPrivate;

class PbRectFPropertyManager : public PbAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit PbRectFPropertyManager(QObject *parent = nullptr);
    ~PbRectFPropertyManager() override;

    /// The manager of the four rows, to which an editor factory binds.
    PbDoublePropertyManager *subDoublePropertyManager() const;

    // Getters answer the null rectangle for a property this manager does not hold.
    QRectF value(const PbProperty *property) const;
    /// The null rectangle stands for no constraint.
    QRectF constraint(const PbProperty *property) const;
    /// The number of decimals; 0 for a property not held.
    int decimals(const PbProperty *property) const;
    /// "[(x, y), w x h]" in fixed notation with the decimals; null for a property not held.
    QString valueText(const PbProperty *property) const override;

public Q_SLOTS:
    // A rectangle with a NaN or infinite component is refused without effect.
    /// Stores the rectangle normalised and cut down to the constraint; a
    /// rectangle that does not overlap the constraint, or only touches it, is
    /// refused. Brings the rows up to it and announces it once.
    void setValue(PbProperty *property, const QRectF &val);
    /// Fits the value into the new constraint (shrunk, then moved inside) and
    /// gives the rows the constraint's ranges; the null rectangle removes it.
    void setConstraint(PbProperty *property, const QRectF &constraint);
    /// Clamped to 0..13; announced by decimalsChanged only.
    void setDecimals(PbProperty *property, int prec);

Q_SIGNALS:
    void valueChanged(PbProperty *property, const QRectF &val);
    /// Emitted by editor factories after their editors took a value change.
    void valueUpdated(PbProperty *property, const QRectF &val);
    void constraintChanged(PbProperty *property, const QRectF &constraint);
    void decimalsChanged(PbProperty *property, int prec);

protected:
    void initializeProperty(PbProperty *property) override;
    void uninitializeProperty(PbProperty *property) override;

private Q_SLOTS:
    void slotDoubleChanged(PbProperty *row, double value);
    void slotPropertyDestroyed(PbProperty *row);

private:
    Q_DISABLE_COPY(PbRectFPropertyManager)
    PbRectFPropertyManagerPrivate *d_ptr;
    friend class PbRectFPropertyManagerPrivate;
};
