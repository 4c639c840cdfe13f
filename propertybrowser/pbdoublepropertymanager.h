// Manager of floating-point properties: a value kept inside [minimum,
// maximum], an editor step, a number of decimals and a read-only flag.
#pragma once

#include "propertybrowser/pbabstractpropertymanager.h"

class PbDoublePropertyManagerPrivate;

class PbDoublePropertyManager : public PbAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit PbDoublePropertyManager(QObject *parent = nullptr);
    ~PbDoublePropertyManager() override;

    // Getters answer 0/false for a property this manager does not hold.
    double value(const PbProperty *property) const;
    double minimum(const PbProperty *property) const;
    double maximum(const PbProperty *property) const;
    double singleStep(const PbProperty *property) const;
    int decimals(const PbProperty *property) const;
    bool isReadOnly(const PbProperty *property) const;

    /// The value in the system locale, fixed notation with `decimals` digits.
    QString valueText(const PbProperty *property) const override;

public Q_SLOTS:
    // Every setter refuses a NaN value, border or step without effect.
    /// Stores `val` bounded into the range (exact comparison). With
    /// `checkChanging` false the change is announced even when nothing moved.
    void setValue(PbProperty *property, double val, bool checkChanging = true);
    void setMinimum(PbProperty *property, double minVal);
    void setMaximum(PbProperty *property, double maxVal);
    void setRange(PbProperty *property, double minVal, double maxVal);
    /// A negative step is stored as 0.
    void setSingleStep(PbProperty *property, double step);
    /// Clamped to 0..13.
    void setDecimals(PbProperty *property, int prec);
    void setReadOnly(PbProperty *property, bool readOnly);

Q_SIGNALS:
    void valueChanged(PbProperty *property, double val);
    /// Emitted by editor factories after their editors took a value change.
    void valueUpdated(PbProperty *property, double val);
    void rangeChanged(PbProperty *property, double minVal, double maxVal);
    void singleStepChanged(PbProperty *property, double step);
    void decimalsChanged(PbProperty *property, int prec);
    void readOnlyChanged(PbProperty *property, bool readOnly);

protected:
    void initializeProperty(PbProperty *property) override;
    void uninitializeProperty(PbProperty *property) override;

private:
    Q_DISABLE_COPY(PbDoublePropertyManager)
    PbDoublePropertyManagerPrivate *d_ptr;
    friend class PbDoublePropertyManagerPrivate;
};
