// Check boxes of the tree browser, clicked with the mouse: a group passes its
// new state to every row below, a leaf sets its parent only, the grandparent
// never moves, clicks elsewhere (label, value column) change nothing.
#include "tree_browser_fixture.h"

using namespace treetest;

namespace {

class TreeChecks : public ShownTreeTest
{
protected:
    Qt::CheckState state(const char *name) { return rowOf(browser, name)->checkState(0); }
    void click(const char *name, Spot spot = Spot::CheckBox) { clickRow(browser, rowOf(browser, name), spot); }
};

TEST_F(TreeChecks, GroupClickReachesEveryRowBelowButNotTheGrandparent)
{
    click("g");
    EXPECT_EQ(state("g"), Qt::Checked);
    for (const char *leaf : {"a", "b", "c"})
        EXPECT_EQ(state(leaf), Qt::Checked) << leaf;
    EXPECT_EQ(state("top"), Qt::Unchecked) << "the parent of a clicked group is not updated";
    EXPECT_EQ(state("h1"), Qt::Unchecked);

    click("top");
    for (const char *name : {"top", "g", "h", "a", "b", "c", "h1", "h2"})
        EXPECT_EQ(state(name), Qt::Checked) << name;
    click("top");
    for (const char *name : {"top", "g", "h", "a", "b", "c", "h1", "h2"})
        EXPECT_EQ(state(name), Qt::Unchecked) << name;
    EXPECT_EQ(browser.checkState(itemOf(browser, tree.a)), Qt::Unchecked);
}

TEST_F(TreeChecks, LeafClicksSetTheParentFromAllSiblings)
{
    click("a");
    EXPECT_EQ(state("g"), Qt::PartiallyChecked) << "one of three checked";
    click("b");
    EXPECT_EQ(state("g"), Qt::PartiallyChecked);
    click("c");
    EXPECT_EQ(state("g"), Qt::Checked) << "all three checked";
    EXPECT_EQ(state("top"), Qt::Unchecked) << "the grandparent is not updated";
    click("a");
    click("b");
    click("c");
    EXPECT_EQ(state("g"), Qt::Unchecked) << "none checked";
}

TEST_F(TreeChecks, PartiallyCheckedSiblingsCountAsUnchecked)
{
    // h's children are partially checked by hand; checking and unchecking the
    // one checked leaf of top's other child leaves top computed from them.
    browser.setCheckState(itemOf(browser, tree.g), Qt::PartiallyChecked);
    browser.setCheckState(itemOf(browser, tree.h), Qt::PartiallyChecked);
    PbProperty *x = tree.ints.addProperty("x");
    tree.top->addSubProperty(x);
    click("x");
    EXPECT_EQ(state("top"), Qt::PartiallyChecked) << "x checked, g and h only partially";
    click("x");
    EXPECT_EQ(state("top"), Qt::Unchecked) << "only partially checked siblings give an unchecked parent";
}

TEST_F(TreeChecks, ClicksOnLabelOrValueKeepTheChecksBelow)
{
    click("a");
    click("c");
    ASSERT_EQ(state("g"), Qt::PartiallyChecked);
    click("g", Spot::Label);
    EXPECT_EQ(state("a"), Qt::Checked) << "a click on the label must not wipe the leaves";
    EXPECT_EQ(state("b"), Qt::Unchecked);
    EXPECT_EQ(state("c"), Qt::Checked);

    browser.setCheckState(itemOf(browser, tree.h), Qt::Checked);
    click("h", Spot::Label);
    EXPECT_EQ(state("h1"), Qt::Unchecked) << "a state set without a click is not pushed down by a later label click";

    click("values", Spot::Value);
    click("i", Spot::Value);
    EXPECT_EQ(state("values"), Qt::Unchecked) << "clicks in column 1 change no check state";
    EXPECT_EQ(state("i"), Qt::Unchecked);

    click("g");
    EXPECT_EQ(state("g"), Qt::Checked) << "a real click on the box still propagates";
    EXPECT_EQ(state("b"), Qt::Checked);
}

TEST_F(TreeChecks, SetCheckStateDoesNotPropagateAndIgnoresRowlessItems)
{
    browser.setCheckState(itemOf(browser, tree.g), Qt::Checked);
    EXPECT_EQ(state("g"), Qt::Checked);
    EXPECT_EQ(state("a"), Qt::Unchecked);

    PbTreePropertyBrowser other;
    tree.bind(other);
    PbBrowserItem *foreign = itemOf(other, tree.a);
    browser.setCheckState(foreign, Qt::Checked);
    EXPECT_EQ(browser.checkState(foreign), Qt::Unchecked);
    EXPECT_EQ(state("a"), Qt::Unchecked);
}

} // namespace
