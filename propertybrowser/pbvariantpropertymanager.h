// One manager for properties of many value types, every value and attribute
// carried as a QVariant. It keeps no values itself: each property wraps a
// property of a typed manager that it owns, and the typed managers' change
// notices come back as valueChanged and attributeChanged. Sub-properties of
// the typed properties (a point's X and Y, a font's fields) are mirrored as
// variant sub-properties.
#ifndef PBVARIANTPROPERTYMANAGER_H
#define PBVARIANTPROPERTYMANAGER_H

#include "propertybrowser/pbabstractpropertymanager.h"
#include "propertybrowser/pbvariantproperty.h"

#include <QColor>
#include <QCursor>
#include <QDateTime>
#include <QFont>
#include <QKeySequence>
#include <QLocale>
#include <QMap>
#include <QPointF>
#include <QRectF>
#include <QRegExp>
#include <QSizeF>
#include <QSizePolicy>
#include <QVariant>

class PbVariantPropertyManagerPrivate;

class PbVariantPropertyManager : public PbAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit PbVariantPropertyManager(QObject *parent = nullptr);
    ~PbVariantPropertyManager() override;

    /// A new property of `propertyType`; null when the type is not supported.
    virtual PbVariantProperty *addProperty(int propertyType, const QString &name = QString());
    /// True for the types listed by the manager, the group type included.
    virtual bool isPropertyTypeSupported(int propertyType) const;
    /// The type of the values of `propertyType`; 0 when not supported.
    virtual int valueType(int propertyType) const;
    int valueType(const PbProperty *property) const;
    /// The type the property was created with; 0 when it is not one of ours.
    int propertyType(const PbProperty *property) const;
    /// The variant property of `property`; null when it is not one of ours.
    PbVariantProperty *variantProperty(const PbProperty *property) const;
    /// The attribute names of `propertyType`, in ascending order.
    virtual QStringList attributes(int propertyType) const;
    /// The type of an attribute's values; 0 when unknown.
    virtual int attributeType(int propertyType, const QString &attribute) const;
    /// The value; invalid for an unknown property or one without a value.
    virtual QVariant value(const PbProperty *property) const;
    /// The attribute's value; invalid when the property's type has no such
    /// attribute or the property is unknown.
    virtual QVariant attributeValue(const PbProperty *property, const QString &attribute) const;

    /// False exactly for group properties.
    bool hasValue(const PbProperty *property) const override;
    QIcon valueIcon(const PbProperty *property) const override;
    /// The wrapped property's display text when it has one, else its value text.
    QString valueText(const PbProperty *property) const override;

    /// The internal property that `property` wraps; null when none.
    static PbProperty *wrappedProperty(const PbProperty *property);

    // Property types of the kinds that have no QVariant type of their own,
    // each a distinct id, and the value type of the "enumIcons" attribute.
    static int enumTypeId();
    static int flagTypeId();
    static int groupTypeId();
    static int iconMapTypeId();

public Q_SLOTS:
    /// Stores `value` converted to the property's value type; a value that
    /// does not convert is refused without effect.
    virtual void setValue(PbProperty *property, const QVariant &value);
    /// Sets an attribute that attributeValue can read; a value that does not
    /// convert to the attribute's type is refused without effect.
    virtual void setAttribute(PbProperty *property, const QString &attribute, const QVariant &value);

Q_SIGNALS:
    void valueChanged(PbProperty *property, const QVariant &val);
    /// Declared for listeners; this manager does not emit it.
    void valueUpdated(PbProperty *property, const QVariant &val);
    /// Declared for listeners; this manager does not emit it.
    void scriptCalled(PbProperty *property);
    void attributeChanged(PbProperty *property, const QString &attribute, const QVariant &val);

protected:
    void initializeProperty(PbProperty *property) override;
    void uninitializeProperty(PbProperty *property) override;
    PbProperty *createProperty() override;

private Q_SLOTS:
    // Relays from the typed managers; the first argument is the internal property.
    void slotValueChanged(PbProperty *property, int val);
    void slotRangeChanged(PbProperty *property, int minVal, int maxVal);
    void slotSingleStepChanged(PbProperty *property, int step);
    void slotValueChanged(PbProperty *property, double val);
    void slotRangeChanged(PbProperty *property, double minVal, double maxVal);
    void slotSingleStepChanged(PbProperty *property, double step);
    void slotDecimalsChanged(PbProperty *property, int prec);
    void slotValueChanged(PbProperty *property, bool val);
    void slotValueChanged(PbProperty *property, const QString &val);
    void slotRegExpChanged(PbProperty *property, const QRegExp &regExp);
    void slotInputMaskChanged(PbProperty *property, const QString &mask);
    void slotEchoModeChanged(PbProperty *property, int mode);
    void slotValueChanged(PbProperty *property, const QDate &val);
    void slotRangeChanged(PbProperty *property, const QDate &minVal, const QDate &maxVal);
    void slotValueChanged(PbProperty *property, const QTime &val);
    void slotValueChanged(PbProperty *property, const QDateTime &val);
    void slotValueChanged(PbProperty *property, const QKeySequence &val);
    void slotValueChanged(PbProperty *property, const QChar &val);
    void slotValueChanged(PbProperty *property, const QLocale &val);
    void slotValueChanged(PbProperty *property, const QPoint &val);
    void slotValueChanged(PbProperty *property, const QPointF &val);
    void slotValueChanged(PbProperty *property, const QSize &val);
    void slotRangeChanged(PbProperty *property, const QSize &minVal, const QSize &maxVal);
    void slotValueChanged(PbProperty *property, const QSizeF &val);
    void slotRangeChanged(PbProperty *property, const QSizeF &minVal, const QSizeF &maxVal);
    void slotValueChanged(PbProperty *property, const QRect &val);
    void slotConstraintChanged(PbProperty *property, const QRect &constraint);
    void slotValueChanged(PbProperty *property, const QRectF &val);
    void slotConstraintChanged(PbProperty *property, const QRectF &constraint);
    void slotValueChanged(PbProperty *property, const QColor &val);
    void slotEnumNamesChanged(PbProperty *property, const QStringList &names);
    void slotEnumIconsChanged(PbProperty *property, const QMap<int, QIcon> &icons);
    void slotValueChanged(PbProperty *property, const QSizePolicy &val);
    void slotValueChanged(PbProperty *property, const QFont &val);
    void slotValueChanged(PbProperty *property, const QCursor &val);
    void slotFlagNamesChanged(PbProperty *property, const QStringList &names);
    void slotReadOnlyChanged(PbProperty *property, bool readOnly);
    void slotTextVisibleChanged(PbProperty *property, bool visible);
    void slotPropertyInserted(PbProperty *property, PbProperty *parent, PbProperty *after);
    void slotPropertyRemoved(PbProperty *property, PbProperty *parent);

private:
    Q_DISABLE_COPY(PbVariantPropertyManager)
    PbVariantPropertyManagerPrivate *d_ptr;
    friend class PbVariantPropertyManagerPrivate;
};

#endif
