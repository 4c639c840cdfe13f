// Flag and size-policy managers: rows per name, bit bounds up to 31 flags,
// rows replaced or destroyed, and one announcement of what the record holds.
#include "propertybrowser/pbboolpropertymanager.h"
#include "propertybrowser/pbenumpropertymanager.h"
#include "propertybrowser/pbflagpropertymanager.h"
#include "propertybrowser/pbintpropertymanager.h"
#include "propertybrowser/pbsizepolicypropertymanager.h"
#include "pbvaluetypes_fixture.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using FlagManager = ManagerTest<PbFlagPropertyManager>;
using SizePolicyManager = ManagerTest<PbSizePolicyPropertyManager>;

QList<bool> checks(PbFlagPropertyManager &m, const PbProperty *p)
{
    QList<bool> states;
    for (PbProperty *row : p->subProperties())
        states << m.subBoolPropertyManager()->value(row);
    return states;
}

TEST_F(FlagManager, NamesMakeUncheckedRowsAndResetTheValue)
{
    EXPECT_EQ(manager.value(p), -1);
    EXPECT_TRUE(p->valueText().isEmpty());
    manager.setFlagNames(p, {"a", "b", "c"});
    manager.setFlagNames(p, {"a", "b", "c"});
    EXPECT_EQ(log.take(), QStringList({"m.propertyInserted(a,p,null)", "m.propertyInserted(b,p,a)",
                                       "m.propertyInserted(c,p,b)", "m.flagNamesChanged(p,[a,b,c])",
                                       "m.propertyChanged(p)", "m.valueChanged(p,0)"}));
    EXPECT_EQ(checks(manager, p), QList<bool>({false, false, false}));

    manager.setValue(p, 5);
    log.clear();
    manager.setFlagNames(p, {"x", "y"});
    EXPECT_EQ(log.take(), QStringList({"m.propertyRemoved(a,p)", "m.propertyRemoved(b,p)", "m.propertyRemoved(c,p)",
                                       "m.propertyInserted(x,p,null)", "m.propertyInserted(y,p,x)",
                                       "m.flagNamesChanged(p,[x,y])", "m.propertyChanged(p)", "m.valueChanged(p,0)"}));
    EXPECT_EQ(manager.value(p), 0);
    EXPECT_EQ(checks(manager, p), QList<bool>({false, false}));
}

TEST_F(FlagManager, ValueOutsideTheNamesBitsIsRefused)
{
    manager.setFlagNames(p, {"a", "b", "c"});
    log.clear();
    for (int refused : {8, -2})
        manager.setValue(p, refused);
    manager.setValue(p, 5);
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,5)"}));
    EXPECT_EQ(checks(manager, p), QList<bool>({true, false, true}));
    EXPECT_EQ(p->valueText(), "a|c");

    manager.subBoolPropertyManager()->setValue(rowAt(p, 1), true);
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,7)"}));

    manager.setFlagNames(p, {});
    manager.setValue(p, 1);
    EXPECT_EQ(manager.value(p), 0);
}

TEST_F(FlagManager, ThirtyOneFlagsFitTheValueAndMoreAreRefused)
{
    QStringList names;
    for (int i = 0; i < 31; ++i)
        names << QString("f%1").arg(i);
    manager.setFlagNames(p, names);
    manager.setValue(p, INT_MAX);
    EXPECT_EQ(manager.value(p), INT_MAX);
    EXPECT_TRUE(manager.subBoolPropertyManager()->value(rowAt(p, 30)));
    EXPECT_TRUE(p->valueText().endsWith("|f30"));
    log.clear();

    manager.setFlagNames(p, names + QStringList({"f31"}));
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_EQ(manager.flagNames(p), names);
    EXPECT_EQ(manager.value(p), INT_MAX);
}

TEST_F(FlagManager, RowDestroyedElsewhereLeavesTheOthersInPlace)
{
    manager.setFlagNames(p, {"a", "b", "c"});
    delete rowAt(p, 1);
    manager.setValue(p, 7);
    EXPECT_EQ(checks(manager, p), QList<bool>({true, true}));
    manager.subBoolPropertyManager()->setValue(rowAt(p, 1), false);
    EXPECT_EQ(manager.value(p), 3) << "the row of flag c still clears bit 2";
    manager.setFlagNames(p, {"d"});
    EXPECT_EQ(rowNames(p), QStringList({"d"}));
}

TEST_F(SizePolicyManager, RowsFollowThePolicyAndAnnounceOnce)
{
    EXPECT_EQ(rowNames(p), QStringList({"Horizontal Policy", "Vertical Policy", "Horizontal Stretch",
                                        "Vertical Stretch"}));
    EXPECT_EQ(p->valueText(), "[Fixed, Fixed, 0, 0]");
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    policy.setHorizontalStretch(1);
    policy.setVerticalStretch(2);
    manager.setValue(p, policy);
    manager.setValue(p, policy);
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,5/7/1/2)"}));
    EXPECT_EQ(manager.subEnumPropertyManager()->value(rowAt(p, 1)), 5);
    EXPECT_EQ(manager.subIntPropertyManager()->value(rowAt(p, 3)), 2);

    manager.subIntPropertyManager()->setValue(rowAt(p, 2), 300);
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,5/7/255/2)"}));
    manager.subEnumPropertyManager()->setValue(rowAt(p, 0), 6);
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,13/7/255/2)"}));

    manager.setValue(p, QSizePolicy(static_cast<QSizePolicy::Policy>(2), QSizePolicy::Fixed));
    EXPECT_TRUE(p->valueText().startsWith("[<Invalid>, Fixed"));
}

} // namespace
