// A populated tree browser for the tests: groups, integer, floating-point,
// text, boolean and choice rows, bound to the factories the main window uses,
// plus helpers that click and type on rows as a user does.
#ifndef TREE_BROWSER_FIXTURE_H
#define TREE_BROWSER_FIXTURE_H

#include "parameter_managers.h"
#include "propertybrowser/pbbrowseritem.h"
#include "propertybrowser/pbproperty.h"
#include "propertybrowser/pbpropertyeditordelegate_p.h"
#include "tree_test_support.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace treetest {

struct ParameterTree : ParameterManagers {
    // top > {g > {a, b, c}, h > {h1, h2}}, values > {i, d, s, bo, e}
    PbProperty *top, *g, *a, *b, *c, *h, *h1, *h2, *values, *i, *d, *s, *bo, *e;

    ParameterTree()
    {
        top = groups.addProperty("top");
        g = groups.addProperty("g");
        h = groups.addProperty("h");
        values = groups.addProperty("values");
        a = ints.addProperty("a");
        b = ints.addProperty("b");
        c = ints.addProperty("c");
        h1 = ints.addProperty("h1");
        h2 = ints.addProperty("h2");
        i = ints.addProperty("i");
        d = doubles.addProperty("d");
        s = strings.addProperty("s");
        bo = bools.addProperty("bo");
        e = enums.addProperty("e");
        top->addSubProperty(g);
        top->addSubProperty(h);
        for (PbProperty *p : {a, b, c})
            g->addSubProperty(p);
        h->addSubProperty(h1);
        h->addSubProperty(h2);
        for (PbProperty *p : {i, d, s, bo, e})
            values->addSubProperty(p);
        ints.setValue(i, 5);
        doubles.setValue(d, 1.5);
        strings.setValue(s, "text");
        bools.setValue(bo, true);
        enums.setEnumNames(e, {"off", "on"});
        enums.setValue(e, 1);
    }

    void bind(PbTreePropertyBrowser &browser)
    {
        bindFactories(browser);
        browser.addProperty(top);
        browser.addProperty(values);
    }
};

inline QTreeWidget *viewOf(PbTreePropertyBrowser &browser)
{
    return browser.findChild<QTreeWidget *>();
}

inline PbPropertyEditorDelegate *delegateOf(PbTreePropertyBrowser &browser)
{
    return static_cast<PbPropertyEditorDelegate *>(viewOf(browser)->itemDelegate());
}

inline QTreeWidgetItem *rowOf(PbTreePropertyBrowser &browser, const QString &name)
{
    const auto found = viewOf(browser)->findItems(name, Qt::MatchExactly | Qt::MatchRecursive, 0);
    return found.size() == 1 ? found.first() : nullptr;
}

inline PbBrowserItem *itemOf(PbTreePropertyBrowser &browser, PbProperty *p)
{
    const auto items = browser.items(p);
    return items.isEmpty() ? nullptr : items.first();
}

/// A point inside column `column` of the row; in column 0 either on the
/// check box or on the label behind it.
enum class Spot { CheckBox, Label, Value };

inline QPoint spotOf(PbTreePropertyBrowser &browser, QTreeWidgetItem *row, Spot spot)
{
    QTreeWidget *view = viewOf(browser);
    const QRect r = view->visualItemRect(row);
    QStyle *st = view->style();
    const int margin = st->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    const int box = st->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, view);
    switch (spot) {
    case Spot::CheckBox:
        return QPoint(r.left() + margin + box / 2, r.center().y());
    case Spot::Label:
        return QPoint(r.left() + margin + box + 12, r.center().y());
    case Spot::Value:
        break;
    }
    return QPoint(view->header()->sectionViewportPosition(1) + 10, r.center().y());
}

inline void clickRow(PbTreePropertyBrowser &browser, QTreeWidgetItem *row, Spot spot)
{
    QTest::mouseClick(viewOf(browser)->viewport(), Qt::LeftButton, {}, spotOf(browser, row, spot));
}

/// A test over the parameter tree in a browser that is shown and active, so
/// that keys and clicks reach it as a user's do.
class ShownTreeTest : public ::testing::Test
{
protected:
    ParameterTree tree;
    PbTreePropertyBrowser browser;

    void SetUp() override
    {
        tree.bind(browser);
        browser.resize(600, 500);
        ASSERT_TRUE(showActive(&browser));
    }
    QTreeWidget *view() { return viewOf(browser); }
    QTreeWidgetItem *row(const char *name) { return rowOf(browser, name); }
};

} // namespace treetest

#endif
