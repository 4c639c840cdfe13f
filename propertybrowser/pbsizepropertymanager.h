// Manager of size properties: a size kept inside [minimum, maximum] per
// component, shown with editable "Width" and "Height" rows of an inner
// integer manager.
#pragma once

#include "propertybrowser/pbabstractpropertymanager.h"

#include <QSize>

class PbIntPropertyManager;
class PbSizePropertyManagerPrivate;

class PbSizePropertyManager : public PbAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit PbSizePropertyManager(QObject *parent = nullptr);
    ~PbSizePropertyManager() override;

    /// The manager of the Width and Height rows, to which an editor factory binds.
    PbIntPropertyManager *subIntPropertyManager() const;

    // Getters answer the invalid size for a property this manager does not hold.
    QSize value(const PbProperty *property) const;
    QSize minimum(const PbProperty *property) const;
    QSize maximum(const PbProperty *property) const;
    /// "w x h"; null for a property not held.
    QString valueText(const PbProperty *property) const override;

public Q_SLOTS:
    /// Stores `val` bounded into the range per component, brings the rows up
    /// to it and announces it once. With `checkChanging` false the change is
    /// announced even when the stored size stays the same.
    void setValue(PbProperty *property, const QSize &val, bool checkChanging = true);
    void setMinimum(PbProperty *property, const QSize &minVal);
    void setMaximum(PbProperty *property, const QSize &maxVal);
    /// The borders are put in order per component.
    void setRange(PbProperty *property, const QSize &minVal, const QSize &maxVal);

Q_SIGNALS:
    void valueChanged(PbProperty *property, const QSize &val);
    /// Emitted by editor factories after their editors took a value change.
    void valueUpdated(PbProperty *property, const QSize &val);
    void rangeChanged(PbProperty *property, const QSize &minVal, const QSize &maxVal);

protected:
    void initializeProperty(PbProperty *property) override;
    void uninitializeProperty(PbProperty *property) override;

private Q_SLOTS:
    void slotIntChanged(PbProperty *row, int value);
    void slotPropertyDestroyed(PbProperty *row);

private:
    Q_DISABLE_COPY(PbSizePropertyManager)
    PbSizePropertyManagerPrivate *d_ptr;
    friend class PbSizePropertyManagerPrivate;
};
