// The types the variant manager supports: one serving manager per type with
// its value type, attributes and notices, and the typed access to values and
// attributes by the class of the manager that owns an internal property.
#include "propertybrowser/pbvariantpropertymanager_p.h"

#include "propertybrowser/pbboolpropertymanager.h"
#include "propertybrowser/pbcharpropertymanager.h"
#include "propertybrowser/pbcolorpropertymanager.h"
#include "propertybrowser/pbcursorpropertymanager.h"
#include "propertybrowser/pbdatepropertymanager.h"
#include "propertybrowser/pbdatetimepropertymanager.h"
#include "propertybrowser/pbdoublepropertymanager.h"
#include "propertybrowser/pbenumpropertymanager.h"
#include "propertybrowser/pbflagpropertymanager.h"
#include "propertybrowser/pbfontpropertymanager.h"
#include "propertybrowser/pbgrouppropertymanager.h"
#include "propertybrowser/pbintpropertymanager.h"
#include "propertybrowser/pbkeysequencepropertymanager.h"
#include "propertybrowser/pblocalepropertymanager.h"
#include "propertybrowser/pbpointfpropertymanager.h"
#include "propertybrowser/pbpointpropertymanager.h"
#include "propertybrowser/pbrectfpropertymanager.h"
#include "propertybrowser/pbrectpropertymanager.h"
#include "propertybrowser/pbsizefpropertymanager.h"
#include "propertybrowser/pbsizepolicypropertymanager.h"
#include "propertybrowser/pbsizepropertymanager.h"
#include "propertybrowser/pbstringpropertymanager.h"
#include "propertybrowser/pbtimepropertymanager.h"

#include <type_traits>

namespace {

/// One notice of a serving manager relayed by the variant manager: the
/// signal `name(PbProperty*,args)` goes to the relay slot of the same
/// arguments named "slot" and the signal's name with a capital.
struct Relay {
    const char *name;
    const char *args;
};

void connectRelays(PbVariantPropertyManager *q, const QObject *sender, std::initializer_list<Relay> relays)
{
    for (const Relay &r : relays) {
        const QByteArray name(r.name);
        const QByteArray slotName = name.left(1).toUpper() + name.mid(1);
        const QByteArray args = QByteArray("(PbProperty*,") + r.args + ')';
        const QByteArray signal = QByteArray::number(QSIGNAL_CODE) + name + args;
        const QByteArray slot = QByteArray::number(QSLOT_CODE) + "slot" + slotName + args;
        QObject::connect(sender, signal.constData(), q, slot.constData());
    }
}

// The structural notices of a manager whose properties have sub-properties.
const Relay propertyInserted = {"propertyInserted", "PbProperty*,PbProperty*"};
const Relay propertyRemoved = {"propertyRemoved", "PbProperty*"};

/// Runs `f` on `manager` as an `M` when it is one; false otherwise.
template <class M, class F>
bool as(const PbAbstractPropertyManager *manager, F f)
{
    M *typed = qobject_cast<M *>(const_cast<PbAbstractPropertyManager *>(manager));
    if (!typed)
        return false;
    f(typed);
    return true;
}

template <class M>
using ValueOf = std::decay_t<decltype(std::declval<M>().value(nullptr))>;

} // namespace

void PbVariantPropertyManagerPrivate::createServingManagers()
{
    PbVariantPropertyManager *q = q_ptr;
    const int Int = QMetaType::Int, Double = QMetaType::Double, Bool = QMetaType::Bool;
    const int String = QMetaType::QString, StringList = QMetaType::QStringList;
    const Relay intValue = {"valueChanged", "int"}, intRange = {"rangeChanged", "int,int"};
    const Relay doubleValue = {"valueChanged", "double"}, doubleRange = {"rangeChanged", "double,double"};
    const Relay decimals = {"decimalsChanged", "int"}, enumNames = {"enumNamesChanged", "QStringList"};

    auto *ints = new PbIntPropertyManager(q);
    addType(Int, ints, Int,
            {{m_minimumAttribute, Int}, {m_maximumAttribute, Int}, {m_singleStepAttribute, Int},
             {m_readOnlyAttribute, Bool}, {m_btnVisibleAttribute, Bool}, {m_btnCaptionAttribute, String}});
    connectRelays(q, ints, {intValue, intRange, {"singleStepChanged", "int"}});

    auto *doubles = new PbDoublePropertyManager(q);
    addType(Double, doubles, Double,
            {{m_minimumAttribute, Double}, {m_maximumAttribute, Double}, {m_singleStepAttribute, Double},
             {m_decimalsAttribute, Int}, {m_readOnlyAttribute, Bool}});
    connectRelays(q, doubles, {doubleValue, doubleRange, {"singleStepChanged", "double"}, decimals});

    auto *bools = new PbBoolPropertyManager(q);
    addType(Bool, bools, Bool, {{m_textVisibleAttribute, Bool}});
    connectRelays(q, bools, {{"valueChanged", "bool"}, {"textVisibleChanged", "bool"}});

    auto *strings = new PbStringPropertyManager(q);
    addType(String, strings, String,
            {{m_regExpAttribute, QMetaType::QRegExp}, {m_echoModeAttribute, Int}, {m_readOnlyAttribute, Bool}});
    connectRelays(q, strings,
                  {{"valueChanged", "QString"}, {"regExpChanged", "QRegExp"}, {"inputMaskChanged", "QString"},
                   {"echoModeChanged", "int"}, {"readOnlyChanged", "bool"}});

    auto *dates = new PbDatePropertyManager(q);
    addType(QMetaType::QDate, dates, QMetaType::QDate,
            {{m_minimumAttribute, QMetaType::QDate}, {m_maximumAttribute, QMetaType::QDate}});
    connectRelays(q, dates, {{"valueChanged", "QDate"}, {"rangeChanged", "QDate,QDate"}});

    auto *times = new PbTimePropertyManager(q);
    addType(QMetaType::QTime, times, QMetaType::QTime);
    connectRelays(q, times, {{"valueChanged", "QTime"}});

    auto *dateTimes = new PbDateTimePropertyManager(q);
    addType(QMetaType::QDateTime, dateTimes, QMetaType::QDateTime);
    connectRelays(q, dateTimes, {{"valueChanged", "QDateTime"}});

    auto *keys = new PbKeySequencePropertyManager(q);
    addType(QMetaType::QKeySequence, keys, QMetaType::QKeySequence);
    connectRelays(q, keys, {{"valueChanged", "QKeySequence"}});

    auto *chars = new PbCharPropertyManager(q);
    addType(QMetaType::QChar, chars, QMetaType::QChar);
    connectRelays(q, chars, {{"valueChanged", "QChar"}});

    auto *locales = new PbLocalePropertyManager(q);
    addType(QMetaType::QLocale, locales, QMetaType::QLocale);
    connectRelays(q, locales, {{"valueChanged", "QLocale"}, propertyInserted, propertyRemoved});
    connectRelays(q, locales->enumSubManager(), {intValue});

    auto *points = new PbPointPropertyManager(q);
    addType(QMetaType::QPoint, points, QMetaType::QPoint);
    connectRelays(q, points, {{"valueChanged", "QPoint"}, propertyInserted, propertyRemoved});
    connectRelays(q, points->intSubManager(), {intValue});

    auto *pointFs = new PbPointFPropertyManager(q);
    addType(QMetaType::QPointF, pointFs, QMetaType::QPointF, {{m_decimalsAttribute, Int}});
    connectRelays(q, pointFs, {{"valueChanged", "QPointF"}, decimals, propertyInserted, propertyRemoved});
    connectRelays(q, pointFs->doubleSubManager(), {doubleValue});

    auto *sizes = new PbSizePropertyManager(q);
    addType(QMetaType::QSize, sizes, QMetaType::QSize,
            {{m_minimumAttribute, QMetaType::QSize}, {m_maximumAttribute, QMetaType::QSize}});
    connectRelays(q, sizes,
                  {{"valueChanged", "QSize"}, {"rangeChanged", "QSize,QSize"}, propertyInserted, propertyRemoved});
    connectRelays(q, sizes->subIntPropertyManager(), {intValue, intRange});

    auto *sizeFs = new PbSizeFPropertyManager(q);
    addType(QMetaType::QSizeF, sizeFs, QMetaType::QSizeF,
            {{m_minimumAttribute, QMetaType::QSizeF}, {m_maximumAttribute, QMetaType::QSizeF},
             {m_decimalsAttribute, Int}});
    connectRelays(q, sizeFs,
                  {{"valueChanged", "QSizeF"}, {"rangeChanged", "QSizeF,QSizeF"}, decimals, propertyInserted,
                   propertyRemoved});
    connectRelays(q, sizeFs->subDoublePropertyManager(), {doubleValue, doubleRange});

    auto *rects = new PbRectPropertyManager(q);
    addType(QMetaType::QRect, rects, QMetaType::QRect, {{m_constraintAttribute, QMetaType::QRect}});
    connectRelays(q, rects,
                  {{"valueChanged", "QRect"}, {"constraintChanged", "QRect"}, propertyInserted, propertyRemoved});
    connectRelays(q, rects->subIntPropertyManager(), {intValue, intRange});

    auto *rectFs = new PbRectFPropertyManager(q);
    addType(QMetaType::QRectF, rectFs, QMetaType::QRectF,
            {{m_constraintAttribute, QMetaType::QRectF}, {m_decimalsAttribute, Int}});
    connectRelays(q, rectFs,
                  {{"valueChanged", "QRectF"}, {"constraintChanged", "QRectF"}, decimals, propertyInserted,
                   propertyRemoved});
    connectRelays(q, rectFs->subDoublePropertyManager(), {doubleValue, doubleRange});

    auto *colors = new PbColorPropertyManager(q);
    addType(QMetaType::QColor, colors, QMetaType::QColor);
    connectRelays(q, colors, {{"valueChanged", "QColor"}, propertyInserted, propertyRemoved});
    connectRelays(q, colors->subIntPropertyManager(), {intValue});

    auto *enums = new PbEnumPropertyManager(q);
    addType(PbVariantPropertyManager::enumTypeId(), enums, Int,
            {{m_enumNamesAttribute, StringList}, {m_enumIconsAttribute, PbVariantPropertyManager::iconMapTypeId()}});
    connectRelays(q, enums, {intValue, enumNames, {"enumIconsChanged", "QMap<int,QIcon>"}});

    auto *policies = new PbSizePolicyPropertyManager(q);
    addType(QMetaType::QSizePolicy, policies, QMetaType::QSizePolicy);
    connectRelays(q, policies, {{"valueChanged", "QSizePolicy"}, propertyInserted, propertyRemoved});
    connectRelays(q, policies->subIntPropertyManager(), {intValue, intRange});
    connectRelays(q, policies->subEnumPropertyManager(), {intValue, enumNames});

    auto *fonts = new PbFontPropertyManager(q);
    addType(QMetaType::QFont, fonts, QMetaType::QFont);
    connectRelays(q, fonts, {{"valueChanged", "QFont"}, propertyInserted, propertyRemoved});
    connectRelays(q, fonts->subIntPropertyManager(), {intValue, intRange});
    connectRelays(q, fonts->subEnumPropertyManager(), {intValue, enumNames});
    connectRelays(q, fonts->subBoolPropertyManager(), {{"valueChanged", "bool"}});

    auto *cursors = new PbCursorPropertyManager(q);
    addType(QMetaType::QCursor, cursors, QMetaType::QCursor);
    connectRelays(q, cursors, {{"valueChanged", "QCursor"}});

    auto *flags = new PbFlagPropertyManager(q);
    addType(PbVariantPropertyManager::flagTypeId(), flags, Int, {{m_flagNamesAttribute, StringList}});
    connectRelays(q, flags, {intValue, {"flagNamesChanged", "QStringList"}, propertyInserted, propertyRemoved});
    connectRelays(q, flags->subBoolPropertyManager(), {{"valueChanged", "bool"}});

    addType(PbVariantPropertyManager::groupTypeId(), new PbGroupPropertyManager(q), QMetaType::UnknownType);
}

int PbVariantAccess::mirrorType(const PbAbstractPropertyManager *manager)
{
    if (qobject_cast<const PbIntPropertyManager *>(manager))
        return QMetaType::Int;
    if (qobject_cast<const PbEnumPropertyManager *>(manager))
        return PbVariantPropertyManager::enumTypeId();
    if (qobject_cast<const PbBoolPropertyManager *>(manager))
        return QMetaType::Bool;
    if (qobject_cast<const PbDoublePropertyManager *>(manager))
        return QMetaType::Double;
    return 0;
}

// The managers whose value is a plain getter and setter pair, in the order
// in which an internal property's manager is matched.
#define PB_EACH_VALUE_MANAGER(X)                                                                                    \
    X(PbIntPropertyManager) X(PbDoublePropertyManager) X(PbBoolPropertyManager) X(PbStringPropertyManager)          \
    X(PbDatePropertyManager) X(PbTimePropertyManager) X(PbDateTimePropertyManager)                                  \
    X(PbKeySequencePropertyManager) X(PbCharPropertyManager) X(PbLocalePropertyManager) X(PbPointPropertyManager)   \
    X(PbPointFPropertyManager) X(PbSizePropertyManager) X(PbSizeFPropertyManager) X(PbRectPropertyManager)          \
    X(PbRectFPropertyManager) X(PbColorPropertyManager) X(PbEnumPropertyManager) X(PbSizePolicyPropertyManager)     \
    X(PbFontPropertyManager) X(PbCursorPropertyManager) X(PbFlagPropertyManager)

QVariant PbVariantAccess::value(const PbProperty *internal)
{
    const PbAbstractPropertyManager *manager = internal->propertyManager();
    QVariant result;
    const auto get = [&](auto *m) { result = QVariant::fromValue(m->value(internal)); };
#define PB_GET(M) if (as<M>(manager, get)) return result;
    PB_EACH_VALUE_MANAGER(PB_GET)
#undef PB_GET
    return QVariant();
}

void PbVariantAccess::setValue(PbProperty *internal, const QVariant &value)
{
    const PbAbstractPropertyManager *manager = internal->propertyManager();
    // Managers with change checking are asked to announce only real changes.
    const auto set = [&](auto *m) {
        using Value = ValueOf<std::remove_pointer_t<decltype(m)>>;
        m->setValue(internal, value.value<Value>());
    };
    const auto setChecked = [&](auto *m) {
        using Value = ValueOf<std::remove_pointer_t<decltype(m)>>;
        m->setValue(internal, value.value<Value>(), true);
    };
    as<PbIntPropertyManager>(manager, setChecked) || as<PbDoublePropertyManager>(manager, setChecked)
        || as<PbBoolPropertyManager>(manager, set) || as<PbStringPropertyManager>(manager, setChecked)
        || as<PbDatePropertyManager>(manager, setChecked) || as<PbTimePropertyManager>(manager, set)
        || as<PbDateTimePropertyManager>(manager, set) || as<PbKeySequencePropertyManager>(manager, set)
        || as<PbCharPropertyManager>(manager, set) || as<PbLocalePropertyManager>(manager, set)
        || as<PbPointPropertyManager>(manager, set) || as<PbPointFPropertyManager>(manager, set)
        || as<PbSizePropertyManager>(manager, setChecked) || as<PbSizeFPropertyManager>(manager, setChecked)
        || as<PbRectPropertyManager>(manager, set) || as<PbRectFPropertyManager>(manager, set)
        || as<PbColorPropertyManager>(manager, set) || as<PbEnumPropertyManager>(manager, set)
        || as<PbSizePolicyPropertyManager>(manager, set) || as<PbFontPropertyManager>(manager, set)
        || as<PbCursorPropertyManager>(manager, set) || as<PbFlagPropertyManager>(manager, set);
}

namespace {

/// Hands `op` the getter and the setter of one attribute: op(get, set), where
/// get() answers the value as a QVariant and set(value) stores a QVariant
/// already of the attribute's type.
template <class M, class Get, class Set, class Op>
void field(M *m, const PbProperty *internal, Get (M::*get)(const PbProperty *) const,
           void (M::*set)(PbProperty *, Set), Op &op)
{
    op([=] { return QVariant::fromValue((m->*get)(internal)); },
       [=](const QVariant &value) {
           (m->*set)(const_cast<PbProperty *>(internal), static_cast<std::decay_t<Set>>(value.value<Get>()));
       });
}

/// Finds the attribute `name` among those that the manager of `internal`
/// answers and hands it to `op` (see field); nothing for any other.
template <class Op>
void visitAttribute(const PbVariantPropertyManagerPrivate &d, const PbProperty *internal, const QString &name, Op op)
{
    const PbAbstractPropertyManager *manager = internal->propertyManager();
    const auto range = [&](auto *m) {
        using M = std::remove_pointer_t<decltype(m)>;
        if (name == d.m_minimumAttribute)
            field(m, internal, &M::minimum, &M::setMinimum, op);
        else if (name == d.m_maximumAttribute)
            field(m, internal, &M::maximum, &M::setMaximum, op);
    };
    const auto decimals = [&](auto *m) {
        using M = std::remove_pointer_t<decltype(m)>;
        if (name == d.m_decimalsAttribute)
            field(m, internal, &M::decimals, &M::setDecimals, op);
    };
    const auto constraint = [&](auto *m) {
        using M = std::remove_pointer_t<decltype(m)>;
        if (name == d.m_constraintAttribute)
            field(m, internal, &M::constraint, &M::setConstraint, op);
    };
    const auto readOnly = [&](auto *m) {
        using M = std::remove_pointer_t<decltype(m)>;
        if (name == d.m_readOnlyAttribute)
            field(m, internal, &M::isReadOnly, &M::setReadOnly, op);
    };
    const auto singleStep = [&](auto *m) {
        using M = std::remove_pointer_t<decltype(m)>;
        if (name == d.m_singleStepAttribute)
            field(m, internal, &M::singleStep, &M::setSingleStep, op);
    };
    using Ints = PbIntPropertyManager;
    using Strings = PbStringPropertyManager;
    using Enums = PbEnumPropertyManager;
    as<Ints>(manager, [&](Ints *m) {
        range(m);
        singleStep(m);
        readOnly(m);
        if (name == d.m_btnVisibleAttribute)
            field(m, internal, &Ints::btnVisibility, &Ints::setBtnVisibility, op);
        else if (name == d.m_btnCaptionAttribute)
            field(m, internal, &Ints::btnCaption, &Ints::setBtnCaption, op);
    }) || as<PbDoublePropertyManager>(manager, [&](PbDoublePropertyManager *m) {
        range(m);
        singleStep(m);
        decimals(m);
        readOnly(m);
    }) || as<PbBoolPropertyManager>(manager, [&](PbBoolPropertyManager *m) {
        if (name == d.m_textVisibleAttribute)
            field(m, internal, &PbBoolPropertyManager::textVisible, &PbBoolPropertyManager::setTextVisible, op);
    }) || as<Strings>(manager, [&](Strings *m) {
        readOnly(m);
        if (name == d.m_regExpAttribute)
            field(m, internal, &Strings::regExp, &Strings::setRegExp, op);
        else if (name == d.m_echoModeAttribute)
            field(m, internal, &Strings::echoMode, &Strings::setEchoMode, op);
    }) || as<PbDatePropertyManager>(manager, range) || as<PbPointFPropertyManager>(manager, decimals)
        || as<PbSizePropertyManager>(manager, range) || as<PbSizeFPropertyManager>(manager, [&](auto *m) {
        range(m);
        decimals(m);
    }) || as<PbRectPropertyManager>(manager, constraint) || as<PbRectFPropertyManager>(manager, [&](auto *m) {
        constraint(m);
        decimals(m);
    }) || as<Enums>(manager, [&](Enums *m) {
        // The icon map's QVariant type is the map type itself, iconMapTypeId.
        if (name == d.m_enumNamesAttribute)
            field(m, internal, &Enums::enumNames, &Enums::setEnumNames, op);
        else if (name == d.m_enumIconsAttribute)
            field(m, internal, &Enums::enumIcons, &Enums::setEnumIcons, op);
    }) || as<PbFlagPropertyManager>(manager, [&](PbFlagPropertyManager *m) {
        if (name == d.m_flagNamesAttribute)
            field(m, internal, &PbFlagPropertyManager::flagNames, &PbFlagPropertyManager::setFlagNames, op);
    });
}

} // namespace

QVariant PbVariantAccess::attribute(const PbVariantPropertyManagerPrivate &d, const PbProperty *internal,
                                    const QString &name)
{
    QVariant result;
    visitAttribute(d, internal, name, [&](auto get, auto) { result = get(); });
    return result;
}

void PbVariantAccess::setAttribute(const PbVariantPropertyManagerPrivate &d, PbProperty *internal,
                                   const QString &name, const QVariant &value)
{
    visitAttribute(d, internal, name, [&](auto, auto set) { set(value); });
}
