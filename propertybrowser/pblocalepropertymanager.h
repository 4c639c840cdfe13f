// Manager of locale properties, each shown with editable "Language" and
// "Country" rows that belong to an inner enumeration manager.
#pragma once

#include "propertybrowser/pbabstractpropertymanager.h"

#include <QLocale>

class PbEnumPropertyManager;
class PbLocalePropertyManagerPrivate;

class PbLocalePropertyManager : public PbAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit PbLocalePropertyManager(QObject *parent = nullptr);
    ~PbLocalePropertyManager() override;

    /// The manager of the Language and Country rows, to which an editor
    /// factory binds.
    PbEnumPropertyManager *enumSubManager() const;

    /// The stored locale; a default-constructed QLocale for a property this
    /// manager does not hold.
    QLocale value(const PbProperty *property) const;
    /// "language, country"; a name the tables do not list is left empty; null
    /// for a property not held.
    QString valueText(const PbProperty *property) const override;

public Q_SLOTS:
    /// Stores the locale, brings the rows up to it and announces it once.
    void setValue(PbProperty *property, const QLocale &val);

Q_SIGNALS:
    void valueChanged(PbProperty *property, const QLocale &val);
    /// Emitted by editor factories after their editors took a value change.
    void valueUpdated(PbProperty *property, const QLocale &val);

protected:
    void initializeProperty(PbProperty *property) override;
    void uninitializeProperty(PbProperty *property) override;

private Q_SLOTS:
    void slotEnumChanged(PbProperty *row, int value);
    void slotPropertyDestroyed(PbProperty *row);

private:
    Q_DISABLE_COPY(PbLocalePropertyManager)
    PbLocalePropertyManagerPrivate *d_ptr;
    friend class PbLocalePropertyManagerPrivate;
};
