// Manager of time-of-day properties: a plain time, shown in the short time
// format of the locale that was the default when the manager was built.
#pragma once

#include "propertybrowser/pbabstractpropertymanager.h"

#include <QTime>

class PbTimePropertyManagerPrivate;

class PbTimePropertyManager : public PbAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit PbTimePropertyManager(QObject *parent = nullptr);
    ~PbTimePropertyManager() override;

    /// The stored value; the null time for a property this manager does not hold.
    QTime value(const PbProperty *property) const;
    /// The time in the manager's short time format; null for a property not held.
    QString valueText(const PbProperty *property) const override;

public Q_SLOTS:
    /// Stores and announces only a real change.
    void setValue(PbProperty *property, const QTime &val);

Q_SIGNALS:
    void valueChanged(PbProperty *property, const QTime &val);
    /// Emitted by editor factories after their editors took a value change.
    void valueUpdated(PbProperty *property, const QTime &val);

protected:
    void initializeProperty(PbProperty *property) override;
    void uninitializeProperty(PbProperty *property) override;

private:
    Q_DISABLE_COPY(PbTimePropertyManager)
    PbTimePropertyManagerPrivate *d_ptr;
    friend class PbTimePropertyManagerPrivate;
};
