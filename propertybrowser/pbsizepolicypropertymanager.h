// Manager of size-policy properties, each shown with "Horizontal Policy" and
// "Vertical Policy" choice rows (an inner enumeration manager) and
// "Horizontal Stretch" and "Vertical Stretch" number rows (an inner integer
// manager).
#pragma once

#include "propertybrowser/pbabstractpropertymanager.h"

#include <QSizePolicy>

class PbEnumPropertyManager;
class PbIntPropertyManager;
class PbSizePolicyPropertyManagerPrivate;

class PbSizePolicyPropertyManager : public PbAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit PbSizePolicyPropertyManager(QObject *parent = nullptr);
    ~PbSizePolicyPropertyManager() override;

    /// The managers of the stretch rows and of the policy rows, to which
    /// editor factories bind.
    PbIntPropertyManager *subIntPropertyManager() const;
    PbEnumPropertyManager *subEnumPropertyManager() const;

    /// The stored policy; a default-constructed one for a property this
    /// manager does not hold.
    QSizePolicy value(const PbProperty *property) const;
    /// "[horizontal, vertical, horizontal stretch, vertical stretch]" with the
    /// policies' names ("<Invalid>" for a policy without one); empty for a
    /// property not held.
    QString valueText(const PbProperty *property) const override;

public Q_SLOTS:
    /// Stores the policy, brings the rows up to it and announces it once.
    void setValue(PbProperty *property, const QSizePolicy &val);

Q_SIGNALS:
    void valueChanged(PbProperty *property, const QSizePolicy &val);
    /// Emitted by editor factories after their editors took a value change.
    void valueUpdated(PbProperty *property, const QSizePolicy &val);

protected:
    void initializeProperty(PbProperty *property) override;
    void uninitializeProperty(PbProperty *property) override;

private Q_SLOTS:
    void slotIntChanged(PbProperty *row, int value);
    void slotEnumChanged(PbProperty *row, int value);
    void slotPropertyDestroyed(PbProperty *row);

private:
    Q_DISABLE_COPY(PbSizePolicyPropertyManager)
    PbSizePolicyPropertyManagerPrivate *d_ptr;
    friend class PbSizePolicyPropertyManagerPrivate;
};
