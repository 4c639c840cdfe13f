// Manager of date-time properties: a plain date and time, shown in the short
// date and time formats of the locale that was the default when the manager
// was built.
#pragma once

#include "propertybrowser/pbabstractpropertymanager.h"

#include <QDateTime>

class PbDateTimePropertyManagerPrivate;

class PbDateTimePropertyManager : public PbAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit PbDateTimePropertyManager(QObject *parent = nullptr);
    ~PbDateTimePropertyManager() override;

    /// The stored value; the null date-time for a property this manager does not hold.
    QDateTime value(const PbProperty *property) const;
    /// The date-time in the manager's short date and time formats; null for a property not held.
    QString valueText(const PbProperty *property) const override;

public Q_SLOTS:
    /// Stores and announces only a real change.
    void setValue(PbProperty *property, const QDateTime &val);

Q_SIGNALS:
    void valueChanged(PbProperty *property, const QDateTime &val);
    /// Emitted by editor factories after their editors took a value change.
    void valueUpdated(PbProperty *property, const QDateTime &val);

protected:
    void initializeProperty(PbProperty *property) override;
    void uninitializeProperty(PbProperty *property) override;

private:
    Q_DISABLE_COPY(PbDateTimePropertyManager)
    PbDateTimePropertyManagerPrivate *d_ptr;
    friend class PbDateTimePropertyManagerPrivate;
};
