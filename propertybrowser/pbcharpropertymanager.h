// Manager of single-character properties: a plain character; the null
// character shows no text.
#pragma once

#include "propertybrowser/pbabstractpropertymanager.h"

#include <QChar>

class PbCharPropertyManagerPrivate;

class PbCharPropertyManager : public PbAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit PbCharPropertyManager(QObject *parent = nullptr);
    ~PbCharPropertyManager() override;

    /// The stored value; the null character for a property this manager does not hold.
    QChar value(const PbProperty *property) const;
    /// The character as a one-character text; null for the null character; null for a property not held.
    QString valueText(const PbProperty *property) const override;

public Q_SLOTS:
    /// Stores and announces only a real change.
    void setValue(PbProperty *property, const QChar &val);

Q_SIGNALS:
    void valueChanged(PbProperty *property, const QChar &val);
    /// Emitted by editor factories after their editors took a value change.
    void valueUpdated(PbProperty *property, const QChar &val);

protected:
    void initializeProperty(PbProperty *property) override;
    void uninitializeProperty(PbProperty *property) override;

private:
    Q_DISABLE_COPY(PbCharPropertyManager)
    PbCharPropertyManagerPrivate *d_ptr;
    friend class PbCharPropertyManagerPrivate;
};
