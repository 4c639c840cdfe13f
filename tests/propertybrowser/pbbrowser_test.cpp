// The abstract browser: item callbacks in step with the property structure,
// manager connections held exactly while shown, current item, and the
// factory registry between browsers, managers and factories.
#include "pbcore_test_doubles.h"
#include "propertybrowser/pbgrouppropertymanager.h"

#include <QPointer>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

const char *const insertedSignal = SIGNAL(propertyInserted(PbProperty*,PbProperty*,PbProperty*));

class BrowserItems : public ::testing::Test
{
protected:
    void SetUp() override
    {
        groups.setObjectName("groups");
        ints.setObjectName("ints");
        a = groups.addProperty("a");
        b = groups.addProperty("b");
        c = ints.addProperty("c");
        d = ints.addProperty("d");
        e = ints.addProperty("e");
    }

    SignalLog log;
    PbGroupPropertyManager groups;
    ProbedIntManager ints;
    LoggingBrowser browser{&log};
    PbProperty *a = nullptr, *b = nullptr, *c = nullptr, *d = nullptr, *e = nullptr;
};

TEST_F(BrowserItems, SubtreeIsInsertedParentsFirstWithPrecedingSiblings)
{
    a->addSubProperty(b);
    a->addSubProperty(e);
    b->addSubProperty(c);
    b->addSubProperty(d);
    PbBrowserItem *top = browser.addProperty(a);
    ASSERT_NE(top, nullptr);
    const QStringList expected{"browser.inserted(a,null)",     "browser.inserted(a/b,null)",
                               "browser.inserted(a/b/c,null)", "browser.inserted(a/b/d,a/b/c)",
                               "browser.inserted(a/e,a/b)"};
    EXPECT_EQ(log.take(), expected);
    EXPECT_EQ(browser.topLevelItem(a), top);
    EXPECT_EQ(top->children().size(), 2);
    EXPECT_EQ(browser.items(d).size(), 1);
}

TEST_F(BrowserItems, TopLevelRefusalsAndPlaces)
{
    EXPECT_EQ(browser.addProperty(nullptr), nullptr);
    ASSERT_NE(browser.addProperty(a), nullptr);
    EXPECT_EQ(browser.addProperty(a), nullptr);
    ASSERT_NE(browser.addProperty(c), nullptr);
    ASSERT_NE(browser.insertProperty(b, a), nullptr);
    ASSERT_NE(browser.insertProperty(d, nullptr), nullptr);
    EXPECT_EQ(browser.properties(), QList<PbProperty *>({d, a, b, c}));
    QStringList order;
    for (PbBrowserItem *item : browser.topLevelItems())
        order << itemPath(item);
    EXPECT_EQ(order, QStringList({"d", "a", "b", "c"}));
    log.clear();
    browser.removeProperty(e);  // not shown: nothing
    browser.removeProperty(nullptr);
    EXPECT_TRUE(log.take().isEmpty());
}

TEST_F(BrowserItems, AfterPropertyThatIsNotTopLevelPutsTheItemFirst)
{
    a->addSubProperty(c);
    browser.addProperty(a);
    log.clear();
    PbBrowserItem *item = browser.insertProperty(b, c);  // c shows, but not at the top
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(log.take(), QStringList({"browser.inserted(b,null)"}));
    EXPECT_EQ(browser.topLevelItems().value(0), item);
    EXPECT_EQ(browser.properties(), QList<PbProperty *>({b, a}));
    EXPECT_NE(browser.insertProperty(d, e), nullptr);  // e is not shown at all
    EXPECT_EQ(browser.items(d).size(), 1);
}

TEST_F(BrowserItems, PropertyUnderTwoShownParentsHasTwoItems)
{
    a->addSubProperty(c);
    b->addSubProperty(c);
    browser.addProperty(a);
    browser.addProperty(b);
    EXPECT_EQ(browser.items(c).size(), 2);
    log.clear();

    ints.setValue(c, 5);
    EXPECT_EQ(log.take(), QStringList({"browser.changed(a/c)", "browser.changed(b/c)"}));

    a->removeSubProperty(c);
    EXPECT_EQ(log.take(), QStringList({"browser.removed(a/c)"}));
    EXPECT_EQ(browser.items(c).size(), 1);
    EXPECT_EQ(ints.receiverCount(insertedSignal), 1);  // c still shows under b
    ints.setValue(c, 6);
    EXPECT_EQ(log.take(), QStringList({"browser.changed(b/c)"}));
}

TEST_F(BrowserItems, ManagerIsConnectedExactlyWhileShown)
{
    a->addSubProperty(c);
    EXPECT_EQ(ints.receiverCount(insertedSignal), 0);
    browser.addProperty(a);
    EXPECT_EQ(ints.receiverCount(insertedSignal), 1);
    browser.addProperty(d);
    EXPECT_EQ(ints.receiverCount(insertedSignal), 1);  // one connection per manager
    browser.removeProperty(d);
    EXPECT_EQ(ints.receiverCount(insertedSignal), 1);
    a->removeSubProperty(c);
    EXPECT_EQ(ints.receiverCount(insertedSignal), 0);
    EXPECT_EQ(ints.receiverCount(SIGNAL(propertyChanged(PbProperty*))), 0);
    a->addSubProperty(c);
    EXPECT_EQ(ints.receiverCount(insertedSignal), 1);
    EXPECT_EQ(browser.items(c).size(), 1);
}

TEST_F(BrowserItems, RemovalGoesChildrenLastToFirstThenTheItem)
{
    a->addSubProperty(b);
    a->addSubProperty(e);
    b->addSubProperty(c);
    b->addSubProperty(d);
    browser.addProperty(a);
    log.clear();
    browser.removeProperty(a);
    const QStringList expected{"browser.removed(a/e)", "browser.removed(a/b/d)", "browser.removed(a/b/c)",
                               "browser.removed(a/b)", "browser.removed(a)"};
    EXPECT_EQ(log.take(), expected);
    EXPECT_TRUE(browser.topLevelItems().isEmpty());
    EXPECT_TRUE(browser.items(c).isEmpty());
    EXPECT_EQ(ints.receiverCount(insertedSignal), 0);
}

TEST_F(BrowserItems, ChildInsertedIntoShownParentsLandsBehindItsSibling)
{
    a->addSubProperty(c);
    a->addSubProperty(d);
    b->addSubProperty(a);
    browser.addProperty(a);
    browser.addProperty(b);
    log.clear();
    a->insertSubProperty(e, c);
    const QStringList expected{"browser.inserted(a/e,a/c)", "browser.inserted(b/a/e,b/a/c)"};
    EXPECT_EQ(log.take(), expected);
    QStringList order;
    for (PbBrowserItem *item : browser.topLevelItem(a)->children())
        order << itemPath(item);
    EXPECT_EQ(order, QStringList({"a/c", "a/e", "a/d"}));
}

TEST_F(BrowserItems, DeletedPropertiesLeaveTheBrowser)
{
    a->addSubProperty(c);
    browser.addProperty(a);
    browser.addProperty(d);
    log.clear();
    delete c;
    EXPECT_EQ(log.take(), QStringList({"browser.removed(a/c)"}));
    delete d;
    EXPECT_EQ(log.take(), QStringList({"browser.removed(d)"}));
    EXPECT_EQ(browser.properties(), QList<PbProperty *>({a}));
    EXPECT_EQ(ints.receiverCount(insertedSignal), 0);
}

TEST_F(BrowserItems, ClearRemovesTopLevelFromLastToFirst)
{
    a->addSubProperty(c);
    browser.addProperty(a);
    browser.addProperty(b);
    log.clear();
    browser.clear();
    EXPECT_EQ(log.take(), QStringList({"browser.removed(b)", "browser.removed(a/c)", "browser.removed(a)"}));
}

TEST_F(BrowserItems, CurrentItemIsAnnouncedOnlyOnChange)
{
    PbBrowserItem *top = browser.addProperty(a);
    QSignalSpy spy(&browser, &PbAbstractPropertyBrowser::currentItemChanged);
    browser.setCurrentItem(top);
    browser.setCurrentItem(top);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(browser.currentItem(), top);
    // The item goes: no pointer to a deleted item stays behind.
    browser.removeProperty(a);
    EXPECT_EQ(browser.currentItem(), nullptr);
}

TEST(BrowserLifetime, DestroyingABrowserCallsNoItemCallbacks)
{
    SignalLog log;
    PbGroupPropertyManager groups;
    PbProperty *a = groups.addProperty("a");
    a->addSubProperty(groups.addProperty("b"));
    {
        LoggingBrowser browser(&log);
        browser.addProperty(a);
        log.clear();
    }
    EXPECT_TRUE(log.take().isEmpty());
    a->setPropertyName("still fine");
}

// Registry: the factory's connect/disconnect hooks are logged.
class FactoryRegistry : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ints.setObjectName("ints");
        p = ints.addProperty("p");
    }

    SignalLog log;
    ProbedIntManager ints;
    LoggingIntFactory f1{&log, "f1"};
    LoggingIntFactory f2{&log, "f2"};
    LoggingBrowser b1{&log, "b1"};
    LoggingBrowser b2{&log, "b2"};
    QWidget parent;
    PbProperty *p = nullptr;
};

TEST_F(FactoryRegistry, TwoBrowsersShareOneConnection)
{
    b1.setFactoryForManager<PbIntPropertyManager>(&ints, &f1);
    b2.setFactoryForManager<PbIntPropertyManager>(&ints, &f1);
    b1.setFactoryForManager<PbIntPropertyManager>(&ints, &f1);
    EXPECT_EQ(log.take(), QStringList({"f1.connect(ints)"}));

    b1.unsetFactoryForManager(&ints);
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_EQ(b1.createEditor(p, &parent), nullptr);
    EXPECT_NE(b2.createEditor(p, &parent), nullptr);
    b2.unsetFactoryForManager(&ints);
    EXPECT_EQ(log.take(), QStringList({"f1.disconnect(ints)"}));
    EXPECT_EQ(b2.createEditor(p, &parent), nullptr);
    b2.unsetFactoryForManager(&ints);  // nothing bound: nothing happens
    EXPECT_TRUE(log.take().isEmpty());
}

TEST_F(FactoryRegistry, RebindingReplacesTheFactory)
{
    b1.setFactoryForManager<PbIntPropertyManager>(&ints, &f1);
    b2.setFactoryForManager<PbIntPropertyManager>(&ints, &f2);
    log.clear();
    // b1 moves to f2: f1 loses its last browser, f2 is connected already.
    b1.setFactoryForManager<PbIntPropertyManager>(&ints, &f2);
    EXPECT_EQ(log.take(), QStringList({"f1.disconnect(ints)"}));
    QWidget *editor = b1.createEditor(p, &parent);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(f2.tracker.propertyOf(editor), p);
    EXPECT_TRUE(f1.tracker.editorToProperty.isEmpty());
}

TEST_F(FactoryRegistry, DestroyedFactoryIsNeverCalled)
{
    auto *doomed = new LoggingIntFactory(&log, "doomed");
    b1.setFactoryForManager<PbIntPropertyManager>(&ints, doomed);
    b2.setFactoryForManager<PbIntPropertyManager>(&ints, doomed);
    delete doomed;
    log.clear();
    EXPECT_EQ(b1.createEditor(p, &parent), nullptr);
    b1.unsetFactoryForManager(&ints);  // must not reach the dead factory
    // A fresh factory (perhaps at the same address) is a new pair and gets connected.
    auto *fresh = new LoggingIntFactory(&log, "fresh");
    b2.setFactoryForManager<PbIntPropertyManager>(&ints, fresh);
    EXPECT_EQ(log.take(), QStringList({"fresh.connect(ints)"}));
    EXPECT_NE(b2.createEditor(p, &parent), nullptr);
    delete fresh;
}

TEST_F(FactoryRegistry, DestroyedManagerIsForgotten)
{
    auto *doomed = new PbIntPropertyManager;
    doomed->setObjectName("doomed");
    b1.setFactoryForManager<PbIntPropertyManager>(doomed, &f1);
    delete doomed;
    EXPECT_TRUE(f1.propertyManagers().isEmpty());
    log.clear();
    // A new manager, perhaps at the same address, starts from nothing.
    auto *fresh = new PbIntPropertyManager;
    fresh->setObjectName("fresh");
    b1.setFactoryForManager<PbIntPropertyManager>(fresh, &f1);
    EXPECT_EQ(log.take(), QStringList({"f1.connect(fresh)"}));
    delete fresh;
    EXPECT_TRUE(log.take().isEmpty());  // no disconnect on a manager that goes
}

TEST_F(FactoryRegistry, DestroyedBrowserDropsItsBindings)
{
    auto *doomed = new LoggingBrowser(&log, "doomed");
    doomed->setFactoryForManager<PbIntPropertyManager>(&ints, &f1);
    b1.setFactoryForManager<PbIntPropertyManager>(&ints, &f2);
    log.clear();
    delete doomed;
    // The doomed browser was f1's only user for this manager.
    EXPECT_EQ(log.take(), QStringList({"f1.disconnect(ints)"}));
    EXPECT_NE(b1.createEditor(p, &parent), nullptr);
}

TEST_F(FactoryRegistry, NullArgumentsAreRefused)
{
    b1.setFactoryForManager<PbIntPropertyManager>(nullptr, &f1);
    b1.setFactoryForManager<PbIntPropertyManager>(&ints, nullptr);
    b1.unsetFactoryForManager(nullptr);
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_EQ(b1.createEditor(nullptr, &parent), nullptr);
}

} // namespace
