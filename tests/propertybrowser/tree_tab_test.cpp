// Tab and leaving the editor in the tree browser, through real keys: every
// editor, composite or plain, closes without committing and the keyboard
// goes on working in the view.
#include "tree_browser_fixture.h"

#include <QLineEdit>
#include <QPointer>
#include <QVBoxLayout>

using namespace treetest;

namespace {

struct TabCase {
    const char *row;
    const char *typed;  // empty: the editor takes no text (check box)
};

class TreeTab : public ::testing::TestWithParam<TabCase>
{
protected:
    SignalLog log;
    ParameterTree tree;
    QWidget window;
    PbTreePropertyBrowser *browserPtr = new PbTreePropertyBrowser(&window);
    PbTreePropertyBrowser &browser = *browserPtr;
    QLineEdit *outside = new QLineEdit(&window);

    void SetUp() override
    {
        for (QObject *m : std::initializer_list<QObject *>{&tree.ints, &tree.doubles, &tree.strings, &tree.bools,
                                                           &tree.enums})
            log.watch(m, "m");
        tree.bind(browser);
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(&browser);
        layout->addWidget(outside);
        window.resize(600, 540);
        ASSERT_TRUE(showActive(&window));
    }

    QTreeWidget *view() { return viewOf(browser); }
    QWidget *openEditor() { return view()->indexWidget(view()->currentIndex()); }
};

TEST_P(TreeTab, TabClosesTheEditorWithoutCommittingAndKeysWorkAfterwards)
{
    const TabCase c = GetParam();
    const QString before = rowOf(browser, c.row)->text(1);
    view()->setCurrentItem(rowOf(browser, c.row), 0);
    QTest::keyClick(view(), Qt::Key_Space);
    QPointer<QWidget> editor = openEditor();
    ASSERT_FALSE(editor.isNull());
    ASSERT_EQ(delegateOf(browser)->editedItem(), rowOf(browser, c.row));
    if (*c.typed)
        typeKeys(c.typed);
    log.clear();
    pressKey(Qt::Key_Tab);
    EXPECT_TRUE(waitFor([&] { return editor.isNull(); })) << "Tab closes the editor";
    EXPECT_EQ(log.count("m.valueChanged") + log.count("m.valueUpdated"), 0) << log.entries().join(", ").toStdString();
    EXPECT_EQ(rowOf(browser, c.row)->text(1), before);

    // Whatever Tab moved on to, Escape closes it and the keys work again.
    pressKey(Qt::Key_Escape);
    EXPECT_TRUE(waitFor([&] { return delegateOf(browser)->editedItem() == nullptr; }));
    view()->setCurrentItem(rowOf(browser, c.row), 1);
    QTest::keyClick(view(), Qt::Key_Return);
    EXPECT_EQ(delegateOf(browser)->editedItem(), rowOf(browser, c.row)) << "Return opens the editor again";
}

TEST_P(TreeTab, LeavingTheEditorClosesItWithoutCommitting)
{
    const TabCase c = GetParam();
    for (bool toOtherRow : {true, false}) {
        clickRow(browser, rowOf(browser, c.row), Spot::Value);
        QPointer<QWidget> editor = openEditor();
        ASSERT_FALSE(editor.isNull());
        if (*c.typed)
            typeKeys(c.typed);
        log.clear();
        if (toOtherRow)
            clickRow(browser, rowOf(browser, "top"), Spot::Label);
        else
            QTest::mouseClick(outside, Qt::LeftButton);
        EXPECT_TRUE(waitFor([&] { return editor.isNull(); })) << "leaving the editor closes it: " << toOtherRow;
        EXPECT_EQ(log.count("m.valueChanged") + log.count("m.valueUpdated"), 0)
            << log.entries().join(", ").toStdString();
        EXPECT_EQ(delegateOf(browser)->editedItem(), nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryEditor, TreeTab,
                         ::testing::Values(TabCase{"i", "42"}, TabCase{"s", "xyz"}, TabCase{"bo", ""},
                                           TabCase{"d", "7"}, TabCase{"e", ""}),
                         [](const ::testing::TestParamInfo<TabCase> &info) { return std::string(info.param.row); });

} // namespace
