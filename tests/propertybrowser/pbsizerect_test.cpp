// Size, size-float, rectangle and rectangle-float managers: ranges and
// constraints carried into the rows, row edits, one announcement of what the
// record holds, and the rectangle's refusals.
#include "propertybrowser/pbdoublepropertymanager.h"
#include "propertybrowser/pbintpropertymanager.h"
#include "propertybrowser/pbrectfpropertymanager.h"
#include "propertybrowser/pbrectpropertymanager.h"
#include "propertybrowser/pbsizefpropertymanager.h"
#include "propertybrowser/pbsizepropertymanager.h"
#include "pbvaluetypes_fixture.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>

namespace {

using SizeManager = ManagerTest<PbSizePropertyManager>;
using SizeFManager = ManagerTest<PbSizeFPropertyManager>;

TEST_F(SizeManager, ValueIsBoundPerComponentAndTheRowsFollow)
{
    EXPECT_EQ(rowNames(p), QStringList({"Width", "Height"}));
    EXPECT_EQ(manager.maximum(p), QSize(INT_MAX, INT_MAX));
    manager.setRange(p, QSize(0, 0), QSize(10, 10));
    log.clear();
    manager.setValue(p, QSize(20, 5));
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,10x5)"}));
    EXPECT_EQ(manager.subIntPropertyManager()->value(rowAt(p, 0)), 10);
    EXPECT_EQ(p->valueText(), "10 x 5");

    manager.subIntPropertyManager()->setValue(rowAt(p, 1), 7);
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,10x7)"}));
}

TEST_F(SizeManager, NewMinimumRaisesTheValueAndTheRowRange)
{
    manager.setValue(p, QSize(3, 3));
    log.clear();
    manager.setMinimum(p, QSize(5, 1));
    EXPECT_EQ(log.take(), QStringList({"m.rangeChanged(p,5x1,2147483647x2147483647)", "m.propertyChanged(p)",
                                       "m.valueChanged(p,5x3)"}));
    EXPECT_EQ(manager.subIntPropertyManager()->minimum(rowAt(p, 0)), 5);
    EXPECT_EQ(manager.subIntPropertyManager()->value(rowAt(p, 0)), 5);
}

TEST_F(SizeFManager, DecimalsClampAndNaNIsRefused)
{
    EXPECT_EQ(manager.decimals(p), 2);
    const struct { int given, stored; } cases[] = {{20, 13}, {-1, 0}, {5, 5}};
    for (const auto &c : cases) {
        manager.setDecimals(p, c.given);
        manager.setDecimals(p, c.given);
        EXPECT_EQ(log.take(), QStringList({"m.decimalsChanged(p," + QString::number(c.stored) + ")"})) << c.given;
        EXPECT_EQ(manager.subDoublePropertyManager()->decimals(rowAt(p, 1)), c.stored);
    }
    manager.setValue(p, QSizeF(1.5, 2));
    EXPECT_EQ(p->valueText(), "1.50000 x 2.00000");
    log.clear();
    manager.setValue(p, QSizeF(qQNaN(), 1));
    manager.setRange(p, QSizeF(0, 0), QSizeF(qQNaN(), 1));
    EXPECT_TRUE(log.take().isEmpty());
}

// The rectangle pair shares its rules; each case runs on both.
template <class Manager>
class RectManagers : public ManagerTest<Manager>
{
protected:
    using Rect = decltype(std::declval<Manager>().value(nullptr));
    template <class Sub>
    static auto rowValue(Sub *sub, PbProperty *row) { return sub->value(row); }
    QList<double> rows()
    {
        QList<double> values;
        for (PbProperty *row : this->p->subProperties())
            values << rowValue(subManager(), row);
        return values;
    }
    auto *subManager() { return subOf(&this->manager); }
    static PbIntPropertyManager *subOf(PbRectPropertyManager *m) { return m->subIntPropertyManager(); }
    static PbDoublePropertyManager *subOf(PbRectFPropertyManager *m) { return m->subDoublePropertyManager(); }
};

using RectTypes = ::testing::Types<PbRectPropertyManager, PbRectFPropertyManager>;
TYPED_TEST_SUITE(RectManagers, RectTypes);

TYPED_TEST(RectManagers, ValueIsCutToTheConstraintOrRefused)
{
    using Rect = typename TestFixture::Rect;
    auto &m = this->manager;
    PbProperty *p = this->p;
    EXPECT_EQ(rowNames(p), QStringList({"X", "Y", "Width", "Height"}));
    m.setConstraint(p, Rect(0, 0, 100, 100));
    this->log.clear();
    m.setValue(p, Rect(90, 90, 20, 20));
    EXPECT_EQ(this->log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,(90,90 10x10))"}));
    EXPECT_EQ(this->rows(), QList<double>({90, 90, 10, 10}));

    const Rect refused[] = {Rect(200, 200, 10, 10), Rect(100, 0, 10, 10), Rect(0, -10, 10, 10)};
    for (const Rect &r : refused)
        m.setValue(p, r);
    EXPECT_TRUE(this->log.take().isEmpty()) << "outside or only touching";
    EXPECT_EQ(m.value(p), Rect(90, 90, 10, 10));
}

TYPED_TEST(RectManagers, RowEditsKeepTheRectangleInsideTheConstraint)
{
    using Rect = typename TestFixture::Rect;
    this->manager.setConstraint(this->p, Rect(0, 0, 100, 100));
    this->manager.setValue(this->p, Rect(80, 0, 20, 10));
    this->log.clear();
    this->subManager()->setValue(rowAt(this->p, 2), 30);
    EXPECT_EQ(this->log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,(70,0 30x10))"}));
    EXPECT_EQ(this->rows(), QList<double>({70, 0, 30, 10}));

    // An edit the parent refuses (the moved rectangle would only touch the
    // constraint) leaves the row showing the parent's value again.
    this->subManager()->setValue(rowAt(this->p, 0), 100);
    EXPECT_TRUE(this->log.take().isEmpty());
    EXPECT_EQ(this->rows(), QList<double>({70, 0, 30, 10}));
}

// The fitted value is stored before anything is pushed, so the rows' new
// ranges cannot clamp the old value into the record.
TYPED_TEST(RectManagers, NewConstraintFitsTheValueWithOneAnnouncement)
{
    using Rect = typename TestFixture::Rect;
    auto &m = this->manager;
    PbProperty *p = this->p;
    const struct { Rect value, constraint; QString fitted; } cases[] = {
        {Rect(40, 40, 20, 20), Rect(0, 0, 30, 30), "(10,10 20x20)"},
        {Rect(40, 40, 30, 30), Rect(0, 0, 50, 50), "(20,20 30x30)"},
        {Rect(10, 10, 20, 20), Rect(100, 100, 30, 30), "(100,100 20x20)"},
    };
    for (const auto &c : cases) {
        m.setConstraint(p, Rect());
        m.setValue(p, c.value);
        this->log.clear();
        m.setConstraint(p, c.constraint);
        const QString constraintText = QString("(%1,%2 %3x%4)")
                                           .arg(c.constraint.x()).arg(c.constraint.y())
                                           .arg(c.constraint.width()).arg(c.constraint.height());
        EXPECT_EQ(this->log.take(), QStringList({"m.constraintChanged(p," + constraintText + ")",
                                                 "m.propertyChanged(p)", "m.valueChanged(p," + c.fitted + ")"}));
    }
    EXPECT_EQ(this->rows(), QList<double>({100, 100, 20, 20}));
    EXPECT_EQ(this->subManager()->minimum(rowAt(p, 0)), 100);
    EXPECT_EQ(this->subManager()->maximum(rowAt(p, 0)), 130);
    EXPECT_EQ(this->subManager()->maximum(rowAt(p, 2)), 30);

    m.setConstraint(p, Rect());
    EXPECT_EQ(this->log.take(), QStringList({"m.constraintChanged(p,(0,0 0x0))"}));
    EXPECT_EQ(m.value(p), Rect(100, 100, 20, 20));
    EXPECT_LT(this->subManager()->minimum(rowAt(p, 0)), -1e9) << "x may go below the old constraint again";
    EXPECT_GT(this->subManager()->maximum(rowAt(p, 2)), 1e9);
}

TYPED_TEST(RectManagers, NegativeSizeIsStoredNormalised)
{
    using Rect = typename TestFixture::Rect;
    this->manager.setValue(this->p, Rect(10, 10, -5, -4));
    EXPECT_EQ(this->manager.value(this->p), Rect(5, 6, 5, 4));
    EXPECT_EQ(this->rows(), QList<double>({5, 6, 5, 4}));
}

TEST(RectManagersUnconstrained, RowsTakeTheWholeRangeOfTheirType)
{
    PbRectPropertyManager ints;
    PbProperty *r = ints.addProperty("r");
    EXPECT_EQ(ints.subIntPropertyManager()->minimum(rowAt(r, 0)), -INT_MAX);
    EXPECT_EQ(ints.subIntPropertyManager()->minimum(rowAt(r, 2)), 0);
    // Edges at the ends of int: the width is cut to what fits after x.
    ints.setValue(r, QRect(0, 0, 10, 10));
    ints.subIntPropertyManager()->setValue(rowAt(r, 0), INT_MAX);
    EXPECT_EQ(ints.value(r), QRect(INT_MAX, 0, 0, 10));
    EXPECT_EQ(ints.subIntPropertyManager()->value(rowAt(r, 2)), 0);
    ints.subIntPropertyManager()->setValue(rowAt(r, 0), INT_MIN);
    EXPECT_EQ(ints.value(r), QRect(-INT_MAX, 0, 0, 10));
    ints.subIntPropertyManager()->setValue(rowAt(r, 2), INT_MAX);
    EXPECT_EQ(ints.value(r), QRect(-INT_MAX, 0, INT_MAX, 10));

    PbRectFPropertyManager floats;
    PbProperty *f = floats.addProperty("f");
    EXPECT_EQ(floats.subDoublePropertyManager()->minimum(rowAt(f, 1)), -double(FLT_MAX));
    floats.setValue(f, QRectF(-5.5, -1, 1, 1));
    EXPECT_EQ(floats.value(f), QRectF(-5.5, -1, 1, 1));
    EXPECT_EQ(floats.subDoublePropertyManager()->value(rowAt(f, 0)), -5.5);
    floats.setValue(f, QRectF(qQNaN(), 0, 1, 1));
    EXPECT_EQ(floats.value(f), QRectF(-5.5, -1, 1, 1));
}

} // namespace
