// Manager of boolean properties: a value shown as a check-box icon and,
// unless switched off, the text "True" or "False".
#pragma once

#include "propertybrowser/pbabstractpropertymanager.h"

class PbBoolPropertyManagerPrivate;

class PbBoolPropertyManager : public PbAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit PbBoolPropertyManager(QObject *parent = nullptr);
    ~PbBoolPropertyManager() override;

    // Getters answer false for a property this manager does not hold.
    bool value(const PbProperty *property) const;
    bool textVisible(const PbProperty *property) const;

    /// Translated "True"/"False"; null when the text is hidden or not held.
    QString valueText(const PbProperty *property) const override;
    /// The ticked or empty check-box icon; null for a property not held.
    QIcon valueIcon(const PbProperty *property) const override;

public Q_SLOTS:
    void setValue(PbProperty *property, bool val);
    void setTextVisible(PbProperty *property, bool textVisible);

Q_SIGNALS:
    void valueChanged(PbProperty *property, bool val);
    /// Emitted by editor factories after their editors took a value change.
    void valueUpdated(PbProperty *property, bool val);
    void textVisibleChanged(PbProperty *property, bool textVisible);

protected:
    void initializeProperty(PbProperty *property) override;
    void uninitializeProperty(PbProperty *property) override;

private:
    Q_DISABLE_COPY(PbBoolPropertyManager)
    PbBoolPropertyManagerPrivate *d_ptr;
    friend class PbBoolPropertyManagerPrivate;
};
