// The enumeration manager: index refusals, the reset on new names, icons, and
// the silent setter that announces through its own signal.
#include "propertybrowser/pbenumpropertymanager.h"
#include "pbcore_manager_fixture.h"

#include <QPixmap>

#include <gtest/gtest.h>

namespace {

QIcon filledIcon(Qt::GlobalColor color)
{
    QPixmap pixmap(4, 4);
    pixmap.fill(color);
    return QIcon(pixmap);
}

using EnumManager = ManagerTest<PbEnumPropertyManager>;

TEST_F(EnumManager, NewPropertyHasNothingChosen)
{
    EXPECT_EQ(manager.value(p), -1);
    EXPECT_TRUE(manager.enumNames(p).isEmpty());
    EXPECT_TRUE(manager.enumIcons(p).isEmpty());
    EXPECT_TRUE(p->valueText().isEmpty());
    EXPECT_TRUE(p->valueIcon().isNull());
    EXPECT_TRUE(p->displayText().isEmpty());
}

TEST_F(EnumManager, NewNamesResetTheIndex)
{
    manager.setEnumNames(p, {"a", "b", "c"});
    EXPECT_EQ(log.take(), QStringList({"m.enumNamesChanged(p,[a,b,c])", "m.propertyChanged(p)", "m.valueChanged(p,0)"}));
    manager.setEnumNames(p, {"a", "b", "c"});
    EXPECT_TRUE(log.take().isEmpty());

    manager.setValue(p, 2);
    log.clear();
    manager.setEnumNames(p, {"a", "b", "c", "d", "e"});
    EXPECT_EQ(manager.value(p), 0);  // not carried over
    EXPECT_EQ(log.take().last(), "m.valueChanged(p,0)");
    manager.setEnumNames(p, {"v", "w"});
    EXPECT_EQ(log.take().last(), "m.valueChanged(p,0)");  // announced although still 0
    manager.setEnumNames(p, {});
    EXPECT_EQ(manager.value(p), -1);
    EXPECT_EQ(log.take(), QStringList({"m.enumNamesChanged(p,[])", "m.propertyChanged(p)", "m.valueChanged(p,-1)"}));
}

TEST_F(EnumManager, ListenersOfNewNamesMayMoveOrDeleteTheProperty)
{
    // A listener that picks an index of its own when the names change: the
    // last value announced must be the one the record holds.
    auto pick = QObject::connect(&manager, &PbEnumPropertyManager::enumNamesChanged,
                                 [this](PbProperty *property, const QStringList &) { manager.setValue(property, 2); });
    manager.setEnumNames(p, {"a", "b", "c"});
    QObject::disconnect(pick);
    EXPECT_EQ(manager.value(p), 2);
    const QStringList entries = log.take();
    ASSERT_FALSE(entries.isEmpty());
    EXPECT_EQ(entries.first(), "m.enumNamesChanged(p,[a,b,c])");
    EXPECT_EQ(entries.last(), "m.valueChanged(p,2)");
    EXPECT_TRUE(entries.filter("valueChanged(p,0)").isEmpty());

    // A listener that deletes the property: nothing more is said about it.
    PbProperty *q = manager.addProperty("q");
    QObject::connect(&manager, &PbEnumPropertyManager::enumNamesChanged,
                     [](PbProperty *property, const QStringList &) { delete property; });
    QObject::connect(&manager, &PbEnumPropertyManager::enumIconsChanged,
                     [](PbProperty *property, const QMap<int, QIcon> &) { delete property; });
    log.clear();
    manager.setEnumNames(q, {"x"});
    EXPECT_EQ(log.take(), QStringList({"m.enumNamesChanged(q,[x])", "m.propertyDestroyed(q)"}));
    PbProperty *r = manager.addProperty("r");
    log.clear();
    manager.setEnumIcons(r, {});
    EXPECT_EQ(log.take(), QStringList({"m.enumIconsChanged(r,icons:0)", "m.propertyDestroyed(r)"}));
}

TEST_F(EnumManager, OutOfRangeIndexesAreRefused)
{
    manager.setEnumNames(p, {"a", "b", "c"});
    log.clear();
    manager.setValue(p, 2);
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,2)"}));
    EXPECT_EQ(p->valueText(), "c");
    manager.setValue(p, 3);
    manager.setValue(p, -1);
    manager.setValue(p, 2);
    manager.setValueNoUpdate(p, 3);
    manager.setValueNoUpdate(p, -7);
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_EQ(manager.value(p), 2);
}

TEST_F(EnumManager, EmptyNamesTakeOnlyNoChoice)
{
    manager.setValue(p, -5);
    manager.setValue(p, 0);
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_EQ(manager.value(p), -1);
}

TEST_F(EnumManager, SilentSetterNeverAnnouncesValueChanged)
{
    manager.setEnumNames(p, {"a", "b"});
    log.clear();
    manager.setValueNoUpdate(p, 1);
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChangedNoUpdate(p,1)"}));
    EXPECT_EQ(manager.value(p), 1);
    manager.setValueNoUpdate(p, 1);
    EXPECT_TRUE(log.take().isEmpty());
    // Reachable through the meta-object, as callers use it.
    EXPECT_TRUE(QMetaObject::invokeMethod(&manager, "setValueNoUpdate", Q_ARG(PbProperty *, p), Q_ARG(int, 0)));
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChangedNoUpdate(p,0)"}));
}

TEST_F(EnumManager, IconsAreAlwaysAnnouncedAndIndependentOfNames)
{
    manager.setEnumNames(p, {"a", "b"});
    QMap<int, QIcon> icons;
    icons.insert(0, filledIcon(Qt::red));
    icons.insert(7, filledIcon(Qt::blue));  // no name for 7: kept anyway
    log.clear();
    manager.setEnumIcons(p, icons);
    manager.setEnumIcons(p, icons);
    const QStringList once{"m.enumIconsChanged(p,icons:2)", "m.propertyChanged(p)"};
    EXPECT_EQ(log.take(), once + once);
    EXPECT_FALSE(p->valueIcon().isNull());
    manager.setValue(p, 1);
    EXPECT_TRUE(p->valueIcon().isNull());
    EXPECT_EQ(manager.enumIcons(p).size(), 2);
}

TEST_F(EnumManager, ForeignPropertyIsIgnored)
{
    PbEnumPropertyManager other;
    PbProperty *foreign = other.addProperty("f");
    other.setEnumNames(foreign, {"x"});
    manager.setEnumNames(foreign, {"a"});
    manager.setValue(foreign, 0);
    manager.setValueNoUpdate(foreign, 0);
    manager.setEnumIcons(foreign, {});
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_EQ(manager.value(foreign), -1);
    EXPECT_TRUE(manager.enumNames(foreign).isEmpty());
    EXPECT_TRUE(manager.valueText(foreign).isEmpty());
    EXPECT_EQ(other.enumNames(foreign), QStringList({"x"}));
}

} // namespace
