// State of the variant manager: the serving manager, value type and
// attributes of each supported type, the type of each property, and the
// links between internal properties and the variant properties over them.
#ifndef PBVARIANTPROPERTYMANAGER_P_H
#define PBVARIANTPROPERTYMANAGER_P_H

#include "propertybrowser/pbvariantpropertymanager.h"

#include <QHash>
#include <QMap>
#include <QPair>
#include <QString>

class PbVariantPropertyManagerPrivate
{
public:
    explicit PbVariantPropertyManagerPrivate(PbVariantPropertyManager *q) : q_ptr(q) {}

    /// Builds the serving manager of every supported type and connects its
    /// notices to the relays (the per-type table).
    void createServingManagers();

    /// Mirrors `internal` under `parent` behind `after` (first when null);
    /// null when the internal property's manager has no mirrored type.
    PbVariantProperty *createSubProperty(PbVariantProperty *parent, PbVariantProperty *after, PbProperty *internal);
    /// Deletes the mirror of an internal sub-property that its manager removed.
    void removeSubProperty(PbVariantProperty *mirror);

    /// Emits valueChanged, then propertyChanged, for the mirror of `internal`.
    void relayValue(PbProperty *internal, const QVariant &value);
    /// Emits attributeChanged for the mirror of `internal`.
    void relayAttribute(PbProperty *internal, const QString &attribute, const QVariant &value);

    /// Registers one supported type.
    void addType(int type, PbAbstractPropertyManager *manager, int valueType,
                 const QList<QPair<QString, int>> &attributes = {});

    PbVariantPropertyManager *q_ptr;
    bool m_creatingProperty = false;
    bool m_creatingSubProperties = false;
    bool m_destroyingSubProperties = false;
    int m_propertyType = 0;
    QMap<int, PbAbstractPropertyManager *> m_typeToPropertyManager;
    QMap<int, QMap<QString, int>> m_typeToAttributeToAttributeType;
    QHash<const PbProperty *, QPair<PbVariantProperty *, int>> m_propertyToType;
    QMap<int, int> m_typeToValueType;
    QHash<const PbProperty *, PbVariantProperty *> m_internalToProperty;

    const QString m_constraintAttribute = QStringLiteral("constraint");
    const QString m_singleStepAttribute = QStringLiteral("singleStep");
    const QString m_decimalsAttribute = QStringLiteral("decimals");
    const QString m_enumIconsAttribute = QStringLiteral("enumIcons");
    const QString m_enumNamesAttribute = QStringLiteral("enumNames");
    const QString m_flagNamesAttribute = QStringLiteral("flagNames");
    const QString m_maximumAttribute = QStringLiteral("maximum");
    const QString m_minimumAttribute = QStringLiteral("minimum");
    const QString m_regExpAttribute = QStringLiteral("regExp");
    const QString m_inputMaskAttribute = QStringLiteral("inputMask");
    const QString m_echoModeAttribute = QStringLiteral("echoMode");
    const QString m_readOnlyAttribute = QStringLiteral("readOnly");
    const QString m_btnVisibleAttribute = QStringLiteral("btnVisible");
    const QString m_btnCaptionAttribute = QStringLiteral("btnCaption");
    const QString m_textVisibleAttribute = QStringLiteral("textVisible");
};

// Access to the typed managers, by the class of the manager that owns an
// internal property (defined beside the table of supported types).
namespace PbVariantAccess {
/// The property type of a mirror over a property of `manager`; 0 when such
/// properties are not mirrored.
int mirrorType(const PbAbstractPropertyManager *manager);
/// The value of an internal property; invalid for a group.
QVariant value(const PbProperty *internal);
/// Stores `value`, already of the manager's value type.
void setValue(PbProperty *internal, const QVariant &value);
/// An attribute of an internal property; invalid when the manager has none
/// of that name.
QVariant attribute(const PbVariantPropertyManagerPrivate &d, const PbProperty *internal, const QString &name);
/// Sets an attribute, `value` already of the attribute's type.
void setAttribute(const PbVariantPropertyManagerPrivate &d, PbProperty *internal, const QString &name,
                  const QVariant &value);
} // namespace PbVariantAccess

#endif
