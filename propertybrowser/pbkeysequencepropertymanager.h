// Manager of key-sequence properties: a plain key sequence, shown with the
// platform's own key names.
#pragma once

#include "propertybrowser/pbabstractpropertymanager.h"

#include <QKeySequence>

class PbKeySequencePropertyManagerPrivate;

class PbKeySequencePropertyManager : public PbAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit PbKeySequencePropertyManager(QObject *parent = nullptr);
    ~PbKeySequencePropertyManager() override;

    /// The stored value; an empty sequence for a property this manager does not hold.
    QKeySequence value(const PbProperty *property) const;
    /// The sequence in the platform's native key names; null for a property not held.
    QString valueText(const PbProperty *property) const override;

public Q_SLOTS:
    /// Stores and announces only a real change.
    void setValue(PbProperty *property, const QKeySequence &val);

Q_SIGNALS:
    void valueChanged(PbProperty *property, const QKeySequence &val);
    /// Emitted by editor factories after their editors took a value change.
    void valueUpdated(PbProperty *property, const QKeySequence &val);

protected:
    void initializeProperty(PbProperty *property) override;
    void uninitializeProperty(PbProperty *property) override;

private:
    Q_DISABLE_COPY(PbKeySequencePropertyManager)
    PbKeySequencePropertyManagerPrivate *d_ptr;
    friend class PbKeySequencePropertyManagerPrivate;
};
