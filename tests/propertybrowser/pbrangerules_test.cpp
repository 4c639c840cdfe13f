// The shared range rules as the integer and floating-point managers apply
// them: clamping, checkChanging, border moves and their signal order, and the
// per-component rules of two-component values.
#include "propertybrowser/pbdoublepropertymanager.h"
#include "propertybrowser/pbintpropertymanager.h"
#include "propertybrowser/pbrangerules_p.h"
#include "pbtest_support.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

class IntRange : public ::testing::Test
{
protected:
    void SetUp() override
    {
        p = ints.addProperty("p");
        ints.setRange(p, 0, 10);
        ints.setValue(p, 4);
        log.watch(&ints, "m");
    }

    SignalLog log;
    PbIntPropertyManager ints;
    PbProperty *p = nullptr;
};

TEST_F(IntRange, ValueAboveMaximumIsClampedAndAnnouncedAsStored)
{
    ints.setValue(p, 15);
    EXPECT_EQ(ints.value(p), 10);
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,10)"}));
    ints.setValue(p, -3);
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,0)"}));
}

TEST_F(IntRange, ClampedToTheStoredValueIsSilentUnlessCheckChangingIsOff)
{
    ints.setValue(p, 10);
    log.clear();
    ints.setValue(p, 15);
    ints.setValue(p, 10);
    EXPECT_TRUE(log.take().isEmpty());
    ints.setValue(p, 15, false);
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,10)"}));
    ints.setValue(p, 10, false);
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,10)"}));
}

TEST_F(IntRange, RaisedMinimumDragsMaximumAndValue)
{
    ints.setMinimum(p, 20);
    EXPECT_EQ(log.take(), QStringList({"m.rangeChanged(p,20,20)", "m.propertyChanged(p)", "m.valueChanged(p,20)"}));
    EXPECT_EQ(ints.minimum(p), 20);
    EXPECT_EQ(ints.maximum(p), 20);
    EXPECT_EQ(ints.value(p), 20);
}

TEST_F(IntRange, LoweredMaximumAboveTheValueAnnouncesOnlyTheRange)
{
    ints.setMaximum(p, 8);
    EXPECT_EQ(log.take(), QStringList({"m.rangeChanged(p,0,8)"}));
    ints.setMaximum(p, -5);
    EXPECT_EQ(log.take(), QStringList({"m.rangeChanged(p,-5,-5)", "m.propertyChanged(p)", "m.valueChanged(p,-5)"}));
}

TEST_F(IntRange, ReversedBordersAreOrderedAndEqualBordersAreSilent)
{
    ints.setRange(p, 10, 0);
    ints.setMinimum(p, 0);
    ints.setMaximum(p, 10);
    EXPECT_TRUE(log.take().isEmpty());
    ints.setRange(p, 6, 2);
    EXPECT_EQ(log.take(), QStringList({"m.rangeChanged(p,2,6)"}));
    ints.setRange(p, 5, 5);
    EXPECT_EQ(log.take(), QStringList({"m.rangeChanged(p,5,5)", "m.propertyChanged(p)", "m.valueChanged(p,5)"}));
}

TEST_F(IntRange, ValueMovedByARangeListenerIsAnnouncedAsStored)
{
    // A listener that answers a range change with a value of its own: the
    // last value announced must be the one the record holds.
    ints.setValue(p, 9);
    QObject::connect(&ints, &PbIntPropertyManager::rangeChanged,
                     [this](PbProperty *property, int, int) { ints.setValue(property, 3); });
    log.clear();
    ints.setMaximum(p, 8);
    QStringList entries = log.take();
    ASSERT_FALSE(entries.isEmpty());
    EXPECT_EQ(entries.first(), "m.rangeChanged(p,0,8)");
    EXPECT_EQ(entries.last(), "m.valueChanged(p,3)");
    EXPECT_EQ(ints.value(p), 3);
    EXPECT_EQ(entries.filter("valueChanged(p,8)"), QStringList());
}

TEST_F(IntRange, PropertyDeletedByARangeListenerIsNotAnnouncedAgain)
{
    QObject::connect(&ints, &PbIntPropertyManager::rangeChanged,
                     [](PbProperty *property, int, int) { delete property; });
    ints.setRange(p, 5, 6);
    QStringList entries = log.take();
    entries.removeAll("m.propertyDestroyed(p)");
    EXPECT_EQ(entries, QStringList({"m.rangeChanged(p,5,6)"}));
    EXPECT_TRUE(ints.properties().isEmpty());
}

TEST_F(IntRange, ExtremesDoNotOverflow)
{
    ints.setRange(p, INT_MIN, INT_MAX);
    ints.setValue(p, INT_MIN);
    EXPECT_EQ(ints.value(p), INT_MIN);
    ints.setValue(p, INT_MAX);
    EXPECT_EQ(ints.value(p), INT_MAX);
}

TEST_F(IntRange, ForeignPropertyIsIgnoredByEverySetter)
{
    PbIntPropertyManager other;
    PbProperty *foreign = other.addProperty("foreign");
    ints.setValue(foreign, 3, false);
    ints.setMinimum(foreign, 1);
    ints.setMaximum(foreign, 1);
    ints.setRange(foreign, 1, 2);
    ints.setValue(nullptr, 3);
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_EQ(ints.value(foreign), 0);
    EXPECT_EQ(ints.minimum(foreign), 0);
    EXPECT_EQ(ints.maximum(foreign), 0);
    EXPECT_EQ(other.value(foreign), 0);
}

TEST(DoubleRange, ComparisonsAreExactAndClampingHolds)
{
    SignalLog log;
    PbDoublePropertyManager doubles;
    PbProperty *p = doubles.addProperty("p");
    doubles.setRange(p, 0.0, 1.0);
    log.watch(&doubles, "m");
    doubles.setValue(p, 0.1 + 0.2);
    EXPECT_EQ(doubles.value(p), 0.1 + 0.2);
    doubles.setValue(p, 0.3);  // differs from 0.1 + 0.2 in the last bit
    EXPECT_EQ(log.take().size(), 4);
    doubles.setValue(p, 2.5);
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,1)"}));
    doubles.setMinimum(p, 1.5);
    EXPECT_EQ(log.take(), QStringList({"m.rangeChanged(p,1.5,1.5)", "m.propertyChanged(p)", "m.valueChanged(p,1.5)"}));
}

TEST(DoubleRange, NotANumberIsRefusedEverywhere)
{
    // A NaN border or value would break minimum <= value <= maximum for good.
    SignalLog log;
    PbDoublePropertyManager doubles;
    PbProperty *p = doubles.addProperty("p");
    doubles.setRange(p, 0.0, 10.0);
    doubles.setValue(p, 4.0);
    log.watch(&doubles, "m");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    doubles.setValue(p, nan);
    doubles.setValue(p, nan, false);
    doubles.setMinimum(p, nan);
    doubles.setMaximum(p, nan);
    doubles.setRange(p, nan, 5.0);
    doubles.setRange(p, 1.0, nan);
    doubles.setSingleStep(p, nan);
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_EQ(doubles.value(p), 4.0);
    EXPECT_EQ(doubles.minimum(p), 0.0);
    EXPECT_EQ(doubles.maximum(p), 10.0);
    EXPECT_EQ(doubles.singleStep(p), 1.0);
    // Infinite borders are orderable and stay allowed.
    doubles.setMaximum(p, std::numeric_limits<double>::infinity());
    doubles.setValue(p, 1e300);
    EXPECT_EQ(doubles.value(p), 1e300);
}

// Two-component values, as the size managers use the rules.
struct SizeData
{
    QSize value, minimum, maximum;
    void applyMinimum(const QSize &border) { PbRangeRules::applySizeMinimum(*this, border); }
    void applyMaximum(const QSize &border) { PbRangeRules::applySizeMaximum(*this, border); }
};

TEST(SizeRules, EachComponentIsBoundAndOrderedOnItsOwn)
{
    EXPECT_EQ(PbRangeRules::bound(QSize(2, 2), QSize(1, 9), QSize(5, 5)), QSize(2, 5));
    EXPECT_EQ(PbRangeRules::bound(QSizeF(0, 0), QSizeF(3.5, -1), QSizeF(3, 3)), QSizeF(3, 0));
    QSize first(5, 1), second(3, 9);
    PbRangeRules::orderRange(first, second);
    EXPECT_EQ(first, QSize(3, 1));
    EXPECT_EQ(second, QSize(5, 9));
}

TEST(SizeRules, NewMinimumRaisesOnlyTheComponentsBelowIt)
{
    SizeData data{QSize(2, 4), QSize(0, 0), QSize(3, 9)};
    data.applyMinimum(QSize(5, 1));
    EXPECT_EQ(data.minimum, QSize(5, 1));
    EXPECT_EQ(data.maximum, QSize(5, 9));
    EXPECT_EQ(data.value, QSize(5, 4));
    data.applyMaximum(QSize(4, 2));
    EXPECT_EQ(data.minimum, QSize(4, 1));
    EXPECT_EQ(data.value, QSize(4, 2));
}

} // namespace
