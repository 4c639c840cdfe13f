// Locale, point and point-float managers and the enum-name provider: rows and
// their names, one announcement of what the record holds however the rows
// answer a push, row edits, decimals, and the provider's tables.
#include "propertybrowser/pbdoublepropertymanager.h"
#include "propertybrowser/pbenumpropertymanager.h"
#include "propertybrowser/pbintpropertymanager.h"
#include "propertybrowser/pblocalepropertymanager.h"
#include "propertybrowser/pbmetaenumprovider.h"
#include "propertybrowser/pbpointfpropertymanager.h"
#include "propertybrowser/pbpointpropertymanager.h"
#include "pbvaluetypes_fixture.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using PointManager = ManagerTest<PbPointPropertyManager>;
using PointFManager = ManagerTest<PbPointFPropertyManager>;
using LocaleManager = ManagerTest<PbLocalePropertyManager>;

TEST_F(PointManager, RowsFollowTheParentAndOneAnnouncementGoesOut)
{
    EXPECT_EQ(rowNames(p), QStringList({"X", "Y"}));
    EXPECT_EQ(manager.value(p), QPoint(0, 0));
    manager.setValue(p, QPoint(3, 4));
    manager.setValue(p, QPoint(3, 4));
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,(3,4))"}));
    EXPECT_EQ(manager.intSubManager()->value(rowAt(p, 0)), 3);
    EXPECT_EQ(manager.intSubManager()->value(rowAt(p, 1)), 4);
    EXPECT_EQ(p->valueText(), "(3, 4)");

    manager.intSubManager()->setValue(rowAt(p, 0), 7);
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,(7,4))"}));
}

// The rows take the whole range of the coordinate type: a coordinate the
// inner manager's default range would clamp reaches the row unchanged, and
// the parent announces only what its record holds.
TEST_F(PointManager, LowestIntReachesTheRowWithOneAnnouncement)
{
    manager.setValue(p, QPoint(INT_MIN, 0));
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,(-2147483648,0))"}));
    EXPECT_EQ(manager.value(p), QPoint(INT_MIN, 0));
    EXPECT_EQ(manager.intSubManager()->value(rowAt(p, 0)), INT_MIN);
}

TEST_F(PointFManager, FarCoordinateIsHeldAndAnnouncedOnce)
{
    manager.setValue(p, QPointF(1e10, 0));
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,(10000000000,0))"}));
    EXPECT_EQ(manager.value(p), QPointF(1e10, 0));
    EXPECT_EQ(manager.doubleSubManager()->value(rowAt(p, 0)), 1e10);
    manager.setValue(p, QPointF(qQNaN(), 0));
    manager.setValue(p, QPointF(0, qInf()));
    EXPECT_TRUE(log.take().isEmpty());
}

TEST_F(PointFManager, DecimalsAreClampedAndGivenToTheRows)
{
    EXPECT_EQ(manager.decimals(p), 2);
    manager.setValue(p, QPointF(1.5, 2));
    EXPECT_EQ(p->valueText(), "(1.50, 2.00)");
    log.clear();
    manager.setDecimals(p, 20);
    manager.setDecimals(p, 13);
    EXPECT_EQ(log.take(), QStringList({"m.decimalsChanged(p,13)"}));
    EXPECT_EQ(manager.doubleSubManager()->decimals(rowAt(p, 0)), 13);
    EXPECT_EQ(manager.doubleSubManager()->decimals(rowAt(p, 1)), 13);
    manager.setDecimals(p, -1);
    EXPECT_EQ(manager.decimals(p), 0);
}

int languageIndex(QLocale::Language language)
{
    int index = -1;
    metaEnumProvider()->localeIndices(language, QLocale::AnyCountry, &index, nullptr);
    return index;
}

TEST_F(LocaleManager, NewLocaleAnnouncesOnceWhateverTheRowsDo)
{
    EXPECT_EQ(rowNames(p), QStringList({"Language", "Country"}));
    EXPECT_EQ(manager.value(p), QLocale());
    manager.setValue(p, QLocale(QLocale::Japanese, QLocale::Japan));
    log.clear();
    manager.setValue(p, QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,de_DE)"}));
    EXPECT_EQ(manager.value(p), QLocale(QLocale::German, QLocale::Germany));

    PbEnumPropertyManager *enums = manager.enumSubManager();
    EXPECT_EQ(enums->value(rowAt(p, 0)), languageIndex(QLocale::German));
    EXPECT_EQ(enums->enumNames(rowAt(p, 1)), metaEnumProvider()->countryNames(QLocale::German));
    EXPECT_EQ(enums->valueText(rowAt(p, 1)), QLocale::countryToString(QLocale::Germany));
    EXPECT_EQ(p->valueText(), QLocale::languageToString(QLocale::German) + ", "
                                  + QLocale::countryToString(QLocale::Germany));
}

TEST_F(LocaleManager, LanguageRowKeepsTheCountryWhereItCan)
{
    manager.setValue(p, QLocale(QLocale::German, QLocale::Switzerland));
    log.clear();
    manager.enumSubManager()->setValue(rowAt(p, 0), languageIndex(QLocale::French));
    const QLocale expected(QLocale::French, QLocale::Switzerland);
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p," + expected.name() + ")"}));
    EXPECT_EQ(manager.enumSubManager()->enumNames(rowAt(p, 1)), metaEnumProvider()->countryNames(QLocale::French));

    int france = -1;
    metaEnumProvider()->localeIndices(QLocale::French, QLocale::France, nullptr, &france);
    manager.enumSubManager()->setValue(rowAt(p, 1), france);
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,fr_FR)"}));
}

TEST(MetaEnumProvider, TablesAndLookUps)
{
    const PbMetaEnumProvider *provider = metaEnumProvider();
    ASSERT_NE(provider, nullptr);
    EXPECT_EQ(provider->sizePolicyNames(), QStringList({"Fixed", "Minimum", "Maximum", "Preferred",
                                                        "MinimumExpanding", "Expanding", "Ignored"}));
    EXPECT_EQ(provider->sizePolicyIndex(QSizePolicy::Preferred), 3);
    EXPECT_EQ(provider->sizePolicyIndex(static_cast<QSizePolicy::Policy>(2)), -1);
    EXPECT_EQ(provider->sizePolicyAt(5), QSizePolicy::Expanding);
    EXPECT_TRUE(provider->countryNames(QLocale::AnyLanguage).isEmpty());

    QLocale::Language language = QLocale::German;
    QLocale::Country country = QLocale::Germany;
    provider->localeAt(-1, 0, &language, &country);
    EXPECT_EQ(language, QLocale::C);
    EXPECT_EQ(country, QLocale::AnyCountry);

    // The language names come in name order, and languages past code 359
    // (added in later Qt releases) are listed too.
    QStringList sorted = provider->languageNames();
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(provider->languageNames(), sorted);
    EXPECT_GE(languageIndex(QLocale::NigerianPidgin), 0);
}

} // namespace
