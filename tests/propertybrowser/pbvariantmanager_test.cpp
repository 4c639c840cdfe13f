// The variant manager: type ids, supported types and attributes, values and
// attributes through QVariant (refusals of what does not really convert),
// relays, mirrored sub-properties and their removal and deletion paths.
#include "propertybrowser/pbboolpropertymanager.h"
#include "propertybrowser/pbflagpropertymanager.h"
#include "propertybrowser/pbpointpropertymanager.h"
#include "propertybrowser/pbvariantpropertymanager.h"
#include "pbtest_support.h"

#include <QColor>
#include <QDate>
#include <QPoint>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

class VariantManager : public ::testing::Test
{
protected:
    PbVariantPropertyManager manager;
    SignalLog log;

    void SetUp() override
    {
        // The log shows values and attributes as text.
        QObject::connect(&manager, &PbVariantPropertyManager::valueChanged, [this](PbProperty *p, const QVariant &v) {
            log.append("value " + propertyLabel(p) + " " + v.toString());
        });
        QObject::connect(&manager, &PbVariantPropertyManager::attributeChanged,
                         [this](PbProperty *p, const QString &a, const QVariant &v) {
                             log.append("attribute " + propertyLabel(p) + " " + a + " " + v.toString());
                         });
        QObject::connect(&manager, &PbAbstractPropertyManager::propertyChanged,
                         [this](PbProperty *p) { log.append("changed " + propertyLabel(p)); });
    }

    template <class M>
    M *serving() const
    {
        return manager.findChild<M *>(QString(), Qt::FindDirectChildrenOnly);
    }

    static QStringList names(const QList<PbProperty *> &properties)
    {
        QStringList out;
        for (const PbProperty *p : properties)
            out << p->propertyName();
        return out;
    }
};

TEST_F(VariantManager, MarkerTypeIdsAreDistinctAndTheIconMapIsTheMapType)
{
    const int ids[] = {PbVariantPropertyManager::enumTypeId(), PbVariantPropertyManager::flagTypeId(),
                       PbVariantPropertyManager::groupTypeId(), PbVariantPropertyManager::iconMapTypeId()};
    for (int i = 0; i < 4; ++i) {
        EXPECT_GE(ids[i], int(QMetaType::User));
        for (int j = i + 1; j < 4; ++j)
            EXPECT_NE(ids[i], ids[j]);
    }
    EXPECT_EQ(PbVariantPropertyManager::iconMapTypeId(), (qMetaTypeId<QMap<int, QIcon>>()));
    EXPECT_EQ(QMetaType::type("PbIconMap"), PbVariantPropertyManager::iconMapTypeId());
    EXPECT_EQ(QMetaType::type("PbFlagPropertyType"), PbVariantPropertyManager::flagTypeId());
    EXPECT_EQ(PbVariantPropertyManager::enumTypeId(), ids[0]) << "stable";
    // Each kind is served by its own manager.
    PbVariantProperty *e = manager.addProperty(PbVariantPropertyManager::enumTypeId(), "e");
    PbVariantProperty *f = manager.addProperty(PbVariantPropertyManager::flagTypeId(), "f");
    PbVariantProperty *g = manager.addProperty(PbVariantPropertyManager::groupTypeId(), "g");
    EXPECT_EQ(manager.attributes(e->propertyType()), QStringList({"enumIcons", "enumNames"}));
    EXPECT_EQ(manager.attributes(f->propertyType()), QStringList({"flagNames"}));
    EXPECT_FALSE(g->hasValue());
    EXPECT_TRUE(e->hasValue());
}

TEST_F(VariantManager, SupportedTypesAndTheirAttributes)
{
    EXPECT_EQ(manager.addProperty(QMetaType::QUrl, "u"), nullptr);
    EXPECT_EQ(manager.PbAbstractPropertyManager::addProperty("plain"), nullptr);
    EXPECT_TRUE(manager.properties().isEmpty());
    PbVariantProperty *g = manager.addProperty(PbVariantPropertyManager::groupTypeId(), "g");
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->valueType(), 0);
    EXPECT_FALSE(g->value().isValid());
    EXPECT_EQ(manager.attributes(QMetaType::Int),
              QStringList({"btnCaption", "btnVisible", "maximum", "minimum", "readOnly", "singleStep"}));
    EXPECT_EQ(manager.attributes(QMetaType::QString), QStringList({"echoMode", "readOnly", "regExp"}));
    EXPECT_EQ(manager.attributeType(QMetaType::QString, "regExp"), int(QMetaType::QRegExp));
    EXPECT_EQ(manager.attributeType(QMetaType::QString, "inputMask"), 0);
    EXPECT_EQ(manager.attributeType(PbVariantPropertyManager::enumTypeId(), "enumIcons"),
              PbVariantPropertyManager::iconMapTypeId());
    EXPECT_EQ(manager.valueType(PbVariantPropertyManager::flagTypeId()), int(QMetaType::Int));
    EXPECT_EQ(manager.valueType(QMetaType::QUrl), 0);
    EXPECT_TRUE(manager.attributes(QMetaType::QTime).isEmpty());
}

TEST_F(VariantManager, ValuesConvertWhenTheConversionReallySucceeds)
{
    PbVariantProperty *i = manager.addProperty(QMetaType::Int, "i");
    PbVariantProperty *d = manager.addProperty(QMetaType::QDate, "d");
    log.clear();
    i->setValue(QString("42"));
    EXPECT_EQ(i->value(), QVariant(42));
    EXPECT_EQ(log.take(), QStringList({"value i 42", "changed i"}));
    const QDate day = d->value().toDate();
    log.clear();
    // Refused without effect: text that spells no number, no variant, a date
    // that does not exist (directly or from a text), a number for a date.
    for (const QVariant &bad : {QVariant(QString("abc")), QVariant(), QVariant(QString("4x2")), QVariant(1e20),
                                QVariant(qlonglong(1) << 40), QVariant(qQNaN())})
        i->setValue(bad);
    for (const QVariant &bad : {QVariant(QDate()), QVariant(QString("31.02.2020")), QVariant(QDate(2020, 2, 30)),
                                QVariant(QPoint(1, 2))})
        d->setValue(bad);
    EXPECT_EQ(i->value(), QVariant(42));
    EXPECT_EQ(d->value().toDate(), day);
    EXPECT_TRUE(log.take().isEmpty());
    d->setValue(QString("2021-03-04"));
    EXPECT_EQ(d->value().toDate(), QDate(2021, 3, 4));

    PbVariantProperty *b = manager.addProperty(QMetaType::Bool, "b");
    PbVariantProperty *c = manager.addProperty(QMetaType::QColor, "c");
    b->setValue(QString("abc"));
    c->setValue(QString("no colour"));
    EXPECT_EQ(b->value(), QVariant(false));
    EXPECT_FALSE(c->value().value<QColor>().isValid());
    b->setValue(QString("True"));
    c->setValue(QString("#ff0000"));
    EXPECT_EQ(b->value(), QVariant(true));
    EXPECT_EQ(c->value().value<QColor>(), QColor(Qt::red));
}

TEST_F(VariantManager, AttributesAreSetOnlyWhereReadableAndConvertible)
{
    PbVariantProperty *i = manager.addProperty(QMetaType::Int, "i");
    PbVariantProperty *s = manager.addProperty(QMetaType::QString, "s");
    PbVariantProperty *d = manager.addProperty(QMetaType::QDate, "d");
    log.clear();
    i->setAttribute("minimum", 5);
    EXPECT_EQ(log.take(), QStringList({"attribute i minimum 5", "attribute i maximum 2147483647", "value i 5",
                                       "changed i"}));
    for (const QVariant &bad : {QVariant(QString("abc")), QVariant()})
        i->setAttribute("maximum", bad);
    s->setAttribute("inputMask", "000");
    i->setAttribute("noSuch", 1);
    const QDate minimum = d->attributeValue("minimum").toDate();
    d->setAttribute("minimum", QDate(2021, 2, 30));
    d->setAttribute("minimum", QString("no date"));
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_EQ(i->attributeValue("maximum"), QVariant(INT_MAX));
    EXPECT_FALSE(s->attributeValue("inputMask").isValid());
    EXPECT_EQ(d->attributeValue("minimum").toDate(), minimum);

    i->setAttribute("btnCaption", "Go");
    s->setAttribute("readOnly", "true");
    EXPECT_EQ(i->attributeValue("btnCaption"), QVariant("Go"));
    EXPECT_EQ(s->attributeValue("readOnly"), QVariant(true));
    EXPECT_EQ(log.take(), QStringList({"attribute s readOnly true"})) << "an int button caption is not relayed";
    // The icon map travels with its own type id both ways.
    PbVariantProperty *e = manager.addProperty(PbVariantPropertyManager::enumTypeId(), "e");
    QSignalSpy attrs(&manager, SIGNAL(attributeChanged(PbProperty*,QString,QVariant)));
    e->setAttribute("enumIcons", QVariant::fromValue(QMap<int, QIcon>{{0, QIcon()}}));
    ASSERT_EQ(attrs.count(), 1);
    EXPECT_EQ(attrs.at(0).at(2).value<QVariant>().userType(), PbVariantPropertyManager::iconMapTypeId());
    EXPECT_EQ(e->attributeValue("enumIcons").userType(), PbVariantPropertyManager::iconMapTypeId());
}

TEST_F(VariantManager, PointMirrorsItsRowsAndEditsGoThroughThem)
{
    PbVariantProperty *p = manager.addProperty(QMetaType::QPoint, "p");
    const QList<PbProperty *> rows = p->subProperties();
    ASSERT_EQ(names(rows), QStringList({"X", "Y"}));
    auto *x = manager.variantProperty(rows.at(0));
    EXPECT_EQ(x->propertyType(), int(QMetaType::Int));
    EXPECT_EQ(p->propertyType(), int(QMetaType::QPoint));
    EXPECT_EQ(PbVariantPropertyManager::wrappedProperty(x),
              PbVariantPropertyManager::wrappedProperty(p)->subProperties().at(0));
    log.clear();
    x->setValue(7);
    EXPECT_EQ(p->value().toPoint(), QPoint(7, 0));
    // The point manager hears its row first, so the point is announced first.
    EXPECT_EQ(log.take(), QStringList({"value p ", "changed p", "value X 7", "changed X"}));
    p->setValue(QPoint(1, 2));
    EXPECT_EQ(x->value(), QVariant(1));
}

TEST_F(VariantManager, DeletingAVariantPropertyDeletesItsWrappedProperty)
{
    auto *points = serving<PbPointPropertyManager>();
    PbVariantProperty *p = manager.addProperty(QMetaType::QPoint, "p");
    EXPECT_EQ(points->properties().size(), 1);
    delete p;
    EXPECT_TRUE(points->properties().isEmpty());
    EXPECT_TRUE(manager.properties().isEmpty()) << "the mirrors went with it";
}

TEST_F(VariantManager, AMirrorDeletedDirectlyIsDeletedOnce)
{
    // The mirror's internal row is deleted with it; its manager's removal
    // notice must not find the dying mirror again (run under ASan).
    PbVariantProperty *p = manager.addProperty(QMetaType::QPoint, "p");
    PbProperty *x = p->subProperties().at(0);
    PbProperty *internalPoint = PbVariantPropertyManager::wrappedProperty(p);
    delete x;
    EXPECT_EQ(names(p->subProperties()), QStringList({"Y"}));
    EXPECT_EQ(internalPoint->subProperties().size(), 1);
    EXPECT_EQ(manager.properties().size(), 2);
    p->setValue(QPoint(5, 6));
    EXPECT_EQ(p->value().toPoint(), QPoint(5, 6));
    EXPECT_EQ(manager.variantProperty(p->subProperties().at(0))->value(), QVariant(6));
    manager.clear();
    EXPECT_TRUE(serving<PbPointPropertyManager>()->properties().isEmpty());
}

TEST_F(VariantManager, RowsRemovedOrReplacedByTheServingManagerFollow)
{
    PbVariantProperty *f = manager.addProperty(PbVariantPropertyManager::flagTypeId(), "f");
    f->setAttribute("flagNames", QStringList({"a", "b", "c"}));
    EXPECT_EQ(names(f->subProperties()), QStringList({"a", "b", "c"}));
    f->setAttribute("flagNames", QStringList({"d", "e"}));
    EXPECT_EQ(names(f->subProperties()), QStringList({"d", "e"}));
    EXPECT_EQ(manager.properties().size(), 3);
    auto *flags = serving<PbFlagPropertyManager>();
    const int bools = flags->subBoolPropertyManager()->properties().size();

    // Taken out by the serving manager: the mirror goes, the internal row stays.
    PbProperty *internal = PbVariantPropertyManager::wrappedProperty(f);
    PbProperty *row = internal->subProperties().at(0);
    internal->removeSubProperty(row);
    EXPECT_EQ(names(f->subProperties()), QStringList({"e"}));
    EXPECT_EQ(flags->subBoolPropertyManager()->properties().size(), bools);
}

} // namespace

TEST_F(VariantManager, AKeySequenceFromATextNamingNoKeyIsRefused)
{
    PbVariantProperty *k = manager.addProperty(QMetaType::QKeySequence, "k");
    k->setValue(QString("Ctrl+Q"));
    log.clear();
    for (const char *bad : {"abc", "Ctrl+Q, nokey"})
        k->setValue(QString(bad));
    EXPECT_EQ(k->value().value<QKeySequence>(), QKeySequence("Ctrl+Q"));
    EXPECT_TRUE(log.take().isEmpty());
    k->setValue(QString());
    EXPECT_TRUE(k->value().value<QKeySequence>().isEmpty());
}
