// Manager of flag-set properties: a whole number with one bit per named flag,
// shown with one check-box row per flag name on an inner boolean manager.
#pragma once

#include "propertybrowser/pbabstractpropertymanager.h"

#include <QStringList>

class PbBoolPropertyManager;
class PbFlagPropertyManagerPrivate;

class PbFlagPropertyManager : public PbAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit PbFlagPropertyManager(QObject *parent = nullptr);
    ~PbFlagPropertyManager() override;

    /// The manager of the flag rows, to which an editor factory binds.
    PbBoolPropertyManager *subBoolPropertyManager() const;

    /// Bit i set means flag i is on; -1 (every flag) until names are set;
    /// 0 for a property this manager does not hold.
    int value(const PbProperty *property) const;
    /// The flag names; empty for a property not held.
    QStringList flagNames(const PbProperty *property) const;
    /// The names of the set flags joined by "|"; empty when none is set or
    /// the property is not held.
    QString valueText(const PbProperty *property) const override;

public Q_SLOTS:
    /// Stores a value of the names' bits (0 to 2^n - 1), brings the rows up to
    /// it and announces it once; anything else is refused.
    void setValue(PbProperty *property, int val);
    /// Replaces the rows by one per name and resets the value to 0. More than
    /// 31 names do not fit the value and are refused.
    void setFlagNames(PbProperty *property, const QStringList &names);

Q_SIGNALS:
    void valueChanged(PbProperty *property, int val);
    /// Emitted by editor factories after their editors took a value change.
    void valueUpdated(PbProperty *property, int val);
    void flagNamesChanged(PbProperty *property, const QStringList &names);

protected:
    void initializeProperty(PbProperty *property) override;
    void uninitializeProperty(PbProperty *property) override;

private Q_SLOTS:
    void slotBoolChanged(PbProperty *row, bool value);
    void slotPropertyDestroyed(PbProperty *row);

private:
    Q_DISABLE_COPY(PbFlagPropertyManager)
    PbFlagPropertyManagerPrivate *d_ptr;
    friend class PbFlagPropertyManagerPrivate;
};
