// Manager of enumeration properties: one choice out of an ordered list of
// names, each optionally with an icon; the value is the index, -1 for none.
#pragma once

#include "propertybrowser/pbabstractpropertymanager.h"

#include <QIcon>
#include <QMap>
#include <QStringList>

class PbEnumPropertyManagerPrivate;

class PbEnumPropertyManager : public PbAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit PbEnumPropertyManager(QObject *parent = nullptr);
    ~PbEnumPropertyManager() override;

    /// The chosen index; -1 when nothing is chosen or the property is not held.
    int value(const PbProperty *property) const;
    QStringList enumNames(const PbProperty *property) const;
    QMap<int, QIcon> enumIcons(const PbProperty *property) const;

    /// The chosen name; empty when there is none.
    QString valueText(const PbProperty *property) const override;
    /// The icon of the chosen index; empty when there is none.
    QIcon valueIcon(const PbProperty *property) const override;

public Q_SLOTS:
    /// Moves to index `val`; an index outside the names is refused.
    void setValue(PbProperty *property, int val);
    /// As setValue, but announced by valueChangedNoUpdate instead of valueChanged.
    void setValueNoUpdate(PbProperty *property, int val);
    /// New names reset the value to 0 (or -1 for an empty list).
    void setEnumNames(PbProperty *property, const QStringList &names);
    /// Replaces the icons and always announces them.
    void setEnumIcons(PbProperty *property, const QMap<int, QIcon> &icons);

Q_SIGNALS:
    void valueChanged(PbProperty *property, int val);
    void valueChangedNoUpdate(PbProperty *property, int val);
    /// Emitted by editor factories after their editors took a value change.
    void valueUpdated(PbProperty *property, int val);
    void enumNamesChanged(PbProperty *property, const QStringList &names);
    void enumIconsChanged(PbProperty *property, const QMap<int, QIcon> &icons);

protected:
    void initializeProperty(PbProperty *property) override;
    void uninitializeProperty(PbProperty *property) override;

private:
    Q_DISABLE_COPY(PbEnumPropertyManager)
    PbEnumPropertyManagerPrivate *d_ptr;
    friend class PbEnumPropertyManagerPrivate;
};
