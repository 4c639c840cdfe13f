// Manager of rectangle properties: a rectangle held inside an optional
// constraint, shown with editable "X", "Y", "Width" and "Height" rows of an
// inner integer manager.
#pragma once

#include "propertybrowser/pbabstractpropertymanager.h"

#include <QRect>

class PbIntPropertyManager;
class PbRectPropertyManagerPrivate;

class PbRectPropertyManager : public PbAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit PbRectPropertyManager(QObject *parent = nullptr);
    ~PbRectPropertyManager() override;

    /// The manager of the four rows, to which an editor factory binds.
    PbIntPropertyManager *subIntPropertyManager() const;

    // Getters answer the null rectangle for a property this manager does not hold.
    QRect value(const PbProperty *property) const;
    /// The null rectangle stands for no constraint.
    QRect constraint(const PbProperty *property) const;
    /// "[(x, y), w x h]"; null for a property not held.
    QString valueText(const PbProperty *property) const override;

public Q_SLOTS:
    /// Stores the rectangle normalised and cut down to the constraint; a
    /// rectangle that does not overlap the constraint, or only touches it, is
    /// refused. Brings the rows up to it and announces it once.
    void setValue(PbProperty *property, const QRect &val);
    /// Fits the value into the new constraint (shrunk, then moved inside) and
    /// gives the rows the constraint's ranges; the null rectangle removes it.
    void setConstraint(PbProperty *property, const QRect &constraint);

Q_SIGNALS:
    void valueChanged(PbProperty *property, const QRect &val);
    /// Emitted by editor factories after their editors took a value change.
    void valueUpdated(PbProperty *property, const QRect &val);
    void constraintChanged(PbProperty *property, const QRect &constraint);

protected:
    void initializeProperty(PbProperty *property) override;
    void uninitializeProperty(PbProperty *property) override;

private Q_SLOTS:
    void slotIntChanged(PbProperty *row, int value);
    void slotPropertyDestroyed(PbProperty *row);

private:
    Q_DISABLE_COPY(PbRectPropertyManager)
    PbRectPropertyManagerPrivate *d_ptr;
    friend class PbRectPropertyManagerPrivate;
};
