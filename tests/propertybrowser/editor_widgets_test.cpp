// Editor widgets driven by keys and clicks: commit only on Enter/Return, the
// keyboard reaching the input field, keys passing the button, check-box texts.
#include "propertybrowser/pbbooledit.h"
#include "propertybrowser/pbdoublespinbox2.h"
#include "propertybrowser/pblineeditwidget2.h"
#include "propertybrowser/pbspinboxeditwidget2.h"
#include "tree_test_support.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

using namespace treetest;

namespace {

// A parent that records the keys that travel up to it.
class KeySink : public QWidget
{
public:
    QList<int> keys;

protected:
    void keyPressEvent(QKeyEvent *e) override { keys << e->key(); }
};

class EditorWidgets : public ::testing::Test
{
protected:
    KeySink window;
    QVBoxLayout *layout = new QVBoxLayout(&window);

    template <class W> W *place(W *w)
    {
        layout->addWidget(w);
        return w;
    }
};

TEST_F(EditorWidgets, IntegerEditorTakesTypedDigitsWithButtonHiddenOrShown)
{
    for (bool btnVisible : {false, true}) {
        auto *ed = place(new PbSpinBoxEditWidget2);
        ed->setRange(-100, 100);
        ed->setBtnVisible(btnVisible);
        ASSERT_TRUE(showActive(&window));
        ed->setFocus();
        QSignalSpy committed(ed, SIGNAL(valueChanged(int)));
        ASSERT_TRUE(ed->findChild<QSpinBox *>()->hasFocus());
        QTest::keyClick(ed->findChild<QSpinBox *>(), Qt::Key_A, Qt::ControlModifier);
        typeKeys(QStringLiteral("42"));
        EXPECT_EQ(committed.count(), 0) << "typing alone commits nothing";
        pressKey(Qt::Key_Return);
        ASSERT_EQ(committed.count(), 1);
        EXPECT_EQ(committed.at(0).at(0).toInt(), 42);
        EXPECT_EQ(ed->value(), 42);
        EXPECT_TRUE(window.keys.isEmpty()) << "Enter is taken by the editor";
        delete ed;
    }
}

TEST_F(EditorWidgets, ButtonLetsEnterAndEscapeThroughAndClickEmitsOnlyItsSignal)
{
    auto *ed = place(new PbSpinBoxEditWidget2);
    ed->setBtnVisible(true);
    ed->setBtnCaption(QStringLiteral("Go"));
    auto *btn = ed->findChild<QToolButton *>();
    ASSERT_TRUE(showActive(&window));
    EXPECT_EQ(btn->text(), QStringLiteral("Go"));
    ed->setValue(7);
    QSignalSpy committed(ed, SIGNAL(valueChanged(int)));
    QSignalSpy script(ed, SIGNAL(scriptCalled()));
    QTest::keyClick(btn, Qt::Key_Return);
    ASSERT_EQ(committed.count(), 1) << "Enter on the button commits the field";
    EXPECT_EQ(committed.at(0).at(0).toInt(), 7);
    EXPECT_EQ(script.count(), 0);
    // Escape passes the button and the editor is not its end either: keys
    // other than Enter/Return are swallowed by the editor widget.
    QTest::keyClick(btn, Qt::Key_Escape);
    EXPECT_EQ(committed.count(), 1);
    QTest::mouseClick(btn, Qt::LeftButton);
    EXPECT_EQ(script.count(), 1);
    EXPECT_EQ(committed.count(), 1) << "a button press commits nothing";

    auto *led = place(new PbLineEditWidget2);
    led->setBtnVisible(true);
    QSignalSpy btnClicked(led, SIGNAL(btnClicked()));
    QSignalSpy textCommitted(led, SIGNAL(valueChanged()));
    QTest::mouseClick(led->findChild<QToolButton *>(), Qt::LeftButton);
    EXPECT_EQ(btnClicked.count(), 1);
    EXPECT_EQ(textCommitted.count(), 0);
    EXPECT_EQ(led->findChild<QToolButton *>()->text(), QStringLiteral("Редактировать"));
    EXPECT_EQ(ed->findChild<QToolButton *>()->text(), QStringLiteral("Go"));
}

TEST_F(EditorWidgets, ButtonNeverSeesEscapeAndEditorKeepsOtherKeys)
{
    auto *led = place(new PbLineEditWidget2);
    led->setBtnVisible(true);
    auto *btn = led->findChild<QToolButton *>();
    ASSERT_TRUE(showActive(&window));
    // The editor swallows Escape itself, like every key but Enter/Return;
    // what matters is that the button never sees it.
    QSignalSpy clicked(btn, SIGNAL(clicked()));
    QTest::keyClick(btn, Qt::Key_Escape);
    QTest::keyClick(btn, Qt::Key_Space);
    EXPECT_EQ(clicked.count(), 1) << "Space still presses the button";
    QTest::keyClick(led->findChild<QLineEdit *>(), Qt::Key_Up);
    EXPECT_TRUE(window.keys.isEmpty());
}

TEST_F(EditorWidgets, ValidatorMaskEchoAndReadOnlyReachTheField)
{
    auto *led = place(new PbLineEditWidget2);
    auto *field = led->findChild<QLineEdit *>();
    led->setEchoMode(QLineEdit::Password);
    led->setReadOnly(true);
    led->setInputMask(QStringLiteral("999"));
    EXPECT_EQ(field->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(field->isReadOnly());
    EXPECT_EQ(led->inputMask(), field->inputMask());
    EXPECT_EQ(led->echoMode(), int(QLineEdit::Password));
    EXPECT_TRUE(led->isReadOnly());
}

TEST_F(EditorWidgets, DoubleEditorStepsWithoutCommitAndCommitsTypedTextOnEnter)
{
    auto *ed = place(new PbDoubleSpinBox2);
    ed->setLocale(QLocale::c());
    ed->setKeyboardTracking(false);
    ed->setRange(-10, 10);
    ed->setDecimals(2);
    ASSERT_TRUE(showActive(&window));
    ed->setFocus();
    QSignalSpy enter(ed, SIGNAL(enterPressed()));
    pressKey(Qt::Key_Up);
    pressKey(Qt::Key_Up);
    EXPECT_DOUBLE_EQ(ed->value(), 2.0);
    EXPECT_EQ(enter.count(), 0);
    ed->selectAll();
    typeKeys(QStringLiteral("3.25"));
    double seen = 0;
    QObject::connect(ed, &PbDoubleSpinBox2::enterPressed, [&] { seen = ed->value(); });
    pressKey(Qt::Key_Return);
    EXPECT_EQ(enter.count(), 1);
    EXPECT_DOUBLE_EQ(seen, 3.25) << "the typed text is taken over before the signal";
}

TEST_F(EditorWidgets, BoolEditTogglesOnLeftClickBesideTheBoxAndKeepsItsText)
{
    auto *ed = place(new PbBoolEdit);
    ed->setMinimumWidth(300);
    ASSERT_TRUE(showActive(&window));
    auto *box = ed->findChild<QCheckBox *>();
    EXPECT_EQ(box->text(), QStringLiteral("True"));
    QSignalSpy toggled(ed, SIGNAL(toggled(bool)));
    QTest::mouseClick(ed, Qt::LeftButton, {}, QPoint(ed->width() - 3, ed->height() / 2));
    ASSERT_EQ(toggled.count(), 1);
    EXPECT_TRUE(toggled.at(0).at(0).toBool());
    QTest::mouseClick(ed, Qt::RightButton, {}, QPoint(ed->width() - 3, ed->height() / 2));
    EXPECT_EQ(toggled.count(), 1) << "only the left button toggles";

    ed->setChecked(false);
    EXPECT_EQ(box->text(), QStringLiteral("False"));
    ed->setTextVisible(false);
    EXPECT_TRUE(box->text().isEmpty());
    ed->setChecked(true);
    EXPECT_TRUE(box->text().isEmpty());
    ed->setTextVisible(true);
    EXPECT_EQ(box->text(), QStringLiteral("True"));
    ed->setCheckState(Qt::Unchecked);
    EXPECT_EQ(box->text(), QStringLiteral("True")) << "setCheckState leaves the text";

    const int before = toggled.count();
    EXPECT_FALSE(ed->setCheckBoxSignalsBlocked(true));
    ed->setChecked(true);
    EXPECT_TRUE(ed->setCheckBoxSignalsBlocked(false));
    EXPECT_EQ(toggled.count(), before);
}

} // namespace
