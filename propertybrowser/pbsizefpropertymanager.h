// Manager of floating-point size properties with a number of decimals: a
// size kept inside [minimum, maximum] per component, shown with editable
// "Width" and "Height" rows of an inner floating-point manager.
#pragma once

#include "propertybrowser/pbabstractpropertymanager.h"

#include <QSizeF>

class PbDoublePropertyManager;
class PbSizeFPropertyManagerPrivate;

class PbSizeFPropertyManager : public PbAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit PbSizeFPropertyManager(QObject *parent = nullptr);
    ~PbSizeFPropertyManager() override;

    /// The manager of the Width and Height rows, to which an editor factory binds.
    PbDoublePropertyManager *subDoublePropertyManager() const;

    // Getters answer the invalid size for a property this manager does not hold.
    QSizeF value(const PbProperty *property) const;
    QSizeF minimum(const PbProperty *property) const;
    QSizeF maximum(const PbProperty *property) const;
    /// The number of decimals; 0 for a property not held.
    int decimals(const PbProperty *property) const;
    /// "w x h" in fixed notation with the decimals; null for a property not held.
    QString valueText(const PbProperty *property) const override;

public Q_SLOTS:
    // Every setter refuses a size with a NaN component without effect.
    /// Stores `val` bounded into the range per component, brings the rows up
    /// to it and announces it once. With `checkChanging` false the change is
    /// announced even when the stored size stays the same.
    void setValue(PbProperty *property, const QSizeF &val, bool checkChanging = true);
    void setMinimum(PbProperty *property, const QSizeF &minVal);
    void setMaximum(PbProperty *property, const QSizeF &maxVal);
    /// The borders are put in order per component.
    void setRange(PbProperty *property, const QSizeF &minVal, const QSizeF &maxVal);
    /// Clamped to 0..13; announced by decimalsChanged only.
    void setDecimals(PbProperty *property, int prec);

Q_SIGNALS:
    void valueChanged(PbProperty *property, const QSizeF &val);
    /// Emitted by editor factories after their editors took a value change.
    void valueUpdated(PbProperty *property, const QSizeF &val);
    void rangeChanged(PbProperty *property, const QSizeF &minVal, const QSizeF &maxVal);
    void decimalsChanged(PbProperty *property, int prec);

protected:
    void initializeProperty(PbProperty *property) override;
    void uninitializeProperty(PbProperty *property) override;

private Q_SLOTS:
    void slotDoubleChanged(PbProperty *row, double value);
    void slotPropertyDestroyed(PbProperty *row);

private:
    Q_DISABLE_COPY(PbSizeFPropertyManager)
    PbSizeFPropertyManagerPrivate *d_ptr;
    friend class PbSizeFPropertyManagerPrivate;
};
