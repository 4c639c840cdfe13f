// The value managers of the main window: defaults, texts and icons, and which
// setter announces what, in which order.
#include "propertybrowser/pbboolpropertymanager.h"
#include "propertybrowser/pbdoublepropertymanager.h"
#include "propertybrowser/pbgrouppropertymanager.h"
#include "propertybrowser/pbintpropertymanager.h"
#include "propertybrowser/pbstringpropertymanager.h"
#include "pbcore_manager_fixture.h"

#include <QApplication>
#include <QLocale>
#include <QSignalSpy>
#include <QStyle>

#include <gtest/gtest.h>

namespace {

using IntManager = ManagerTest<PbIntPropertyManager>;
using DoubleManager = ManagerTest<PbDoublePropertyManager>;
using StringManager = ManagerTest<PbStringPropertyManager>;
using BoolManager = ManagerTest<PbBoolPropertyManager>;

TEST_F(IntManager, Defaults)
{
    EXPECT_EQ(manager.value(p), 0);
    EXPECT_EQ(manager.minimum(p), -2147483647);
    EXPECT_EQ(manager.maximum(p), 2147483647);
    EXPECT_EQ(manager.singleStep(p), 1);
    EXPECT_FALSE(manager.isReadOnly(p));
    EXPECT_FALSE(manager.btnVisibility(p));
    EXPECT_EQ(manager.btnCaption(p), QString("Рассчитать"));
    EXPECT_EQ(p->valueText(), "0");
    manager.setValue(p, -42);
    EXPECT_EQ(p->valueText(), "-42");
    EXPECT_TRUE(p->displayText().isEmpty());  // no fallback to the value text

    PbIntPropertyManager other;
    PbProperty *foreign = other.addProperty("f");
    EXPECT_TRUE(manager.valueText(foreign).isNull());
    EXPECT_TRUE(manager.btnCaption(foreign).isEmpty());
    EXPECT_EQ(manager.singleStep(foreign), 0);
}

TEST_F(IntManager, SetterSignals)
{
    manager.setSingleStep(p, -5);
    EXPECT_EQ(manager.singleStep(p), 0);
    manager.setSingleStep(p, -1);
    manager.setReadOnly(p, true);
    manager.setReadOnly(p, true);
    manager.setBtnVisibility(p, true);
    manager.setBtnVisibility(p, true);
    manager.setBtnCaption(p, "Go");
    manager.setBtnCaption(p, "Go");
    const QStringList expected{"m.singleStepChanged(p,0)", "m.propertyChanged(p)", "m.readOnlyChanged(p,true)",
                               "m.propertyChanged(p)", "m.propertyChanged(p)"};
    EXPECT_EQ(log.take(), expected);
    EXPECT_TRUE(manager.btnVisibility(p));
    EXPECT_EQ(manager.btnCaption(p), "Go");
}

TEST_F(IntManager, ListenersSeeTheNewStateWhenSignalled)
{
    int seen = -1;
    QObject::connect(&manager, &PbIntPropertyManager::valueChanged,
                     [&](PbProperty *property, int) { seen = manager.value(property); });
    manager.setValue(p, 7);
    EXPECT_EQ(seen, 7);
}

TEST_F(DoubleManager, DefaultsAndLocaleText)
{
    EXPECT_EQ(manager.value(p), 0.0);
    EXPECT_EQ(manager.minimum(p), -2147483647.0);
    EXPECT_EQ(manager.maximum(p), 2147483647.0);
    EXPECT_EQ(manager.singleStep(p), 1.0);
    EXPECT_EQ(manager.decimals(p), 2);
    EXPECT_FALSE(manager.isReadOnly(p));
    manager.setValue(p, 1.5);
    const QString expected = QString("1") + QLocale::system().decimalPoint() + "50";
    EXPECT_EQ(p->valueText(), expected);

    PbDoublePropertyManager other;
    PbProperty *foreign = other.addProperty("f");
    EXPECT_EQ(manager.decimals(foreign), 0);
    EXPECT_TRUE(manager.valueText(foreign).isNull());
}

TEST_F(DoubleManager, SetterSignals)
{
    manager.setDecimals(p, 20);
    manager.setDecimals(p, 13);
    manager.setDecimals(p, -1);
    manager.setSingleStep(p, -0.5);
    manager.setSingleStep(p, -2.0);
    manager.setReadOnly(p, true);
    const QStringList expected{"m.decimalsChanged(p,13)", "m.decimalsChanged(p,0)", "m.singleStepChanged(p,0)",
                               "m.propertyChanged(p)", "m.readOnlyChanged(p,true)"};
    EXPECT_EQ(log.take(), expected);
    manager.setValue(p, 2.25);
    EXPECT_EQ(p->valueText(), "2");
}

TEST_F(StringManager, DefaultsAcceptEverything)
{
    EXPECT_TRUE(manager.value(p).isNull());
    EXPECT_EQ(manager.regExp(p).pattern(), "*");
    EXPECT_EQ(manager.regExp(p).patternSyntax(), QRegExp::Wildcard);
    EXPECT_EQ(manager.regExp(p).caseSensitivity(), Qt::CaseSensitive);
    EXPECT_TRUE(manager.inputMask(p).isEmpty());
    EXPECT_EQ(manager.echoMode(p), 0);
    EXPECT_FALSE(manager.isReadOnly(p));
    EXPECT_FALSE(manager.btnVisibility(p));
    EXPECT_EQ(manager.btnCaption(p), QString("Редактировать"));
    manager.setValue(p, "any text, 123 !");
    EXPECT_EQ(manager.value(p), "any text, 123 !");

    PbStringPropertyManager other;
    PbProperty *foreign = other.addProperty("f");
    EXPECT_TRUE(manager.regExp(foreign).isEmpty());
    EXPECT_TRUE(manager.valueText(foreign).isNull());
    EXPECT_TRUE(manager.displayText(foreign).isNull());
}

TEST_F(StringManager, ExpressionRefusesSilentlyAndIsNotReapplied)
{
    manager.setValue(p, "abc");
    log.clear();
    manager.setRegExp(p, QRegExp("[0-9]*"));
    manager.setRegExp(p, QRegExp("[0-9]*"));
    EXPECT_EQ(log.take(), QStringList({"m.regExpChanged(p,re:[0-9]*)"}));
    EXPECT_EQ(manager.value(p), "abc");  // not checked again
    manager.setValue(p, "12a");
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_EQ(manager.value(p), "abc");
    manager.setValue(p, "123");
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,\"123\")"}));
    manager.setValue(p, "123");
    EXPECT_TRUE(log.take().isEmpty());
    manager.setValue(p, "123", false);
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,\"123\")"}));
    manager.setValue(p, "x", false);  // refused even when forced
    EXPECT_TRUE(log.take().isEmpty());
    // An invalid expression checks nothing.
    manager.setRegExp(p, QRegExp("(unclosed"));
    log.clear();
    manager.setValue(p, "x");
    EXPECT_EQ(manager.value(p), "x");
}

TEST_F(StringManager, SetterSignals)
{
    manager.setInputMask(p, "999");
    manager.setInputMask(p, "999");
    manager.setEchoMode(p, QLineEdit::Password);
    manager.setEchoMode(p, QLineEdit::Password);
    manager.setReadOnly(p, true);
    manager.setBtnVisibility(p, true);
    manager.setBtnCaption(p, "Edit");
    manager.setBtnCaption(p, "Edit");
    const QStringList expected{"m.inputMaskChanged(p,\"999\")", "m.propertyChanged(p)", "m.echoModeChanged(p,2)",
                               "m.propertyChanged(p)", "m.readOnlyChanged(p,true)", "m.propertyChanged(p)",
                               "m.propertyChanged(p)"};
    EXPECT_EQ(log.take(), expected);
    EXPECT_EQ(manager.inputMask(p), "999");
}

TEST_F(StringManager, PasswordModeMasksOnlyTheDisplayText)
{
    manager.setValue(p, "secret");
    manager.setEchoMode(p, QLineEdit::Password);
    EXPECT_EQ(p->valueText(), "secret");
    const QString shown = p->displayText();
    EXPECT_EQ(shown.size(), 6);
    EXPECT_NE(shown, "secret");
    manager.setEchoMode(p, QLineEdit::NoEcho);
    EXPECT_TRUE(p->displayText().isEmpty());
}

TEST_F(BoolManager, TextsIconsAndSignals)
{
    EXPECT_FALSE(manager.value(p));
    EXPECT_TRUE(manager.textVisible(p));
    const QString trueText = QCoreApplication::translate("PbBoolPropertyManager", "True");
    const QString falseText = QCoreApplication::translate("PbBoolPropertyManager", "False");
    EXPECT_EQ(p->valueText(), falseText);
    const qint64 emptyIcon = p->valueIcon().cacheKey();
    EXPECT_FALSE(p->valueIcon().isNull());

    manager.setValue(p, false);
    manager.setValue(p, true);
    manager.setValue(p, true);
    EXPECT_EQ(p->valueText(), trueText);
    EXPECT_NE(p->valueIcon().cacheKey(), emptyIcon);
    manager.setTextVisible(p, false);
    manager.setTextVisible(p, false);
    EXPECT_TRUE(p->valueText().isNull());
    EXPECT_FALSE(p->valueIcon().isNull());
    const QStringList expected{"m.propertyChanged(p)", "m.valueChanged(p,true)", "m.propertyChanged(p)",
                               "m.textVisibleChanged(p,false)"};
    EXPECT_EQ(log.take(), expected);

    PbBoolPropertyManager other;
    PbProperty *foreign = other.addProperty("f");
    EXPECT_FALSE(manager.textVisible(foreign));
    EXPECT_TRUE(manager.valueIcon(foreign).isNull());
    EXPECT_TRUE(manager.valueText(foreign).isNull());
}

TEST_F(BoolManager, IconsAreIndicatorSized)
{
    const QSize size = p->valueIcon().availableSizes().value(0);
    const int width = QApplication::style()->pixelMetric(QStyle::PM_IndicatorWidth);
    const int height = QApplication::style()->pixelMetric(QStyle::PM_IndicatorHeight);
    EXPECT_EQ(size, QSize(width, qMax(width, height)));
}

TEST(GroupManager, RowsHaveNoValue)
{
    PbGroupPropertyManager groups;
    PbProperty *g = groups.addProperty("g");
    EXPECT_FALSE(g->hasValue());
    EXPECT_TRUE(g->valueText().isEmpty());
    QSignalSpy changed(&groups, &PbAbstractPropertyManager::propertyChanged);
    g->setPropertyName("h");
    EXPECT_EQ(changed.count(), 1);
}

TEST(ValueUpdated, ManagersNeverEmitItThemselves)
{
    PbIntPropertyManager ints;
    PbStringPropertyManager strings;
    PbProperty *i = ints.addProperty("i");
    PbProperty *s = strings.addProperty("s");
    QSignalSpy intUpdates(&ints, &PbIntPropertyManager::valueUpdated);
    QSignalSpy stringUpdates(&strings, &PbStringPropertyManager::valueUpdated);
    ints.setValue(i, 3, false);
    ints.setRange(i, 5, 9);
    strings.setValue(s, "t", false);
    EXPECT_EQ(intUpdates.count(), 0);
    EXPECT_EQ(stringUpdates.count(), 0);
}

} // namespace
