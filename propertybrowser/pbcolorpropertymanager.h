// Manager of colour properties, each shown with editable "Red", "Green",
// "Blue" and "Alpha" rows (0 to 255) that belong to an inner integer manager.
#ifndef PBCOLORPROPERTYMANAGER_H
#define PBCOLORPROPERTYMANAGER_H

#include "propertybrowser/pbabstractpropertymanager.h"

#include <QColor>

class PbIntPropertyManager;
class PbColorPropertyManagerPrivate;

class PbColorPropertyManager : public PbAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit PbColorPropertyManager(QObject *parent = nullptr);
    ~PbColorPropertyManager() override;

    /// The manager of the channel rows, to which an editor factory binds.
    PbIntPropertyManager *subIntPropertyManager() const;

    /// The stored colour; an invalid colour for a property not held.
    QColor value(const PbProperty *property) const;
    /// "[red, green, blue] (alpha)"; null for a property not held.
    QString valueText(const PbProperty *property) const override;
    /// A swatch of the colour; an empty icon for a property not held.
    QIcon valueIcon(const PbProperty *property) const override;

public Q_SLOTS:
    /// Stores the colour as given (its spec included), brings the rows up to
    /// it and announces it once.
    void setValue(PbProperty *property, const QColor &val);

Q_SIGNALS:
    void valueChanged(PbProperty *property, const QColor &val);
    /// Emitted by editor factories after their editors took a value change.
    void valueUpdated(PbProperty *property, const QColor &val);

protected:
    void initializeProperty(PbProperty *property) override;
    void uninitializeProperty(PbProperty *property) override;

private Q_SLOTS:
    void slotIntChanged(PbProperty *row, int value);
    void slotPropertyDestroyed(PbProperty *row);

private:
    Q_DISABLE_COPY(PbColorPropertyManager)
    PbColorPropertyManagerPrivate *d_ptr;
    friend class PbColorPropertyManagerPrivate;
};

#endif
