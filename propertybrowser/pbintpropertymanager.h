// Manager of integer properties: a value kept inside [minimum, maximum], an
// editor step, a read-only flag and an optional editor button.
#pragma once

#include "propertybrowser/pbabstractpropertymanager.h"

class PbIntPropertyManagerPrivate;

class PbIntPropertyManager : public PbAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit PbIntPropertyManager(QObject *parent = nullptr);
    ~PbIntPropertyManager() override;

    // Getters answer 0/false/empty for a property this manager does not hold.
    int value(const PbProperty *property) const;
    int minimum(const PbProperty *property) const;
    int maximum(const PbProperty *property) const;
    int singleStep(const PbProperty *property) const;
    bool isReadOnly(const PbProperty *property) const;
    bool btnVisibility(const PbProperty *property) const;
    QString btnCaption(const PbProperty *property) const;

    /// The value in decimal digits; null for a property not held.
    QString valueText(const PbProperty *property) const override;

public Q_SLOTS:
    /// Stores `val` bounded into the range. With `checkChanging` false the
    /// change is announced even when the stored value stays the same.
    void setValue(PbProperty *property, int val, bool checkChanging = true);
    void setMinimum(PbProperty *property, int minVal);
    void setMaximum(PbProperty *property, int maxVal);
    /// The borders may come in either order.
    void setRange(PbProperty *property, int minVal, int maxVal);
    /// A negative step is stored as 0.
    void setSingleStep(PbProperty *property, int step);
    void setReadOnly(PbProperty *property, bool readOnly);
    void setBtnVisibility(PbProperty *property, bool visible);
    void setBtnCaption(PbProperty *property, const QString &caption);

Q_SIGNALS:
    void valueChanged(PbProperty *property, int val);
    /// Emitted by editor factories after their editors took a value change.
    void valueUpdated(PbProperty *property, int val);
    /// Emitted by the button editor factory when the editor's button is pressed.
    void scriptCalled(PbProperty *property);
    void rangeChanged(PbProperty *property, int minVal, int maxVal);
    void singleStepChanged(PbProperty *property, int step);
    void readOnlyChanged(PbProperty *property, bool readOnly);

protected:
    void initializeProperty(PbProperty *property) override;
    void uninitializeProperty(PbProperty *property) override;

private:
    Q_DISABLE_COPY(PbIntPropertyManager)
    PbIntPropertyManagerPrivate *d_ptr;
    friend class PbIntPropertyManagerPrivate;
};
