// Manager of calendar-date properties: a date kept inside [minimum, maximum],
// shown in the short date format of the locale that was the default when the
// manager was built.
#pragma once

#include "propertybrowser/pbabstractpropertymanager.h"

#include <QDate>

class PbDatePropertyManagerPrivate;

class PbDatePropertyManager : public PbAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit PbDatePropertyManager(QObject *parent = nullptr);
    ~PbDatePropertyManager() override;

    // Getters answer the null date for a property this manager does not hold.
    QDate value(const PbProperty *property) const;
    QDate minimum(const PbProperty *property) const;
    QDate maximum(const PbProperty *property) const;

    /// The date in the manager's short date format; null for a property not held.
    QString valueText(const PbProperty *property) const override;

public Q_SLOTS:
    // Every setter refuses an invalid (null) date without effect.
    /// Stores `val` bounded into the range. With `checkChanging` false the
    /// change is announced even when the stored date stays the same.
    void setValue(PbProperty *property, const QDate &val, bool checkChanging = true);
    void setMinimum(PbProperty *property, const QDate &minVal);
    void setMaximum(PbProperty *property, const QDate &maxVal);
    /// The borders may come in either order.
    void setRange(PbProperty *property, const QDate &minVal, const QDate &maxVal);

Q_SIGNALS:
    void valueChanged(PbProperty *property, const QDate &val);
    /// Emitted by editor factories after their editors took a value change.
    void valueUpdated(PbProperty *property, const QDate &val);
    void rangeChanged(PbProperty *property, const QDate &minVal, const QDate &maxVal);

protected:
    void initializeProperty(PbProperty *property) override;
    void uninitializeProperty(PbProperty *property) override;

private:
    Q_DISABLE_COPY(PbDatePropertyManager)
    PbDatePropertyManagerPrivate *d_ptr;
    friend class PbDatePropertyManagerPrivate;
};
