// Rows of the tree browser: flags, texts and tool tips, headers with extra
// columns, resize modes and splitter positions that hold at any width,
// background colours, marked group rows, the current item in both ways and
// the removal of whole subtrees.
#include "tree_browser_fixture.h"

#include <QSignalSpy>

Q_DECLARE_METATYPE(QTreeWidgetItem *)

using namespace treetest;

namespace {

class TreeBrowser : public ::testing::Test
{
protected:
    ParameterTree tree;
    PbTreePropertyBrowser browser;

    void SetUp() override { tree.bind(browser); }
    QTreeWidget *view() { return viewOf(browser); }
    QTreeWidgetItem *row(const char *name) { return rowOf(browser, name); }
    QStringList headers()
    {
        QStringList h;
        for (int c = 0; c < view()->columnCount(); ++c)
            h << view()->headerItem()->text(c);
        return h;
    }
};

TEST_F(TreeBrowser, NewRowsAreCheckableEditableEnabledAndNotSelectable)
{
    for (const char *name : {"top", "g", "a", "i", "d", "s", "bo", "e"}) {
        QTreeWidgetItem *r = row(name);
        ASSERT_NE(r, nullptr) << name;
        EXPECT_EQ(r->flags(), Qt::ItemIsUserCheckable | Qt::ItemIsEditable | Qt::ItemIsEnabled) << name;
        EXPECT_EQ(r->checkState(0), Qt::Unchecked) << name;
    }
    EXPECT_EQ(row("top")->child(0), row("g"));
    EXPECT_EQ(row("g")->child(2), row("c"));
}

// A leaf row is expanded like a group row and reported once, so that a
// child it gets later shows at once; a leaf collapsed by the caller stays so.
TEST_F(TreeBrowser, EveryNewRowIsExpandedAndReportedOnce)
{
    PbTreePropertyBrowser fresh;
    QSignalSpy expanded(&fresh, SIGNAL(expanded(PbBrowserItem*)));
    QSignalSpy collapsed(&fresh, SIGNAL(collapsed(PbBrowserItem*)));
    fresh.addProperty(tree.g);
    fresh.addProperty(tree.i);
    auto reported = [&] {
        QList<PbBrowserItem *> items;
        for (const QList<QVariant> &args : qAsConst(expanded))
            items << args.at(0).value<PbBrowserItem *>();
        expanded.clear();
        return items;
    };
    QList<PbBrowserItem *> rows;
    for (PbProperty *p : {tree.g, tree.a, tree.b, tree.c, tree.i}) {
        rows << itemOf(fresh, p);
        EXPECT_TRUE(fresh.isExpanded(rows.last())) << p->propertyName().toStdString();
    }
    EXPECT_EQ(reported(), rows) << "each new row once, in the order of insertion";

    PbProperty *x = tree.ints.addProperty("x");
    tree.a->addSubProperty(x);
    EXPECT_EQ(reported(), QList<PbBrowserItem *>{itemOf(fresh, x)}) << "a leaf getting a child is not reported again";
    EXPECT_TRUE(fresh.isExpanded(itemOf(fresh, tree.a)));
    EXPECT_TRUE(fresh.isExpanded(itemOf(fresh, x)));

    fresh.setExpanded(itemOf(fresh, tree.i), false);
    ASSERT_EQ(collapsed.count(), 1);
    EXPECT_EQ(collapsed.at(0).at(0).value<PbBrowserItem *>(), itemOf(fresh, tree.i));
    PbProperty *y = tree.ints.addProperty("y");
    tree.i->addSubProperty(y);
    EXPECT_EQ(reported(), QList<PbBrowserItem *>{itemOf(fresh, y)});
    EXPECT_FALSE(fresh.isExpanded(itemOf(fresh, tree.i))) << "a first child does not reopen its parent";
    EXPECT_TRUE(fresh.isExpanded(itemOf(fresh, y)));
    EXPECT_EQ(collapsed.count(), 1);
}

TEST_F(TreeBrowser, RowTextsIconsAndToolTipsComeFromTheProperty)
{
    EXPECT_EQ(row("i")->text(1), "5");
    EXPECT_EQ(row("s")->toolTip(1), "text") << "the display text when the row has no tool tip";
    EXPECT_EQ(row("i")->toolTip(0), "i");
    EXPECT_EQ(row("d")->text(1), QLocale::system().toString(1.5, 'f', 2));
    EXPECT_EQ(row("s")->text(1), "text");
    EXPECT_EQ(row("e")->text(1), "on");
    EXPECT_EQ(row("bo")->text(1), tree.bools.valueText(tree.bo));
    EXPECT_FALSE(row("bo")->icon(1).isNull()) << "the check-box icon of a boolean";
    EXPECT_TRUE(row("g")->text(1).isEmpty()) << "a group row has no value";

    tree.strings.setEchoMode(tree.s, QLineEdit::Password);
    EXPECT_NE(row("s")->text(1), "text") << "the shown text follows the echo mode";
    EXPECT_EQ(row("s")->text(1).size(), 4);
    tree.i->setToolTip("tip");
    tree.i->setStatusTip("status");
    tree.i->setWhatsThis("what");
    EXPECT_EQ(row("i")->toolTip(1), "tip");
    EXPECT_EQ(row("i")->statusTip(0), "status");
    EXPECT_EQ(row("i")->whatsThis(0), "what");
    tree.i->setPropertyName("renamed");
    EXPECT_EQ(row("i"), nullptr);
    ASSERT_NE(row("renamed"), nullptr);
    EXPECT_EQ(row("renamed")->toolTip(0), "renamed");
}

TEST_F(TreeBrowser, HeadersAndExtraColumns)
{
    EXPECT_EQ(headers(), QStringList({"Параметр", "Значение"}));
    browser.setExtraColumns({"Тип", "Описание"});
    EXPECT_EQ(view()->columnCount(), 4);
    EXPECT_EQ(headers(), QStringList({"Параметр", "Значение", "Тип", "Описание"}));
    EXPECT_TRUE(browser.alternatingRowColors());

    tree.a->setColumnTexts({"UNSIGNED8", "описание a"});
    EXPECT_TRUE(row("a")->text(2).isEmpty()) << "column texts show at the row's next refresh";
    tree.ints.setValue(tree.a, 3);
    EXPECT_EQ(row("a")->text(2), "UNSIGNED8");
    EXPECT_EQ(row("a")->text(3), "описание a");
    EXPECT_TRUE(row("b")->text(2).isEmpty());
    browser.setExtraColumns({});
    EXPECT_EQ(headers(), QStringList({"Параметр", "Значение"}));
}

TEST_F(TreeBrowser, SplitterPositionsHoldAtTheWidthsTheWindowSets)
{
    browser.setExtraColumns({"Тип", "Описание"});
    browser.setResizeMode(PbTreePropertyBrowser::Interactive);
    browser.setSplitterPosition(0, 250);
    browser.setSplitterPosition(1, 150);
    PbTreePropertyBrowser second;
    tree.bind(second);
    second.setExtraColumns({"Тип"});
    second.setResizeMode(PbTreePropertyBrowser::Interactive);
    second.setSplitterPosition(0, 300);
    second.setSplitterPosition(1, 250);
    second.setSplitterPosition(2, 50);
    for (int width : {900, 400, 1400}) {
        browser.resize(width, 300);
        second.resize(width, 300);
        browser.show();
        second.show();
        QApplication::processEvents();
        EXPECT_EQ(browser.splitterPosition(0), 250) << width;
        EXPECT_EQ(browser.splitterPosition(1), 150) << width;
        EXPECT_EQ(second.splitterPosition(0), 300) << width;
        EXPECT_EQ(second.splitterPosition(1), 250) << width;
        EXPECT_EQ(second.splitterPosition(2), 50) << width << ": a width set for the last column holds";
    }
    // A last column without a set width fills the view.
    QHeaderView *h = view()->header();
    EXPECT_EQ(h->sectionPosition(3) + h->sectionSize(3), view()->viewport()->width());
    EXPECT_EQ(second.splitterPosition(7), 0) << "a column that does not exist has no width";
    second.setSplitterPosition(7, 10);
}

TEST_F(TreeBrowser, ResizeModeHeaderAndViewProperties)
{
    QHeaderView *h = view()->header();
    EXPECT_EQ(browser.resizeMode(), PbTreePropertyBrowser::Stretch);
    EXPECT_EQ(h->sectionResizeMode(0), QHeaderView::Stretch);
    EXPECT_FALSE(h->sectionsMovable());
    browser.setResizeMode(PbTreePropertyBrowser::Interactive);
    browser.setResizeMode(PbTreePropertyBrowser::Interactive);
    EXPECT_EQ(h->sectionResizeMode(1), QHeaderView::Interactive);
    browser.setResizeMode(PbTreePropertyBrowser::ResizeToContents);
    EXPECT_EQ(h->sectionResizeMode(0), QHeaderView::ResizeToContents);
    browser.setResizeMode(PbTreePropertyBrowser::ResizeMode(9));
    EXPECT_EQ(h->sectionResizeMode(0), QHeaderView::Stretch) << "an unknown mode stretches";
    EXPECT_TRUE(browser.setProperty("resizeMode", int(PbTreePropertyBrowser::Fixed)));
    EXPECT_EQ(h->sectionResizeMode(1), QHeaderView::Fixed);

    browser.setHeaderVisible(false);
    EXPECT_TRUE(h->isHidden());
    EXPECT_FALSE(browser.isHeaderVisible());
    browser.setIndentation(7);
    EXPECT_EQ(browser.property("indentation").toInt(), 7);
    EXPECT_EQ(view()->editTriggers(), QAbstractItemView::EditKeyPressed);
    EXPECT_EQ(view()->iconSize(), QSize(18, 18));
    EXPECT_EQ(browser.focusProxy(), view());
}

TEST_F(TreeBrowser, RowlessItemsAreAnsweredWithDefaults)
{
    PbTreePropertyBrowser other;
    tree.bind(other);
    PbBrowserItem *foreign = itemOf(other, tree.g);
    EXPECT_FALSE(browser.isExpanded(foreign));
    EXPECT_FALSE(browser.isItemVisible(foreign));
    EXPECT_EQ(browser.checkState(foreign), Qt::Unchecked);
    browser.setBackgroundColor(foreign, Qt::red);
    EXPECT_FALSE(browser.backgroundColor(foreign).isValid());

    PbBrowserItem *g = itemOf(browser, tree.g);
    browser.setExpanded(g, false);
    EXPECT_FALSE(browser.isExpanded(g));
    browser.setItemVisible(g, false);
    EXPECT_FALSE(browser.isItemVisible(g));
    browser.setItemVisible(g, true);
    EXPECT_TRUE(browser.isItemVisible(g));
}

TEST_F(TreeBrowser, BackgroundColoursAreInheritedAndRemovable)
{
    PbBrowserItem *g = itemOf(browser, tree.g);
    PbBrowserItem *a = itemOf(browser, tree.a);
    browser.setBackgroundColor(g, QColor(Qt::yellow));
    EXPECT_FALSE(browser.backgroundColor(a).isValid());
    EXPECT_EQ(browser.calculatedBackgroundColor(a), QColor(Qt::yellow));
    browser.setBackgroundColor(a, QColor(Qt::cyan));
    EXPECT_EQ(browser.calculatedBackgroundColor(a), QColor(Qt::cyan));
    browser.setBackgroundColor(g, QColor());
    EXPECT_FALSE(browser.backgroundColor(g).isValid());
    EXPECT_FALSE(browser.calculatedBackgroundColor(itemOf(browser, tree.b)).isValid());
    tree.g->removeSubProperty(tree.a);
    tree.g->addSubProperty(tree.a);
    EXPECT_FALSE(browser.backgroundColor(itemOf(browser, tree.a)).isValid()) << "a new row starts without colour";
}

// Colours as painted on screen: 8-bit channels, rounding allowed.
bool near(QRgb painted, const QColor &expected)
{
    return qAbs(qRed(painted) - expected.red()) <= 1 && qAbs(qGreen(painted) - expected.green()) <= 1
        && qAbs(qBlue(painted) - expected.blue()) <= 1;
}

TEST_F(TreeBrowser, RowsArePaintedWithTheirColours)
{
    browser.resize(500, 450);
    ASSERT_TRUE(showActive(&browser));
    const QColor red(200, 30, 30);
    browser.setBackgroundColor(itemOf(browser, tree.g), red);
    // A point in the empty right part of the value cell of a row.
    auto colourOf = [&](const char *name) {
        const QImage image = view()->viewport()->grab().toImage();
        const QRect r = view()->visualItemRect(row(name));
        QHeaderView *h = view()->header();
        const int x = h->sectionViewportPosition(1) + h->sectionSize(1) - 6;
        return image.pixel(x * image.width() / view()->viewport()->width(),
                           r.center().y() * image.height() / view()->viewport()->height());
    };
    auto reddish = [&](const char *name) {
        const QRgb c = colourOf(name);
        return near(c, red) || near(c, red.lighter(112));
    };
    EXPECT_TRUE(reddish("g"));
    for (const char *child : {"a", "b", "c"})
        EXPECT_TRUE(reddish(child)) << child << ": the group's colour reaches the rows below";
    EXPECT_NE(colourOf("a"), colourOf("b")) << "alternate rows are lightened";
    EXPECT_FALSE(reddish("h1"));
    EXPECT_FALSE(reddish("top"));

    browser.setRootIsDecorated(false);
    browser.setPropertiesWithoutValueMarked(true);
    const QColor dark = view()->palette().color(QPalette::Dark);
    EXPECT_TRUE(near(colourOf("top"), dark)) << "a group row is marked dark";
    EXPECT_TRUE(near(colourOf("h"), dark));
    EXPECT_TRUE(near(colourOf("g"), dark)) << "the mark wins over the row's colour";
    EXPECT_TRUE(reddish("a")) << "value rows keep their colours";
    EXPECT_FALSE(near(colourOf("i"), dark));
}

TEST_F(TreeBrowser, CurrentItemFollowsInBothDirectionsWithoutEcho)
{
    QSignalSpy browserCurrent(&browser, SIGNAL(currentItemChanged(PbBrowserItem*)));
    qRegisterMetaType<QTreeWidgetItem *>();
    QSignalSpy viewCurrent(view(), SIGNAL(currentItemChanged(QTreeWidgetItem*,QTreeWidgetItem*)));
    ASSERT_TRUE(viewCurrent.isValid());
    browser.setCurrentItem(itemOf(browser, tree.s));
    EXPECT_EQ(view()->currentItem(), row("s"));
    EXPECT_EQ(browserCurrent.count(), 1);
    EXPECT_EQ(viewCurrent.count(), 0) << "the view's own signal is blocked while it follows";
    view()->setCurrentItem(row("e"));
    EXPECT_EQ(browser.currentItem(), itemOf(browser, tree.e));
    EXPECT_EQ(browserCurrent.count(), 2);
    tree.values->removeSubProperty(tree.e);
    EXPECT_EQ(view()->currentItem(), nullptr);
}

TEST_F(TreeBrowser, ExpandCollapseSignalsAndMarkedGroupRows)
{
    QSignalSpy collapsed(&browser, SIGNAL(collapsed(PbBrowserItem*)));
    QSignalSpy expanded(&browser, SIGNAL(expanded(PbBrowserItem*)));
    row("g")->setExpanded(false);
    ASSERT_EQ(collapsed.count(), 1);
    EXPECT_EQ(collapsed.at(0).at(0).value<PbBrowserItem *>(), itemOf(browser, tree.g));
    row("g")->setExpanded(true);
    EXPECT_EQ(expanded.count(), 1);

    EXPECT_TRUE(row("g")->icon(0).isNull());
    browser.setRootIsDecorated(false);
    browser.setPropertiesWithoutValueMarked(true);
    EXPECT_FALSE(row("g")->icon(0).isNull()) << "a marked group row shows the branch icon";
    EXPECT_TRUE(row("a")->icon(0).isNull());
    browser.resize(500, 400);
    ASSERT_TRUE(showActive(&browser));
    const QRect r = view()->visualItemRect(row("values"));
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, QPoint(r.left() + 25, r.center().y()));
    EXPECT_TRUE(row("values")->isExpanded()) << "only the first 20 pixels toggle";
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, QPoint(r.left() + 5, r.center().y()));
    EXPECT_FALSE(row("values")->isExpanded()) << "a click near the left edge toggles a marked group";
    browser.setRootIsDecorated(true);
    EXPECT_TRUE(row("g")->icon(0).isNull());
}

// A removed property's subtree leaves in one step; what a user or a caller
// sees stays as when rows left one by one, also for a caller that changes
// the tree from a slot while the removal runs.
TEST_F(TreeBrowser, RemovingASubtreeTakesItsRowsAndLeavesTheRestAsItWas)
{
    tree.values->addSubProperty(tree.g); // g and its children shown in two places
    row("values")->setExpanded(false);
    browser.setCurrentItem(browser.items(tree.a).first());
    ASSERT_EQ(view()->currentItem()->parent()->parent(), row("top"));
    QSignalSpy browserCurrent(&browser, SIGNAL(currentItemChanged(PbBrowserItem*)));
    QSignalSpy collapsed(&browser, SIGNAL(collapsed(PbBrowserItem*)));
    int disabledDuringRemoval = 0;
    QObject::connect(&browser, &PbTreePropertyBrowser::currentItemChanged, [&](PbBrowserItem *item) {
        if (!item && !disabledDuringRemoval++)
            tree.g->setEnabled(false); // under top, the rows of b and c are gone already
    });

    browser.removeProperty(tree.top);

    EXPECT_EQ(view()->topLevelItemCount(), 1);
    for (const char *gone : {"top", "h", "h1", "h2"})
        EXPECT_EQ(row(gone), nullptr) << gone;
    ASSERT_NE(row("a"), nullptr) << "the other place of g stays, with its children";
    EXPECT_EQ(row("a")->parent(), row("g"));
    EXPECT_EQ(row("g")->parent(), row("values"));
    EXPECT_FALSE(row("g")->flags() & Qt::ItemIsEnabled);
    EXPECT_FALSE(row("values")->isExpanded());
    EXPECT_TRUE(row("g")->isExpanded());
    EXPECT_EQ(collapsed.count(), 0);
    EXPECT_EQ(view()->currentItem(), nullptr);
    EXPECT_EQ(browser.currentItem(), nullptr);
    ASSERT_EQ(browserCurrent.count(), 1);
    EXPECT_EQ(disabledDuringRemoval, 1);
    EXPECT_EQ(browser.items(tree.a).size(), 1);
    EXPECT_EQ(browser.items(tree.h1).size(), 0);

    browser.addProperty(tree.top);
    ASSERT_NE(row("h1"), nullptr);
    EXPECT_TRUE(row("h")->isExpanded()) << "rows come back as new rows";
    tree.h->removeSubProperty(tree.h2);
    EXPECT_EQ(row("h")->childCount(), 1) << "a child whose parent stays leaves at once";
    EXPECT_EQ(row("h2"), nullptr);
}

} // namespace
