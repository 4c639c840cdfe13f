// Expanded rows of the tree browser: a childless row keeps its state while it
// gains and loses children, and keys and clicks expand and collapse leaves as
// they do rows with children.
#include "tree_browser_fixture.h"

#include <algorithm>

using namespace treetest;

namespace {

class TreeExpansion : public ShownTreeTest
{
protected:
    SignalLog log;

    void SetUp() override
    {
        ShownTreeTest::SetUp();
        log.watch(&browser, "b");
    }
    PbBrowserItem *item(PbProperty *p) { return itemOf(browser, p); }
    /// The expanded and collapsed reports since the last call.
    QStringList reports()
    {
        QStringList r = log.take();
        r.erase(std::remove_if(r.begin(), r.end(), [](const QString &e) { return e.startsWith("b.current"); }), r.end());
        return r;
    }
    /// Whether the row is laid out where a user sees it.
    bool shown(const char *name) { return view()->visualItemRect(row(name)).isValid(); }
    PbProperty *addLeaf(PbProperty *parent, const char *name)
    {
        PbProperty *p = tree.ints.addProperty(name);
        parent->addSubProperty(p);
        return p;
    }
};

TEST_F(TreeExpansion, ALeafGettingAChildShowsItOrHidesItByItsState)
{
    for (bool expanded : {true, false}) {
        PbProperty *leaf = expanded ? tree.i : tree.d;
        browser.setExpanded(item(leaf), expanded);
        log.clear();
        addLeaf(leaf, expanded ? "x" : "y");
        EXPECT_EQ(browser.isExpanded(item(leaf)), expanded);
        EXPECT_EQ(shown(expanded ? "x" : "y"), expanded) << "without a call to setExpanded";
        EXPECT_EQ(reports(), QStringList{QString("b.expanded(item:%1)").arg(expanded ? "x" : "y")});
    }
}

TEST_F(TreeExpansion, ARowKeepsItsStateThroughLosingAndRegainingChildren)
{
    for (bool expanded : {true, false}) {
        browser.setExpanded(item(tree.h), expanded);
        log.clear();
        tree.h->removeSubProperty(tree.h1);
        tree.h->removeSubProperty(tree.h2);
        EXPECT_EQ(browser.isExpanded(item(tree.h)), expanded) << "childless";
        tree.h->addSubProperty(tree.h1);
        EXPECT_EQ(browser.isExpanded(item(tree.h)), expanded);
        EXPECT_EQ(shown("h1"), expanded);
        EXPECT_EQ(reports(), QStringList{"b.expanded(item:h1)"});
        tree.h->addSubProperty(tree.h2);
    }
}

// The view's own keys act on a leaf as they did while the view kept every
// leaf's state: each change reported once, none when there is none.
TEST_F(TreeExpansion, KeysExpandAndCollapseLeaves)
{
    const struct {
        Qt::Key key;
        const char *current;
        bool leafExpanded; // i, before the key
        QStringList reports;
        bool leafExpandedAfter;
        const char *currentAfter;
    } cases[] = {
        {Qt::Key_Left, "i", true, {"b.collapsed(item:i)"}, false, "i"},
        {Qt::Key_Left, "i", false, {}, false, "values"},
        {Qt::Key_Right, "i", false, {}, false, "i"},
        {Qt::Key_Plus, "i", false, {"b.expanded(item:i)"}, true, "i"},
        {Qt::Key_Plus, "i", true, {}, true, "i"},
        {Qt::Key_Minus, "i", true, {"b.collapsed(item:i)"}, false, "i"},
        {Qt::Key_Asterisk, "values", false, {"b.expanded(item:i)"}, true, "values"},
        {Qt::Key_Asterisk, "values", true, {}, true, "values"},
    };
    for (const auto &c : cases) {
        browser.setExpanded(item(tree.i), c.leafExpanded);
        view()->setCurrentItem(row(c.current));
        log.clear();
        QTest::keyClick(view(), c.key);
        const QString what = QString("key %1 on %2, i expanded %3").arg(c.key).arg(c.current).arg(c.leafExpanded);
        EXPECT_EQ(reports(), c.reports) << what.toStdString();
        EXPECT_EQ(browser.isExpanded(item(tree.i)), c.leafExpandedAfter) << what.toStdString();
        EXPECT_EQ(view()->currentItem(), row(c.currentAfter)) << what.toStdString();
    }
    // A leaf that the view expanded by itself shows a later child at once.
    browser.setExpanded(item(tree.i), false);
    view()->setCurrentItem(row("i"));
    QTest::keyClick(view(), Qt::Key_Plus);
    addLeaf(tree.i, "x");
    EXPECT_TRUE(shown("x"));
}

TEST_F(TreeExpansion, AMarkedChildlessGroupTogglesByClickAndShowsItsState)
{
    PbProperty *empty = tree.groups.addProperty("empty");
    browser.addProperty(empty);
    browser.setRootIsDecorated(false);
    browser.setPropertiesWithoutValueMarked(true);
    const QPoint nearLeftEdge = view()->visualItemRect(row("empty")).topLeft() + QPoint(5, 5);
    log.clear();
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, nearLeftEdge);
    EXPECT_FALSE(browser.isExpanded(item(empty)));
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, nearLeftEdge);
    EXPECT_TRUE(browser.isExpanded(item(empty)));
    EXPECT_EQ(reports(), QStringList({"b.collapsed(item:empty)", "b.expanded(item:empty)"}));

    const auto picture = [&](bool expanded) {
        browser.setExpanded(item(empty), expanded);
        QApplication::processEvents();
        return view()->viewport()->grab(view()->visualItemRect(row("empty"))).toImage();
    };
    const QImage open = picture(true);
    EXPECT_NE(picture(false), open) << "the branch icon shows the state";
    EXPECT_EQ(picture(true), open);
}

} // namespace
