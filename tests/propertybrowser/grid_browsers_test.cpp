// The button and group-box browsers: grid rows, buttons and panels, group
// boxes, expanding and collapsing by mouse, the deferred return of a plain
// row, rows freed while queued, and a screenshot of each browser.
#include "propertybrowser/pbbrowseritem.h"
#include "propertybrowser/pbbuttonpropertybrowser.h"
#include "propertybrowser/pbcolorpropertymanager.h"
#include "propertybrowser/pbcoloreditorfactory.h"
#include "propertybrowser/pbenumeditorfactory.h"
#include "propertybrowser/pbenumpropertymanager.h"
#include "propertybrowser/pbgrouppropertymanager.h"
#include "propertybrowser/pbgroupboxpropertybrowser.h"
#include "propertybrowser/pbintpropertymanager.h"
#include "propertybrowser/pbspinboxfactory.h"
#include "propertybrowser/pbstringpropertymanager.h"
#include "pbtest_support.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

namespace {

struct Cell {
    int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
    bool operator==(const Cell &o) const
    {
        return row == o.row && column == o.column && rowSpan == o.rowSpan && columnSpan == o.columnSpan;
    }
};

std::ostream &operator<<(std::ostream &os, const Cell &c)
{
    return os << '(' << c.row << ',' << c.column << ' ' << c.rowSpan << 'x' << c.columnSpan << ')';
}

// Where `widget` sits in the grid of its parent widget; row -1 when nowhere.
Cell cellOf(const QWidget *widget)
{
    Cell c;
    auto *grid = widget && widget->parentWidget() ? qobject_cast<QGridLayout *>(widget->parentWidget()->layout())
                                                  : nullptr;
    const int index = grid ? grid->indexOf(const_cast<QWidget *>(widget)) : -1;
    if (index >= 0)
        grid->getItemPosition(index, &c.row, &c.column, &c.rowSpan, &c.columnSpan);
    return c;
}

template <class W>
W *named(const QWidget *in, const QString &text)
{
    for (W *w : in->findChildren<W *>()) {
        if (w->text() == text)
            return w;
    }
    return nullptr;
}

// Properties of several kinds with the factories that edit some of them:
// integers get spin boxes, colours their editor, texts only a value label.
template <class Browser>
struct Fixture : ::testing::Test {
    SignalLog log;
    PbGroupPropertyManager groups;
    PbIntPropertyManager ints;
    PbStringPropertyManager strings;
    PbColorPropertyManager colors;
    PbEnumPropertyManager enums;
    QWidget factoryParent;
    PbSpinBoxFactory spinFactory{&factoryParent};
    PbColorEditorFactory colorFactory{&factoryParent};
    PbEnumEditorFactory enumFactory{&factoryParent};
    Browser browser;

    void SetUp() override
    {
        browser.setFactoryForManager(&ints, &spinFactory);
        browser.setFactoryForManager(&colors, &colorFactory);
        browser.setFactoryForManager(colors.subIntPropertyManager(), &spinFactory);
        browser.setFactoryForManager(&enums, &enumFactory);
        browser.resize(360, 420);
    }

    PbProperty *intProperty(const QString &name, int value)
    {
        PbProperty *p = ints.addProperty(name);
        ints.setValue(p, value);
        return p;
    }
    PbProperty *text(const QString &name, const QString &value)
    {
        PbProperty *p = strings.addProperty(name);
        strings.setValue(p, value);
        return p;
    }
    /// "n", an integer with an editor, shown with one child that is then
    /// replaced by "second" before the event loop turns (as a manager that
    /// rebuilds its rows does); `before` runs ahead of the replacement.
    PbProperty *replaceOnlyChild(const std::function<void(PbProperty *)> &before = {})
    {
        PbProperty *n = intProperty("n", 5);
        PbProperty *first = text("first", "1");
        n->addSubProperty(first);
        browser.addProperty(n);
        browser.show();
        if (before)
            before(n);
        n->removeSubProperty(first);
        n->addSubProperty(text("second", "2"));
        QCoreApplication::processEvents();
        return n;
    }
    QLabel *label(const QString &text) { return named<QLabel>(&browser, text); }
    QToolButton *button(const QString &text) { return named<QToolButton>(&browser, text); }
    PbBrowserItem *item(PbProperty *p) { return browser.items(p).value(0); }

    /// The browser as a PNG beside the test binary (its build folder); checks the file.
    void screenshot(const QString &file)
    {
        browser.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&browser));
        QCoreApplication::processEvents();
        const QPixmap shot = browser.grab();
        const QString path = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(file);
        ASSERT_TRUE(shot.save(path, "PNG")) << path.toStdString();
        const QImage back(path);
        EXPECT_GT(QFileInfo(path).size(), 0);
        EXPECT_EQ(back.size(), browser.size() * shot.devicePixelRatio());
    }
};

using ButtonBrowser = Fixture<PbButtonPropertyBrowser>;
using GroupBoxBrowser = Fixture<PbGroupBoxPropertyBrowser>;

TEST_F(ButtonBrowser, RowsButtonsAndPanelsExpandAndCollapseByMouse)
{
    PbProperty *n = intProperty("n", 5);
    PbProperty *s = text("s", "hello");
    PbProperty *g = groups.addProperty("g");
    PbProperty *a = intProperty("a", 1);
    PbProperty *b = text("b", "bee");
    g->addSubProperty(a);
    g->addSubProperty(b);
    for (PbProperty *p : {n, s, g})
        browser.addProperty(p);
    PbProperty *tail = text("tail", "end");
    browser.addProperty(tail);
    log.watch(&browser, "b");
    browser.show();

    EXPECT_EQ(cellOf(label("n")), (Cell{0, 0, 1, 1}));
    auto *nEditor = browser.findChildren<QSpinBox *>().value(0);
    ASSERT_NE(nEditor, nullptr);
    EXPECT_EQ(cellOf(nEditor), (Cell{0, 1, 1, 1}));
    EXPECT_EQ(cellOf(label("hello")), (Cell{1, 1, 1, 1})) << "a value without editor shows as a label";
    EXPECT_EQ(label("hello")->toolTip(), "hello");
    EXPECT_EQ(label("g"), nullptr) << "a property with children shows a button instead";
    QToolButton *gButton = button("g");
    ASSERT_NE(gButton, nullptr);
    EXPECT_EQ(cellOf(gButton), (Cell{2, 0, 1, 2})) << "no value: the button spans both columns";
    EXPECT_TRUE(gButton->isCheckable());
    EXPECT_EQ(gButton->arrowType(), Qt::DownArrow);
    EXPECT_EQ(cellOf(label("tail")), (Cell{3, 0, 1, 1}));
    QWidget *panel = label("a")->parentWidget();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(cellOf(label("a")), (Cell{0, 0, 1, 1}));
    EXPECT_EQ(cellOf(label("b")), (Cell{1, 0, 1, 1}));
    EXPECT_FALSE(browser.isExpanded(item(g)));

    QTest::mouseClick(gButton, Qt::LeftButton);
    EXPECT_EQ(log.take(), QStringList({"b.expanded(item:g)"}));
    EXPECT_TRUE(browser.isExpanded(item(g)));
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(cellOf(panel), (Cell{3, 0, 1, 2}));
    EXPECT_EQ(cellOf(label("tail")), (Cell{4, 0, 1, 1}));
    EXPECT_EQ(gButton->arrowType(), Qt::UpArrow);

    QTest::mouseClick(gButton, Qt::LeftButton);
    EXPECT_EQ(log.take(), QStringList({"b.collapsed(item:g)"}));
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(cellOf(label("tail")), (Cell{3, 0, 1, 1}));

    browser.setExpanded(item(n), true);
    EXPECT_FALSE(browser.isExpanded(item(n))) << "nothing to expand without sub-properties";
    EXPECT_TRUE(log.take().isEmpty());

    // A removed expanded group gives back both of its rows.
    browser.setExpanded(item(g), true);
    EXPECT_EQ(log.take(), QStringList({"b.expanded(item:g)"}));
    browser.removeProperty(g);
    EXPECT_EQ(cellOf(label("tail")), (Cell{2, 0, 1, 1}));
}

TEST_F(ButtonBrowser, FirstChildMakesAButtonAndLosingTheLastBringsTheLabelBack)
{
    PbProperty *n = intProperty("n", 5);
    browser.addProperty(n);
    PbProperty *child = text("child", "c");
    n->addSubProperty(child);
    EXPECT_EQ(label("n"), nullptr);
    ASSERT_NE(button("n"), nullptr);
    EXPECT_EQ(cellOf(button("n")), (Cell{0, 0, 1, 1})) << "the editor keeps column 1";
    EXPECT_FALSE(browser.isExpanded(item(n)));

    browser.setExpanded(item(n), true);
    n->removeSubProperty(child);
    EXPECT_EQ(button("n"), nullptr);
    EXPECT_EQ(label("n"), nullptr) << "the label comes back on the next event-loop turn";
    QCoreApplication::processEvents();
    ASSERT_NE(label("n"), nullptr);
    EXPECT_EQ(cellOf(label("n")), (Cell{0, 0, 1, 1}));
    EXPECT_FALSE(browser.isExpanded(item(n)));
}

template <class Browser>
void removeParentWhoseLastChildWentFirst(Fixture<Browser> &f)
{
    PbProperty *g = f.groups.addProperty("g");
    PbProperty *c = f.intProperty("c", 1);
    PbProperty *after = f.text("after", "x");
    g->addSubProperty(c);
    f.browser.addProperty(g);
    f.browser.addProperty(after);
    g->removeSubProperty(c);
    f.browser.removeProperty(g);
    QCoreApplication::processEvents();  // the queued refresh must find nothing freed
    EXPECT_EQ(f.label("g"), nullptr);
    EXPECT_EQ(cellOf(f.label("after")), (Cell{0, 0, 1, 1}));

    // A browser deleted with a refresh queued takes the refresh along.
    auto *doomed = new Browser;
    doomed->addProperty(g);
    g->addSubProperty(c);
    g->removeSubProperty(c);
    delete doomed;
    QCoreApplication::processEvents();
}

TEST_F(ButtonBrowser, RemovingAParentQueuedForItsLabelFreesNothingTwice)
{
    removeParentWhoseLastChildWentFirst(*this);
}

TEST_F(GroupBoxBrowser, RemovingAParentQueuedForItsRowFreesNothingTwice)
{
    removeParentWhoseLastChildWentFirst(*this);
}

TEST_F(ButtonBrowser, AnEditorDeletedFromOutsideIsForgotten)
{
    PbProperty *n = intProperty("n", 5);
    browser.addProperty(n);
    delete browser.findChild<QSpinBox *>();
    n->setToolTip("after");  // refreshes the row; the dead editor is not touched
    EXPECT_EQ(label("n")->toolTip(), "after");
    browser.removeProperty(n);
}

TEST_F(GroupBoxBrowser, GroupBoxHoldsEditorLineAndChildrenAndTheEditorSurvivesItsBox)
{
    PbProperty *n = intProperty("n", 5);
    PbProperty *child = text("child", "c");
    browser.addProperty(n);
    QPointer<QSpinBox> editor = browser.findChild<QSpinBox *>();
    ASSERT_FALSE(editor.isNull());
    n->addSubProperty(child);
    auto *box = browser.findChild<QGroupBox *>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->title(), "n");
    EXPECT_EQ(label("n"), nullptr);
    EXPECT_EQ(cellOf(box), (Cell{0, 0, 1, 2}));
    EXPECT_EQ(editor->parentWidget(), box);
    EXPECT_EQ(cellOf(editor), (Cell{0, 0, 1, 2}));
    auto *line = box->findChild<QFrame *>(QString(), Qt::FindDirectChildrenOnly);
    QFrame *separator = nullptr;
    for (QFrame *f : box->findChildren<QFrame *>(QString(), Qt::FindDirectChildrenOnly))
        separator = f->frameShape() == QFrame::HLine ? f : separator;
    ASSERT_NE(line, nullptr);
    ASSERT_NE(separator, nullptr);
    EXPECT_EQ(separator->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(cellOf(separator), (Cell{1, 0, 1, 2}));
    EXPECT_EQ(cellOf(label("child")), (Cell{2, 0, 1, 1}));
    EXPECT_EQ(cellOf(label("c")), (Cell{2, 1, 1, 1}));

    n->setModified(true);
    EXPECT_TRUE(box->font().underline());

    n->removeSubProperty(child);
    EXPECT_TRUE(browser.findChildren<QGroupBox *>().isEmpty());
    ASSERT_FALSE(editor.isNull()) << "the editor is taken out of its group box before the box goes";
    QCoreApplication::processEvents();
    ASSERT_NE(label("n"), nullptr);
    EXPECT_EQ(cellOf(label("n")), (Cell{0, 0, 1, 1}));
    EXPECT_EQ(editor->parentWidget(), &browser);
    EXPECT_EQ(cellOf(editor), (Cell{0, 1, 1, 1}));
    EXPECT_FALSE(editor->isHidden());
}

TEST_F(GroupBoxBrowser, NestedGroupsWithoutEditorsAndAScreenshot)
{
    PbProperty *top = groups.addProperty("Подключение");
    PbProperty *color = colors.addProperty("Цвет");
    colors.setValue(color, QColor(30, 144, 255));
    PbProperty *mode = enums.addProperty("Режим");
    enums.setEnumNames(mode, {"Авто", "Ручной"});
    top->addSubProperty(intProperty("Узел", 31));
    top->addSubProperty(text("Порт", "COM3"));
    top->addSubProperty(mode);
    browser.addProperty(top);
    browser.addProperty(color);
    browser.addProperty(text("Имя", "CANopen device"));
    const QList<QGroupBox *> boxes = browser.findChildren<QGroupBox *>();
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_EQ(cellOf(boxes.at(0)), (Cell{0, 0, 1, 2}));
    EXPECT_EQ(cellOf(label("Узел")), (Cell{0, 0, 1, 1})) << "no editor: no header rows in the box";
    EXPECT_EQ(cellOf(label("Имя")), (Cell{2, 0, 1, 1}));
    screenshot("groupbox_browser.png");
}

TEST_F(ButtonBrowser, Screenshot)
{
    PbProperty *top = groups.addProperty("Подключение");
    top->addSubProperty(intProperty("Узел", 31));
    top->addSubProperty(text("Порт", "COM3"));
    PbProperty *color = colors.addProperty("Цвет");
    colors.setValue(color, QColor(30, 144, 255, 128));
    browser.addProperty(top);
    browser.addProperty(color);
    browser.addProperty(text("Имя", "CANopen device"));
    browser.setExpanded(item(top), true);
    screenshot("button_browser.png");
}

} // namespace

// A property's last child replaced at once: the group box's editor stays shown.
TEST_F(GroupBoxBrowser, ALastChildReplacedAtOnceKeepsTheEditorShown)
{
    QPointer<QSpinBox> editor;
    replaceOnlyChild([&](PbProperty *) { editor = browser.findChild<QSpinBox *>(); });
    ASSERT_FALSE(editor.isNull());
    auto *box = browser.findChild<QGroupBox *>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(editor->parentWidget(), box);
    EXPECT_EQ(cellOf(editor), (Cell{0, 0, 1, 2}));
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(cellOf(label("second")), (Cell{2, 0, 1, 1}));
    EXPECT_EQ(label("n"), nullptr);
}

TEST_F(ButtonBrowser, ALastChildReplacedAtOnceKeepsOneButton)
{
    PbProperty *n = replaceOnlyChild([&](PbProperty *p) { browser.setExpanded(item(p), true); });
    ASSERT_NE(button("n"), nullptr);
    EXPECT_EQ(browser.findChildren<QToolButton *>().size(), 1);
    EXPECT_EQ(label("n"), nullptr);
    EXPECT_EQ(cellOf(button("n")), (Cell{0, 0, 1, 1}));
    EXPECT_FALSE(browser.isExpanded(item(n)));
    browser.setExpanded(item(n), true);
    EXPECT_TRUE(label("second")->isVisible());
}
