// Variant manager: type ids, creation of wrapped properties and their
// mirrors, conversion of values and attributes, and the relays that turn the
// typed managers' notices into variant notices.
#include "propertybrowser/pbvariantpropertymanager.h"

#include "propertybrowser/pbvariantpropertymanager_p.h"

#include <QDateTime>
#include <QIcon>
#include <QTime>

#include <climits>

// Marker types: their only use is a distinct meta-type id each.
struct PbEnumPropertyType {
};
struct PbFlagPropertyType {
};
struct PbGroupPropertyType {
};
Q_DECLARE_METATYPE(PbEnumPropertyType)
Q_DECLARE_METATYPE(PbFlagPropertyType)
Q_DECLARE_METATYPE(PbGroupPropertyType)

using PbIconMap = QMap<int, QIcon>;

int PbVariantPropertyManager::enumTypeId()
{
    static const int id = qRegisterMetaType<PbEnumPropertyType>("PbEnumPropertyType");
    return id;
}

int PbVariantPropertyManager::flagTypeId()
{
    static const int id = qRegisterMetaType<PbFlagPropertyType>("PbFlagPropertyType");
    return id;
}

int PbVariantPropertyManager::groupTypeId()
{
    static const int id = qRegisterMetaType<PbGroupPropertyType>("PbGroupPropertyType");
    return id;
}

int PbVariantPropertyManager::iconMapTypeId()
{
    // The name is an alias of the map type itself, so that a QVariant
    // holding an icon map has exactly this type.
    static const int id = qRegisterMetaType<PbIconMap>("PbIconMap");
    return id;
}

namespace {

using WrappedMap = QHash<const PbProperty *, PbProperty *>;
Q_GLOBAL_STATIC(WrappedMap, propertyToWrappedProperty)

// `value` converted to `type`; invalid when the conversion does not really
// succeed (a text that spells no number, a date that does not exist), not
// merely when Qt declares the two types convertible.
QVariant converted(const QVariant &value, int type)
{
    if (!value.isValid() || type == QMetaType::UnknownType)
        return QVariant();
    // Qt reads any text but "", "0" and "false" as true: only the words of a
    // truth value count here.
    if (type == QMetaType::Bool && value.userType() == QMetaType::QString) {
        static const QStringList words = {"true", "false", "1", "0"};
        if (!words.contains(value.toString().trimmed(), Qt::CaseInsensitive))
            return QVariant();
    }
    // Qt narrows a number outside the int range without failing.
    if (type == QMetaType::Int) {
        bool isNumber = false;
        const double number = value.toDouble(&isNumber);
        if (isNumber && !(number >= INT_MIN && number <= INT_MAX))
            return QVariant();
    }
    QVariant result = value;
    if (result.userType() != type && !result.convert(type))
        return QVariant();
    switch (type) {
    case QMetaType::QDate:
        return result.toDate().isValid() ? result : QVariant();
    case QMetaType::QTime:
        return result.toTime().isValid() ? result : QVariant();
    case QMetaType::QDateTime:
        return result.toDateTime().isValid() ? result : QVariant();
    case QMetaType::QKeySequence: {
        // A text that names no key still converts, to the unknown key.
        const QKeySequence sequence = result.value<QKeySequence>();
        for (int i = 0; i < sequence.count(); ++i) {
            if ((sequence[uint(i)] & ~Qt::KeyboardModifierMask) == Qt::Key_unknown)
                return QVariant();
        }
        return result;
    }
    default:
        return result;
    }
}

} // namespace

PbProperty *PbVariantPropertyManager::wrappedProperty(const PbProperty *property)
{
    const WrappedMap *map = propertyToWrappedProperty();
    return map ? map->value(property, nullptr) : nullptr;
}

PbVariantPropertyManager::PbVariantPropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbVariantPropertyManagerPrivate(this))
{
    d_ptr->createServingManagers();
}

PbVariantPropertyManager::~PbVariantPropertyManager()
{
    // Our own uninitializeProperty must see every property go, which the
    // base destructor could no longer reach.
    clear();
    delete d_ptr;
}

void PbVariantPropertyManagerPrivate::addType(int type, PbAbstractPropertyManager *manager, int valueType,
                                              const QList<QPair<QString, int>> &attributes)
{
    m_typeToPropertyManager.insert(type, manager);
    m_typeToValueType.insert(type, valueType);
    QMap<QString, int> &table = m_typeToAttributeToAttributeType[type];
    for (const auto &attribute : attributes)
        table.insert(attribute.first, attribute.second);
}

PbVariantProperty *PbVariantPropertyManager::addProperty(int propertyType, const QString &name)
{
    if (!isPropertyTypeSupported(propertyType))
        return nullptr;
    // Mirrors are created by nested calls while an outer property is under
    // creation: both the flag and the type are given back to the outer call.
    const bool wasCreating = d_ptr->m_creatingProperty;
    const int outerType = d_ptr->m_propertyType;
    d_ptr->m_creatingProperty = true;
    d_ptr->m_propertyType = propertyType;
    PbProperty *property = PbAbstractPropertyManager::addProperty(name);
    d_ptr->m_creatingProperty = wasCreating;
    d_ptr->m_propertyType = outerType;
    return property ? variantProperty(property) : nullptr;
}

PbProperty *PbVariantPropertyManager::createProperty()
{
    if (!d_ptr->m_creatingProperty)
        return nullptr;
    auto *property = new PbVariantProperty(this);
    d_ptr->m_propertyToType.insert(property, qMakePair(property, d_ptr->m_propertyType));
    return property;
}

void PbVariantPropertyManager::initializeProperty(PbProperty *property)
{
    PbVariantProperty *varProp = variantProperty(property);
    PbAbstractPropertyManager *manager = d_ptr->m_typeToPropertyManager.value(d_ptr->m_propertyType, nullptr);
    if (!varProp || !manager)
        return;
    PbProperty *internal = nullptr;
    if (!d_ptr->m_creatingSubProperties) {
        internal = manager->addProperty(QString());
        d_ptr->m_internalToProperty.insert(internal, varProp);
    }
    if (WrappedMap *map = propertyToWrappedProperty())
        map->insert(varProp, internal);
    if (!internal)
        return;
    PbVariantProperty *last = nullptr;
    for (PbProperty *sub : internal->subProperties()) {
        if (PbVariantProperty *mirror = d_ptr->createSubProperty(varProp, last, sub))
            last = mirror;
    }
}

PbVariantProperty *PbVariantPropertyManagerPrivate::createSubProperty(PbVariantProperty *parent,
                                                                      PbVariantProperty *after, PbProperty *internal)
{
    const int type = PbVariantAccess::mirrorType(internal->propertyManager());
    if (type == 0)
        return nullptr;
    const bool wasCreatingSubProperties = m_creatingSubProperties;
    m_creatingSubProperties = true;
    PbVariantProperty *mirror = q_ptr->addProperty(type, internal->propertyName());
    m_creatingSubProperties = wasCreatingSubProperties;
    if (!mirror)
        return nullptr;
    mirror->setPropertyName(internal->propertyName());
    mirror->setToolTip(internal->toolTip());
    mirror->setStatusTip(internal->statusTip());
    mirror->setWhatsThis(internal->whatsThis());
    parent->insertSubProperty(mirror, after);
    m_internalToProperty.insert(internal, mirror);
    if (WrappedMap *map = propertyToWrappedProperty())
        map->insert(mirror, internal);
    return mirror;
}

void PbVariantPropertyManagerPrivate::removeSubProperty(PbVariantProperty *mirror)
{
    PbProperty *internal = PbVariantPropertyManager::wrappedProperty(mirror);
    const bool wasDestroying = m_destroyingSubProperties;
    m_destroyingSubProperties = true;
    delete mirror;
    m_destroyingSubProperties = wasDestroying;
    m_internalToProperty.remove(internal);
    if (WrappedMap *map = propertyToWrappedProperty())
        map->remove(mirror);
}

void PbVariantPropertyManager::uninitializeProperty(PbProperty *property)
{
    if (!d_ptr->m_propertyToType.contains(property))
        return;
    WrappedMap *map = propertyToWrappedProperty();
    if (map && map->contains(property)) {
        // Both links go before the internal property does: its deletion
        // makes its manager announce the removal of its sub-properties, and
        // a link still standing would let the relay delete a dying mirror.
        PbProperty *internal = map->take(property);
        if (internal) {
            d_ptr->m_internalToProperty.remove(internal);
            if (!d_ptr->m_destroyingSubProperties)
                delete internal;
        }
    }
    d_ptr->m_propertyToType.remove(property);
}

bool PbVariantPropertyManager::isPropertyTypeSupported(int propertyType) const
{
    return d_ptr->m_typeToValueType.contains(propertyType);
}

int PbVariantPropertyManager::valueType(int propertyType) const
{
    return d_ptr->m_typeToValueType.value(propertyType, 0);
}

int PbVariantPropertyManager::valueType(const PbProperty *property) const
{
    return valueType(propertyType(property));
}

int PbVariantPropertyManager::propertyType(const PbProperty *property) const
{
    return d_ptr->m_propertyToType.value(property, qMakePair(nullptr, 0)).second;
}

PbVariantProperty *PbVariantPropertyManager::variantProperty(const PbProperty *property) const
{
    return d_ptr->m_propertyToType.value(property, qMakePair(nullptr, 0)).first;
}

QStringList PbVariantPropertyManager::attributes(int propertyType) const
{
    return d_ptr->m_typeToAttributeToAttributeType.value(propertyType).keys();
}

int PbVariantPropertyManager::attributeType(int propertyType, const QString &attribute) const
{
    return d_ptr->m_typeToAttributeToAttributeType.value(propertyType).value(attribute, 0);
}

QVariant PbVariantPropertyManager::value(const PbProperty *property) const
{
    const PbProperty *internal = wrappedProperty(property);
    return internal ? PbVariantAccess::value(internal) : QVariant();
}

void PbVariantPropertyManager::setValue(PbProperty *property, const QVariant &value)
{
    const QVariant typed = converted(value, valueType(property));
    PbProperty *internal = wrappedProperty(property);
    if (typed.isValid() && internal)
        PbVariantAccess::setValue(internal, typed);
}

QVariant PbVariantPropertyManager::attributeValue(const PbProperty *property, const QString &attribute) const
{
    const int type = propertyType(property);
    if (type == 0 || !d_ptr->m_typeToAttributeToAttributeType.value(type).contains(attribute))
        return QVariant();
    const PbProperty *internal = wrappedProperty(property);
    return internal ? PbVariantAccess::attribute(*d_ptr, internal, attribute) : QVariant();
}

void PbVariantPropertyManager::setAttribute(PbProperty *property, const QString &attribute, const QVariant &value)
{
    if (!attributeValue(property, attribute).isValid())
        return;
    const QVariant typed = converted(value, attributeType(propertyType(property), attribute));
    PbProperty *internal = wrappedProperty(property);
    if (typed.isValid() && internal)
        PbVariantAccess::setAttribute(*d_ptr, internal, attribute, typed);
}

bool PbVariantPropertyManager::hasValue(const PbProperty *property) const
{
    return propertyType(property) != groupTypeId();
}

QString PbVariantPropertyManager::valueText(const PbProperty *property) const
{
    const PbProperty *internal = wrappedProperty(property);
    if (!internal)
        return QString();
    const QString shown = internal->displayText();
    return shown.isEmpty() ? internal->valueText() : shown;
}

QIcon PbVariantPropertyManager::valueIcon(const PbProperty *property) const
{
    const PbProperty *internal = wrappedProperty(property);
    return internal ? internal->valueIcon() : QIcon();
}

// --- relays ---------------------------------------------------------------

void PbVariantPropertyManagerPrivate::relayValue(PbProperty *internal, const QVariant &value)
{
    PbVariantProperty *mirror = m_internalToProperty.value(internal, nullptr);
    if (!mirror)
        return;
    Q_EMIT q_ptr->valueChanged(mirror, value);
    Q_EMIT q_ptr->propertyChanged(mirror);
}

void PbVariantPropertyManagerPrivate::relayAttribute(PbProperty *internal, const QString &attribute,
                                                     const QVariant &value)
{
    if (PbVariantProperty *mirror = m_internalToProperty.value(internal, nullptr))
        Q_EMIT q_ptr->attributeChanged(mirror, attribute, value);
}

// Every value relay has the same body whatever the value type.
#define PB_VALUE_RELAY(Type)                                                                                        \
    void PbVariantPropertyManager::slotValueChanged(PbProperty *property, Type val)                                \
    {                                                                                                               \
        d_ptr->relayValue(property, QVariant::fromValue(val));                                                      \
    }
PB_VALUE_RELAY(int)
PB_VALUE_RELAY(double)
PB_VALUE_RELAY(bool)
PB_VALUE_RELAY(const QString &)
PB_VALUE_RELAY(const QDate &)
PB_VALUE_RELAY(const QTime &)
PB_VALUE_RELAY(const QDateTime &)
PB_VALUE_RELAY(const QKeySequence &)
PB_VALUE_RELAY(const QChar &)
PB_VALUE_RELAY(const QLocale &)
PB_VALUE_RELAY(const QPoint &)
PB_VALUE_RELAY(const QPointF &)
PB_VALUE_RELAY(const QSize &)
PB_VALUE_RELAY(const QSizeF &)
PB_VALUE_RELAY(const QRect &)
PB_VALUE_RELAY(const QRectF &)
PB_VALUE_RELAY(const QColor &)
PB_VALUE_RELAY(const QSizePolicy &)
PB_VALUE_RELAY(const QFont &)
PB_VALUE_RELAY(const QCursor &)
#undef PB_VALUE_RELAY

#define PB_RANGE_RELAY(Type)                                                                                        \
    void PbVariantPropertyManager::slotRangeChanged(PbProperty *property, Type minVal, Type maxVal)                \
    {                                                                                                               \
        d_ptr->relayAttribute(property, d_ptr->m_minimumAttribute, QVariant::fromValue(minVal));                   \
        d_ptr->relayAttribute(property, d_ptr->m_maximumAttribute, QVariant::fromValue(maxVal));                   \
    }
PB_RANGE_RELAY(int)
PB_RANGE_RELAY(double)
PB_RANGE_RELAY(const QDate &)
PB_RANGE_RELAY(const QSize &)
PB_RANGE_RELAY(const QSizeF &)
#undef PB_RANGE_RELAY

void PbVariantPropertyManager::slotSingleStepChanged(PbProperty *property, int step)
{
    d_ptr->relayAttribute(property, d_ptr->m_singleStepAttribute, step);
}

void PbVariantPropertyManager::slotSingleStepChanged(PbProperty *property, double step)
{
    d_ptr->relayAttribute(property, d_ptr->m_singleStepAttribute, step);
}

void PbVariantPropertyManager::slotDecimalsChanged(PbProperty *property, int prec)
{
    d_ptr->relayAttribute(property, d_ptr->m_decimalsAttribute, prec);
}

void PbVariantPropertyManager::slotRegExpChanged(PbProperty *property, const QRegExp &regExp)
{
    d_ptr->relayAttribute(property, d_ptr->m_regExpAttribute, regExp);
}

void PbVariantPropertyManager::slotInputMaskChanged(PbProperty *property, const QString &mask)
{
    d_ptr->relayAttribute(property, d_ptr->m_inputMaskAttribute, mask);
}

void PbVariantPropertyManager::slotEchoModeChanged(PbProperty *property, int mode)
{
    d_ptr->relayAttribute(property, d_ptr->m_echoModeAttribute, mode);
}

void PbVariantPropertyManager::slotConstraintChanged(PbProperty *property, const QRect &constraint)
{
    d_ptr->relayAttribute(property, d_ptr->m_constraintAttribute, constraint);
}

void PbVariantPropertyManager::slotConstraintChanged(PbProperty *property, const QRectF &constraint)
{
    d_ptr->relayAttribute(property, d_ptr->m_constraintAttribute, constraint);
}

void PbVariantPropertyManager::slotEnumNamesChanged(PbProperty *property, const QStringList &names)
{
    d_ptr->relayAttribute(property, d_ptr->m_enumNamesAttribute, names);
}

void PbVariantPropertyManager::slotEnumIconsChanged(PbProperty *property, const QMap<int, QIcon> &icons)
{
    d_ptr->relayAttribute(property, d_ptr->m_enumIconsAttribute, QVariant(iconMapTypeId(), &icons));
}

void PbVariantPropertyManager::slotFlagNamesChanged(PbProperty *property, const QStringList &names)
{
    d_ptr->relayAttribute(property, d_ptr->m_flagNamesAttribute, names);
}

void PbVariantPropertyManager::slotReadOnlyChanged(PbProperty *property, bool readOnly)
{
    d_ptr->relayAttribute(property, d_ptr->m_readOnlyAttribute, readOnly);
}

void PbVariantPropertyManager::slotTextVisibleChanged(PbProperty *property, bool visible)
{
    d_ptr->relayAttribute(property, d_ptr->m_textVisibleAttribute, visible);
}

void PbVariantPropertyManager::slotPropertyInserted(PbProperty *property, PbProperty *parent, PbProperty *after)
{
    // Sub-properties of a property under creation are mirrored by
    // initializeProperty once the internal property is complete.
    if (d_ptr->m_creatingProperty)
        return;
    PbVariantProperty *varParent = d_ptr->m_internalToProperty.value(parent, nullptr);
    if (!varParent)
        return;
    PbVariantProperty *varAfter = nullptr;
    if (after) {
        varAfter = d_ptr->m_internalToProperty.value(after, nullptr);
        if (!varAfter)
            return;
    }
    d_ptr->createSubProperty(varParent, varAfter, property);
}

void PbVariantPropertyManager::slotPropertyRemoved(PbProperty *property, PbProperty *)
{
    if (PbVariantProperty *mirror = d_ptr->m_internalToProperty.value(property, nullptr))
        d_ptr->removeSubProperty(mirror);
}
