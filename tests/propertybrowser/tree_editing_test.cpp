// Editing in the tree browser with real keys and clicks: opening the value
// editor by keyboard and mouse, one commit per Enter, disabled rows, window
// activation, and rows removed while their editor is open.
#include "propertybrowser/pbdoublespinbox2.h"
#include "propertybrowser/pblineeditwidget2.h"
#include "propertybrowser/pbspinboxeditwidget2.h"
#include "tree_browser_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QSpinBox>
#include <QToolButton>

using namespace treetest;

namespace {

class TreeEditing : public ::testing::Test
{
protected:
    SignalLog log;
    ParameterTree tree;
    PbTreePropertyBrowser browser;

    void SetUp() override
    {
        // The log listens before the factories do, so that it shows the
        // order in which the main window hears the signals.
        QObject::connect(&tree.ints, &PbIntPropertyManager::valueChanged, [this](PbProperty *p, int v) {
            log.append(QString("valueChanged %1 %2").arg(p->propertyName()).arg(v));
        });
        QObject::connect(&tree.ints, &PbIntPropertyManager::valueUpdated, [this](PbProperty *p, int v) {
            log.append(QString("valueUpdated %1 %2").arg(p->propertyName()).arg(v));
        });
        QObject::connect(&tree.strings, &PbStringPropertyManager::valueUpdated,
                         [this](PbProperty *p, const QString &v) { log.append("valueUpdated " + p->propertyName() + " " + v); });
        for (PbAbstractPropertyManager *m : std::initializer_list<PbAbstractPropertyManager *>{
                 &tree.ints, &tree.doubles, &tree.strings, &tree.bools, &tree.enums}) {
            QObject::connect(m, &PbAbstractPropertyManager::editorCreated,
                             [this](PbProperty *p) { log.append("editorCreated " + p->propertyName()); });
            QObject::connect(m, &PbAbstractPropertyManager::editorDestroyed,
                             [this](PbProperty *p) { log.append("editorDestroyed " + p->propertyName()); });
        }
        tree.bind(browser);
        browser.resize(600, 500);
        ASSERT_TRUE(showActive(&browser));
    }

    QTreeWidget *view() { return viewOf(browser); }
    QTreeWidgetItem *row(const char *name) { return rowOf(browser, name); }
    template <class E> E *openEditor() { return view()->viewport()->findChild<E *>(); }
};

TEST_F(TreeEditing, KeyboardOpensTheEditorAndEnterCommitsOnce)
{
    view()->setCurrentItem(row("i"), 0);
    QTest::keyClick(view(), Qt::Key_Space);
    auto *ed = openEditor<PbSpinBoxEditWidget2>();
    ASSERT_NE(ed, nullptr);
    EXPECT_EQ(view()->currentColumn(), 1) << "the current index moves to the value column";
    EXPECT_EQ(delegateOf(browser)->editedItem(), row("i"));
    EXPECT_EQ(log.entries(), QStringList({"editorCreated i"}));
    log.clear();
    // The spin box has the keyboard even though the button is hidden.
    ASSERT_TRUE(ed->findChild<QSpinBox *>()->hasFocus());
    typeKeys("42");
    EXPECT_TRUE(log.entries().isEmpty()) << "typing without Enter changes nothing";
    EXPECT_EQ(row("i")->text(1), "5");
    pressKey(Qt::Key_Return);
    EXPECT_EQ(log.entries(), QStringList({"valueChanged i 42", "valueUpdated i 42"}));
    EXPECT_EQ(row("i")->text(1), "42");
    EXPECT_TRUE(waitFor([&] { return !openEditor<PbSpinBoxEditWidget2>(); }));
    EXPECT_EQ(log.entries().last(), "editorDestroyed i");
    EXPECT_EQ(delegateOf(browser)->editedItem(), nullptr);

    // Enter on the row opens the editor again; Enter in it commits the
    // unchanged value of an editable row once more.
    QTest::keyClick(view(), Qt::Key_Enter);
    ASSERT_NE(openEditor<PbSpinBoxEditWidget2>(), nullptr);
    log.clear();
    pressKey(Qt::Key_Enter);
    EXPECT_EQ(log.entries(), QStringList({"valueChanged i 42", "valueUpdated i 42"}));
}

TEST_F(TreeEditing, KeyboardOpensTheEditorOfARowWhoseValueTextIsEmpty)
{
    // An empty text is still a value: the row must have its value column so
    // that Space and Enter reach the editor as on any other value row.
    PbProperty *empty = tree.strings.addProperty("empty");
    tree.values->addSubProperty(empty);
    ASSERT_NE(row("empty"), nullptr);
    EXPECT_EQ(row("empty")->columnCount(), 2);
    view()->setCurrentItem(row("empty"), 0);
    QTest::keyClick(view(), Qt::Key_Space);
    ASSERT_NE(openEditor<PbLineEditWidget2>(), nullptr);
    EXPECT_EQ(delegateOf(browser)->editedItem(), row("empty"));
    log.clear();
    typeKeys("x");
    pressKey(Qt::Key_Enter);
    EXPECT_EQ(log.entries(), QStringList({"valueUpdated empty x"}));

    // Back to empty: the row keeps its value column.
    tree.strings.setValue(empty, QString());
    EXPECT_TRUE(row("empty")->text(1).isEmpty());
    EXPECT_TRUE(waitFor([&] { return !openEditor<PbLineEditWidget2>(); }));
    QTest::keyClick(view(), Qt::Key_Return);
    EXPECT_NE(openEditor<PbLineEditWidget2>(), nullptr);
}

TEST_F(TreeEditing, KeysOnTheEditorButtonReachTheFieldAndTheBrowser)
{
    tree.strings.setBtnVisibility(tree.s, true);
    clickRow(browser, row("s"), Spot::Value);
    QPointer<PbLineEditWidget2> ed = openEditor<PbLineEditWidget2>();
    ASSERT_FALSE(ed.isNull());
    typeKeys("typed");
    auto *button = ed->findChild<QToolButton *>();
    ASSERT_TRUE(button->isVisible());
    button->setFocus();
    log.clear();
    QTest::keyClick(button, Qt::Key_Escape);
    EXPECT_TRUE(waitFor([&] { return ed.isNull(); })) << "Escape on the button closes the editor";
    EXPECT_TRUE(log.entries() == QStringList({"editorDestroyed s"})) << log.entries().join(", ").toStdString();
    EXPECT_EQ(tree.strings.value(tree.s), "text") << "what was typed is dropped";

    clickRow(browser, row("s"), Spot::Value);
    ed = openEditor<PbLineEditWidget2>();
    ASSERT_FALSE(ed.isNull());
    typeKeys("more");
    ed->findChild<QToolButton *>()->setFocus();
    log.clear();
    QTest::keyClick(ed->findChild<QToolButton *>(), Qt::Key_Return);
    EXPECT_EQ(log.entries().mid(0, 1), QStringList({"valueUpdated s more"}))
        << "Enter on the button commits the field once";
    EXPECT_EQ(log.count("valueUpdated"), 1);
    EXPECT_TRUE(waitFor([&] { return ed.isNull(); }));
}

TEST_F(TreeEditing, ReadOnlyRowOpensButNeverCommits)
{
    tree.ints.setReadOnly(tree.i, true);
    view()->setCurrentItem(row("i"), 1);
    QTest::keyClick(view(), Qt::Key_Space);
    ASSERT_NE(openEditor<PbSpinBoxEditWidget2>(), nullptr);
    log.clear();
    typeKeys("7");
    pressKey(Qt::Key_Return);
    EXPECT_TRUE(log.entries().isEmpty());
    EXPECT_EQ(tree.ints.value(tree.i), 5);
}

TEST_F(TreeEditing, ClickInTheValueColumnOpensTheEditorThere)
{
    clickRow(browser, row("s"), Spot::Label);
    EXPECT_EQ(openEditor<PbLineEditWidget2>(), nullptr) << "a click on the name opens nothing";
    EXPECT_EQ(browser.currentItem(), itemOf(browser, tree.s));
    clickRow(browser, row("s"), Spot::Value);
    auto *ed = openEditor<PbLineEditWidget2>();
    ASSERT_NE(ed, nullptr);
    EXPECT_TRUE(ed->findChild<QLineEdit *>()->hasFocus());
    log.clear();
    typeKeys("new");
    pressKey(Qt::Key_Enter);
    EXPECT_EQ(log.entries(), QStringList({"valueUpdated s new"}));
    EXPECT_EQ(tree.strings.value(tree.s), "new");

    clickRow(browser, row("g"), Spot::Value);
    EXPECT_EQ(openEditor<QComboBox>(), nullptr) << "a group row has no editor";
}

TEST_F(TreeEditing, DisablingARowClosesItsEditorAndDisablesTheRowsBelow)
{
    tree.b->setEnabled(false);
    clickRow(browser, row("a"), Spot::Value);
    ASSERT_NE(openEditor<PbSpinBoxEditWidget2>(), nullptr);
    tree.g->setEnabled(false);
    EXPECT_TRUE(waitFor([&] { return !openEditor<PbSpinBoxEditWidget2>(); }));
    for (const char *name : {"g", "a", "b", "c"})
        EXPECT_FALSE(row(name)->flags() & Qt::ItemIsEnabled) << name;
    EXPECT_TRUE(row("h")->flags() & Qt::ItemIsEnabled);
    clickRow(browser, row("a"), Spot::Value);
    EXPECT_EQ(openEditor<PbSpinBoxEditWidget2>(), nullptr) << "a disabled row opens no editor";

    tree.g->setEnabled(true);
    EXPECT_TRUE(row("a")->flags() & Qt::ItemIsEnabled);
    EXPECT_FALSE(row("b")->flags() & Qt::ItemIsEnabled) << "a row whose own property is disabled stays disabled";
    EXPECT_TRUE(row("c")->flags() & Qt::ItemIsEnabled);
}

TEST_F(TreeEditing, EditorSurvivesAnotherWindowBecomingActive)
{
    clickRow(browser, row("d"), Spot::Value);
    QPointer<PbDoubleSpinBox2> ed = openEditor<PbDoubleSpinBox2>();
    ASSERT_FALSE(ed.isNull());
    ASSERT_TRUE(ed->hasFocus());
    QWidget other;
    other.resize(100, 100);
    ASSERT_TRUE(showActive(&other));
    // A closed editor would be gone once deferred deletions have run.
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(ed.isNull()) << "the editor stays open while another window is active";
    EXPECT_EQ(delegateOf(browser)->editedItem(), row("d"));
    ASSERT_TRUE(showActive(&browser));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(ed.isNull());
    EXPECT_TRUE(ed->isVisible());
    // Editing goes on where it was left.
    ed->setFocus();
    ed->selectAll();
    log.clear();
    typeKeys("2");
    pressKey(Qt::Key_Enter);
    EXPECT_DOUBLE_EQ(tree.doubles.value(tree.d), 2.0);
}

TEST_F(TreeEditing, RemovedRowIsForgottenAtOnceAndEditingGoesOn)
{
    clickRow(browser, row("a"), Spot::Value);
    QPointer<PbSpinBoxEditWidget2> ed = openEditor<PbSpinBoxEditWidget2>();
    ASSERT_FALSE(ed.isNull());
    tree.g->removeSubProperty(tree.a);
    EXPECT_EQ(row("a"), nullptr);
    EXPECT_EQ(delegateOf(browser)->editedItem(), nullptr) << "no pointer to the removed row is kept";
    EXPECT_TRUE(waitFor([&] { return ed.isNull(); }));

    // Editing another row works, and a row made in place of the old one is
    // an ordinary row.
    tree.g->addSubProperty(tree.a);
    view()->setCurrentItem(row("a"), 0);
    QTest::keyClick(view(), Qt::Key_Space);
    ASSERT_NE(openEditor<PbSpinBoxEditWidget2>(), nullptr);
    EXPECT_EQ(delegateOf(browser)->editedItem(), row("a"));

    // A property deleted while its editor is open takes its row along.
    QPointer<PbSpinBoxEditWidget2> ed2 = openEditor<PbSpinBoxEditWidget2>();
    delete tree.a;
    tree.a = nullptr;
    EXPECT_EQ(delegateOf(browser)->editedItem(), nullptr);
    EXPECT_TRUE(waitFor([&] { return ed2.isNull(); }));
}

TEST_F(TreeEditing, CloseEditorAndEditItemFromTheBrowser)
{
    browser.editItem(itemOf(browser, tree.e));
    QPointer<QComboBox> combo = openEditor<QComboBox>();
    ASSERT_FALSE(combo.isNull());
    EXPECT_EQ(combo->currentIndex(), 1);
    browser.closeEditor(tree.i); // not the open one: nothing happens
    QApplication::processEvents();
    EXPECT_FALSE(combo.isNull());
    browser.closeEditor(tree.e);
    EXPECT_TRUE(waitFor([&] { return combo.isNull(); }));
    EXPECT_EQ(delegateOf(browser)->editedItem(), nullptr);
}

TEST_F(TreeEditing, BrowserDestroyedWithAnOpenEditorAndCurrentRowEndsCleanly)
{
    auto *second = new PbTreePropertyBrowser;
    tree.bind(*second);
    second->resize(500, 300);
    ASSERT_TRUE(showActive(second));
    second->setCurrentItem(itemOf(*second, tree.i));
    second->editItem(itemOf(*second, tree.i));
    ASSERT_NE(second->findChild<PbSpinBoxEditWidget2 *>(), nullptr);
    log.clear();
    delete second;
    EXPECT_EQ(log.entries(), QStringList({"editorDestroyed i"}));
    tree.ints.setValue(tree.i, 77);
    EXPECT_EQ(row("i")->text(1), "77") << "the first browser goes on";
}

} // namespace
