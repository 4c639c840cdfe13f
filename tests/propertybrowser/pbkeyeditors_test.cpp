// The character and key-sequence editors with real keys and their context
// menu, and the text and time editor factories: what a pushed value and a
// commit emit, and the line edit's commit on Enter.
#include "propertybrowser/pbcharedit.h"
#include "propertybrowser/pbchareditorfactory.h"
#include "propertybrowser/pbdateeditfactory.h"
#include "propertybrowser/pbdatetimeeditfactory.h"
#include "propertybrowser/pbkeysequenceedit.h"
#include "propertybrowser/pbkeysequenceeditorfactory.h"
#include "propertybrowser/pblineeditfactory.h"
#include "propertybrowser/pbtimeeditfactory.h"
#include "pbtest_support.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// A shown, focused editor of type W.
template <class W>
struct Shown {
    W editor;
    Shown()
    {
        editor.show();
        QApplication::setActiveWindow(&editor);
        editor.setFocus();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&editor));
    }
};

QKeySequence pressed(PbKeySequenceEdit &e, Qt::Key key, Qt::KeyboardModifiers mods = {}, const QString &text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(&e, &press);
    return e.keySequence();
}

// Opens the field's context menu and hands the clear entry (the first
// action) to `check` while the menu runs; the menu is closed afterwards.
template <class Check>
void withClearEntry(QWidget *editor, Check check)
{
    QLineEdit *field = editor->findChild<QLineEdit *>();
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        seen = true;
        const QList<QAction *> actions = menu->actions();
        ASSERT_GE(actions.size(), 2);
        EXPECT_TRUE(actions.at(1)->isSeparator());
        for (QAction *a : actions)
            EXPECT_FALSE(a->text().contains('\t')) << a->text().toStdString();
        check(actions.first());
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(1, 1), field->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(field, &event);
    EXPECT_TRUE(seen);
}

TEST(CharEdit, TakesOnePrintableNewCharacter)
{
    Shown<PbCharEdit> s;
    QSignalSpy changed(&s.editor, SIGNAL(valueChanged(QChar)));
    QTest::keyClick(&s.editor, Qt::Key_A, Qt::NoModifier);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(s.editor.value(), QChar('a'));
    EXPECT_EQ(s.editor.findChild<QLineEdit *>()->text(), "a");
    QTest::keyClick(&s.editor, Qt::Key_A, Qt::NoModifier); // the shown one
    QTest::keyClick(&s.editor, Qt::Key_Return);
    QKeyEvent twoChars(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, "ab");
    QApplication::sendEvent(&s.editor, &twoChars);
    QKeyEvent control(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, QString(QChar(2)));
    QApplication::sendEvent(&s.editor, &control);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(s.editor.value(), QChar('a'));

    s.editor.setValue(QChar('z')); // silent
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(s.editor.findChild<QLineEdit *>()->text(), "z");
}

TEST(CharEdit, ClearEntryEmitsTheNullCharacterOnce)
{
    Shown<PbCharEdit> s;
    QSignalSpy changed(&s.editor, SIGNAL(valueChanged(QChar)));
    withClearEntry(&s.editor, [](QAction *clear) { EXPECT_FALSE(clear->isEnabled()); });
    s.editor.setValue(QChar('q'));
    withClearEntry(&s.editor, [](QAction *clear) {
        EXPECT_EQ(clear->text(), "Clear Char");
        EXPECT_TRUE(clear->isEnabled());
        clear->trigger();
    });
    ASSERT_EQ(changed.count(), 1);
    EXPECT_TRUE(changed.at(0).at(0).toChar().isNull());
    EXPECT_TRUE(s.editor.findChild<QLineEdit *>()->text().isEmpty());
}

TEST(KeySequenceEdit, FifthPressStartsOverAndFocusOutRestarts)
{
    PbKeySequenceEdit e;
    QSignalSpy changed(&e, SIGNAL(keySequenceChanged(QKeySequence)));
    for (Qt::Key k : {Qt::Key_A, Qt::Key_B, Qt::Key_C, Qt::Key_D})
        pressed(e, k);
    EXPECT_EQ(e.keySequence(), QKeySequence(Qt::Key_A, Qt::Key_B, Qt::Key_C, Qt::Key_D));
    EXPECT_EQ(pressed(e, Qt::Key_E), QKeySequence(Qt::Key_E));
    EXPECT_EQ(pressed(e, Qt::Key_F), QKeySequence(Qt::Key_E, Qt::Key_F));
    EXPECT_EQ(changed.count(), 6);
    EXPECT_EQ(changed.last().at(0).value<QKeySequence>(), e.keySequence());

    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(&e, &out);
    EXPECT_EQ(pressed(e, Qt::Key_G), QKeySequence(Qt::Key_G));
    // Modifier keys alone record nothing.
    for (Qt::Key k : {Qt::Key_Control, Qt::Key_Shift, Qt::Key_Alt, Qt::Key_Meta, Qt::Key_AltGr})
        pressed(e, k);
    EXPECT_EQ(changed.count(), 7);
    EXPECT_EQ(e.findChild<QLineEdit *>()->text(), "G");
}

TEST(KeySequenceEdit, ShiftIsKeptOnlyWhereItDidNotPickTheCharacter)
{
    PbKeySequenceEdit e;
    EXPECT_EQ(pressed(e, Qt::Key_1, Qt::ShiftModifier, "!"), QKeySequence(Qt::Key_1));
    e.setKeySequence(QKeySequence());
    EXPECT_EQ(pressed(e, Qt::Key_A, Qt::ShiftModifier, "A"), QKeySequence(Qt::SHIFT | Qt::Key_A));
    e.setKeySequence(QKeySequence());
    EXPECT_EQ(pressed(e, Qt::Key_F5, Qt::ShiftModifier | Qt::ControlModifier),
              QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_F5));
}

TEST(KeySequenceEdit, ClearEntryAndShortcutShield)
{
    Shown<PbKeySequenceEdit> s;
    QSignalSpy changed(&s.editor, SIGNAL(keySequenceChanged(QKeySequence)));
    withClearEntry(&s.editor, [](QAction *clear) { EXPECT_FALSE(clear->isEnabled()); });

    // An application shortcut does not fire while the editor has the keyboard:
    // the key is recorded instead.
    QAction shortcut(&s.editor);
    shortcut.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    shortcut.setShortcutContext(Qt::ApplicationShortcut);
    s.editor.addAction(&shortcut);
    QApplication::setActiveWindow(&s.editor);
    QSignalSpy fired(&shortcut, SIGNAL(triggered()));
    // Through the window, as the platform delivers keys, so that the
    // application's shortcut map is consulted.
    QTest::keyClick(s.editor.windowHandle(), Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(fired.count(), 0);
    EXPECT_EQ(s.editor.keySequence(), QKeySequence(Qt::CTRL | Qt::Key_K));
    changed.clear();

    withClearEntry(&s.editor, [](QAction *clear) {
        EXPECT_EQ(clear->text(), "Clear Shortcut");
        EXPECT_TRUE(clear->isEnabled());
        clear->trigger();
    });
    ASSERT_EQ(changed.count(), 1);
    EXPECT_TRUE(changed.at(0).at(0).value<QKeySequence>().isEmpty());
}

// The text and time factories: which pushed values are announced, and the
// commit of each editor. One property per manager, one editor each.
class TextTimeFactories : public ::testing::Test
{
protected:
    SignalLog log;
    QWidget parent;
    PbStringPropertyManager strings;
    PbDatePropertyManager dates;
    PbTimePropertyManager times;
    PbDateTimePropertyManager dateTimes;
    PbKeySequencePropertyManager keys;
    PbCharPropertyManager chars;
    PbLineEditFactory lineFactory;
    PbDateEditFactory dateFactory;
    PbTimeEditFactory timeFactory;
    PbDateTimeEditFactory dateTimeFactory;
    PbKeySequenceEditorFactory keyFactory;
    PbCharEditorFactory charFactory;
    PbProperty *s = strings.addProperty("s"), *d = dates.addProperty("d"), *t = times.addProperty("t"),
               *dt = dateTimes.addProperty("dt"), *k = keys.addProperty("k"), *c = chars.addProperty("c");

    void SetUp() override
    {
        lineFactory.addPropertyManager(&strings);
        dateFactory.addPropertyManager(&dates);
        timeFactory.addPropertyManager(&times);
        dateTimeFactory.addPropertyManager(&dateTimes);
        keyFactory.addPropertyManager(&keys);
        charFactory.addPropertyManager(&chars);
        for (PbAbstractEditorFactoryBase *f : std::initializer_list<PbAbstractEditorFactoryBase *>{
                 &lineFactory, &dateFactory, &timeFactory, &dateTimeFactory, &keyFactory, &charFactory})
            EXPECT_NE(f->createEditor(propertyOf(f), &parent), nullptr);
        for (QObject *m : std::initializer_list<QObject *>{&strings, &dates, &times, &dateTimes, &keys, &chars})
            log.watch(m, "");
    }

    PbProperty *propertyOf(PbAbstractEditorFactoryBase *f)
    {
        return f == &lineFactory ? s : f == &dateFactory ? d : f == &timeFactory ? t
             : f == &dateTimeFactory ? dt : f == &keyFactory ? k : c;
    }
};

TEST_F(TextTimeFactories, OnlyPushedTextsAndCharactersAreAnnounced)
{
    const QDate day(2020, 2, 29);
    strings.setValue(s, "x");
    dates.setValue(d, day);
    times.setValue(t, QTime(1, 2, 3));
    dateTimes.setValue(dt, QDateTime(day, QTime(4, 5)));
    keys.setValue(k, QKeySequence(Qt::Key_F1));
    chars.setValue(c, QChar('w'));
    QStringList updates;
    for (const QString &e : log.take())
        if (e.startsWith(".valueUpdated"))
            updates << e;
    EXPECT_EQ(updates, QStringList({".valueUpdated(s,\"x\")", ".valueUpdated(c,w)"}));
    EXPECT_EQ(parent.findChild<QLineEdit *>(QString(), Qt::FindDirectChildrenOnly)->text(), "x");
    EXPECT_EQ(parent.findChild<QDateEdit *>()->date(), day);
    EXPECT_EQ(parent.findChild<PbKeySequenceEdit *>()->keySequence(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(parent.findChild<PbCharEdit *>()->value(), QChar('w'));
}

TEST_F(TextTimeFactories, DateEditorFollowsTheRangeAndCommitsEveryDate)
{
    auto *editor = parent.findChild<QDateEdit *>();
    EXPECT_TRUE(editor->calendarPopup());
    dates.setRange(d, QDate(2001, 1, 1), QDate(2001, 12, 31));
    EXPECT_EQ(editor->minimumDate(), QDate(2001, 1, 1));
    EXPECT_EQ(editor->date(), dates.value(d));
    log.clear();
    editor->setDate(QDate(2001, 6, 1));
    EXPECT_EQ(dates.value(d), QDate(2001, 6, 1));
    EXPECT_EQ(log.count(".valueChanged(d"), 1);
    EXPECT_EQ(log.count(".valueUpdated"), 0);
}

TEST_F(TextTimeFactories, LineEditCommitsOnEnterOnlyItsOwnText)
{
    strings.setValue(s, "old");
    auto *first = parent.findChild<QLineEdit *>(QString(), Qt::FindDirectChildrenOnly);
    auto *second = qobject_cast<QLineEdit *>(lineFactory.createEditor(s, &parent));
    strings.setEchoMode(s, QLineEdit::Password);
    strings.setRegExp(s, QRegExp("[a-z]*"));
    EXPECT_EQ(first->echoMode(), QLineEdit::Password);
    EXPECT_NE(second->validator(), nullptr);
    log.clear();
    first->setText("typed");
    EXPECT_EQ(strings.value(s), "old") << "typing without Enter commits nothing";
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_EQ(strings.value(s), "typed");
    EXPECT_EQ(second->text(), "typed");
    EXPECT_EQ(log.count(".valueUpdated(s,\"typed\")"), 1);
    strings.setRegExp(s, QRegExp("("));
    EXPECT_EQ(second->validator(), nullptr);
}

TEST_F(TextTimeFactories, EditorsOfKeysAndCharactersCommitWhatIsTyped)
{
    auto *keyEditor = parent.findChild<PbKeySequenceEdit *>();
    auto *charEditor = parent.findChild<PbCharEdit *>();
    QTest::keyClick(keyEditor, Qt::Key_F2);
    QTest::keyClick(charEditor, Qt::Key_Q);
    EXPECT_EQ(keys.value(k), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(chars.value(c), QChar('q'));
    EXPECT_EQ(log.count(".valueUpdated(k"), 0);
    EXPECT_EQ(log.count(".valueUpdated(c"), 1);
}

} // namespace
