// Date, time, date-time, key-sequence and character managers: the date's
// range and its refusal of null dates, and the plain setters' signals.
#include "propertybrowser/pbcharpropertymanager.h"
#include "propertybrowser/pbdatepropertymanager.h"
#include "propertybrowser/pbdatetimepropertymanager.h"
#include "propertybrowser/pbkeysequencepropertymanager.h"
#include "propertybrowser/pbtimepropertymanager.h"
#include "pbcore_manager_fixture.h"

#include <gtest/gtest.h>

namespace {

using DateManager = ManagerTest<PbDatePropertyManager>;

TEST_F(DateManager, NewPropertyIsTodayInsideTheGregorianRange)
{
    EXPECT_EQ(manager.value(p), QDate::currentDate());
    EXPECT_EQ(manager.minimum(p), QDate(1752, 9, 14));
    EXPECT_EQ(manager.maximum(p), QDate(7999, 12, 31));
    manager.setValue(p, QDate(1700, 1, 1));
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,1752-09-14)"}));
    EXPECT_EQ(manager.value(p), QDate(1752, 9, 14));
}

TEST_F(DateManager, RangeGivenLaterFirstIsOrderedAndMovesTheValue)
{
    manager.setValue(p, QDate(2030, 6, 1));
    log.clear();
    manager.setRange(p, QDate(2020, 12, 31), QDate(2020, 1, 1));
    EXPECT_EQ(log.take(), QStringList({"m.rangeChanged(p,2020-01-01,2020-12-31)", "m.propertyChanged(p)",
                                       "m.valueChanged(p,2020-12-31)"}));
    manager.setValue(p, QDate(2020, 12, 31), false);
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,2020-12-31)"}));
}

TEST_F(DateManager, NullDatesAreRefusedByEverySetter)
{
    const QDate before = manager.value(p);
    manager.setValue(p, QDate());
    manager.setValue(p, QDate(), false);
    manager.setMinimum(p, QDate());
    manager.setMaximum(p, QDate());
    manager.setRange(p, QDate(), QDate(2000, 1, 1));
    manager.setRange(p, QDate(2000, 1, 1), QDate());
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_EQ(manager.value(p), before);
    EXPECT_EQ(manager.minimum(p), QDate(1752, 9, 14));
}

// A plain setter announces a real change once, propertyChanged first, and
// nothing for the stored value.
template <class Manager, class Value>
void expectPlainSetter(const Value &val, const QString &logged)
{
    SignalLog log;
    Manager manager;
    PbProperty *p = manager.addProperty("p");
    log.watch(&manager, "m");
    manager.setValue(p, val);
    manager.setValue(p, val);
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p," + logged + ")"}));
    EXPECT_EQ(manager.value(p), val);

    Manager other;
    PbProperty *foreign = other.addProperty("f");
    manager.setValue(foreign, val);
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_TRUE(manager.valueText(foreign).isNull());
}

TEST(PlainValueManagers, AnnounceOnlyARealChange)
{
    expectPlainSetter<PbTimePropertyManager>(QTime(3, 4, 5), "03:04:05");
    expectPlainSetter<PbDateTimePropertyManager>(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)), "2001-02-03T04:05:06");
    expectPlainSetter<PbKeySequencePropertyManager>(QKeySequence("Ctrl+S"), "Ctrl+S");
    expectPlainSetter<PbCharPropertyManager>(QChar('A'), "A");
}

TEST(PlainValueManagers, NewPropertiesAndTheirTexts)
{
    PbCharPropertyManager chars;
    PbProperty *c = chars.addProperty("c");
    EXPECT_TRUE(chars.value(c).isNull());
    EXPECT_TRUE(c->valueText().isNull());
    chars.setValue(c, QChar('x'));
    EXPECT_EQ(c->valueText(), "x");

    PbKeySequencePropertyManager keys;
    PbProperty *k = keys.addProperty("k");
    EXPECT_TRUE(keys.value(k).isEmpty());
    EXPECT_TRUE(k->valueText().isEmpty());

    PbDateTimePropertyManager dateTimes;
    PbProperty *t = dateTimes.addProperty("t");
    EXPECT_LE(qAbs(dateTimes.value(t).secsTo(QDateTime::currentDateTime())), 2);
}

} // namespace
