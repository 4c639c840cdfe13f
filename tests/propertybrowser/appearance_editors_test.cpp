// Colour, font and cursor editors and their factories, with the dialogs
// replaced by stand-ins: what a choice commits, what a cancel leaves alone,
// and the cursor factory's hidden choice properties.
#include "propertybrowser/pbcoloreditorfactory.h"
#include "propertybrowser/pbcoloreditwidget.h"
#include "propertybrowser/pbcursoreditorfactory.h"
#include "propertybrowser/pbeditordialogs_p.h"
#include "propertybrowser/pbenumpropertymanager.h"
#include "propertybrowser/pbfonteditorfactory.h"
#include "propertybrowser/pbfonteditwidget.h"
#include "pbtest_support.h"

#include <QComboBox>
#include <QPointer>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class DialogEditors : public ::testing::Test
{
protected:
    SignalLog log;
    QWidget parent;
    int dialogRuns = 0;
    bool accept = true;
    QRgb chosenRgba = 0;
    QFont chosenFont;

    void SetUp() override
    {
        PbEditorDialogs::setColorChooser([this](QRgb, bool *ok, QWidget *) {
            ++dialogRuns;
            *ok = accept;
            return chosenRgba;
        });
        PbEditorDialogs::setFontChooser([this](bool *ok, const QFont &, QWidget *, const QString &title) {
            ++dialogRuns;
            EXPECT_EQ(title, "Select Font");
            *ok = accept;
            return chosenFont;
        });
    }
    void TearDown() override
    {
        PbEditorDialogs::setColorChooser(nullptr);
        PbEditorDialogs::setFontChooser(nullptr);
    }

    static void clickButton(QWidget *editor)
    {
        QTest::mouseClick(editor->findChild<QToolButton *>(), Qt::LeftButton);
    }
};

TEST_F(DialogEditors, ColourDialogCommitsOnlyAConfirmedDifferentColour)
{
    PbColorEditWidget editor;
    log.watch(&editor, "e");
    editor.setValue(QColor(1, 2, 3, 4));
    EXPECT_EQ(editor.findChild<QToolButton *>()->text(), "...");
    EXPECT_EQ(editor.focusProxy(), editor.findChild<QToolButton *>());
    chosenRgba = qRgba(9, 9, 9, 9);
    accept = false;
    clickButton(&editor);
    accept = true;
    chosenRgba = qRgba(1, 2, 3, 4);
    clickButton(&editor);
    EXPECT_EQ(dialogRuns, 2);
    EXPECT_TRUE(log.take().isEmpty()) << "cancelled, or the same colour: nothing";
    chosenRgba = qRgba(200, 100, 50, 25);
    clickButton(&editor);
    EXPECT_EQ(log.take(), QStringList({"e.valueChanged(QColor)"}));
    EXPECT_EQ(editor.value(), QColor(200, 100, 50, 25));
    editor.setValue(QColor(Qt::red));
    EXPECT_TRUE(log.take().isEmpty()) << "setValue emits nothing";
}

TEST_F(DialogEditors, FontDialogTakesOverOnlyTheSixShownAttributes)
{
    PbFontEditWidget editor;
    log.watch(&editor, "e");
    QFont stored("Sans");
    stored.setPointSize(11);
    stored.setKerning(false);
    stored.setCapitalization(QFont::SmallCaps);
    editor.setValue(stored);

    chosenFont = stored;
    chosenFont.setBold(true);
    chosenFont.setKerning(true);
    chosenFont.setCapitalization(QFont::AllUppercase);
    clickButton(&editor);
    EXPECT_EQ(log.take(), QStringList({"e.valueChanged(QFont)"}));
    QFont expected = stored;
    expected.setBold(true);
    EXPECT_EQ(editor.value(), expected) << "bold replaced, kerning and capitalisation kept";

    // Different only outside the six: the stored font stays and is announced.
    chosenFont = expected;
    chosenFont.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    clickButton(&editor);
    EXPECT_EQ(log.take(), QStringList({"e.valueChanged(QFont)"}));
    EXPECT_EQ(editor.value(), expected);

    accept = false;
    chosenFont.setItalic(true);
    clickButton(&editor);
    EXPECT_TRUE(log.take().isEmpty());
}

TEST_F(DialogEditors, FactoriesCommitTheChoiceAndAnnounceItOnce)
{
    PbColorPropertyManager colors;
    PbFontPropertyManager fonts;
    PbColorEditorFactory colorFactory;
    PbFontEditorFactory fontFactory;
    PbProperty *c = colors.addProperty("c");
    PbProperty *f = fonts.addProperty("f");
    // The log listens before the factories do, as the main window would.
    log.watch(&colors, "c");
    log.watch(&fonts, "f");
    colorFactory.addPropertyManager(&colors);
    fontFactory.addPropertyManager(&fonts);

    QPointer<QWidget> colorEditor = colorFactory.createEditor(c, &parent);
    QPointer<QWidget> fontEditor = fontFactory.createEditor(f, &parent);
    ASSERT_TRUE(colorEditor && fontEditor);
    EXPECT_EQ(log.take(), QStringList({"c.editorCreated(c)", "f.editorCreated(f)"}));
    chosenRgba = qRgba(0, 128, 255, 255);
    clickButton(colorEditor);
    EXPECT_EQ(log.take(), QStringList({"c.propertyChanged(c)", "c.valueChanged(c,QColor)",
                                       "c.valueUpdated(c,QColor)"}));
    EXPECT_EQ(colors.value(c), QColor(0, 128, 255));

    chosenFont = fonts.value(f);
    chosenFont.setItalic(true);
    clickButton(fontEditor);
    EXPECT_EQ(log.take(), QStringList({"f.propertyChanged(f)", "f.valueChanged(f,QFont)",
                                       "f.valueUpdated(f,QFont)"}));
    EXPECT_TRUE(fonts.value(f).italic());

    // A manager change shows in the editor without a commit of its own.
    colors.setValue(c, QColor(Qt::yellow));
    EXPECT_EQ(static_cast<PbColorEditWidget *>(colorEditor.data())->value(), QColor(Qt::yellow));
    EXPECT_EQ(log.count("c.valueUpdated"), 1);
    log.clear();
    delete colorEditor;
    EXPECT_EQ(log.take(), QStringList({"c.editorDestroyed(c)"}));
}

class CursorEditors : public ::testing::Test
{
protected:
    SignalLog log;
    QWidget parent;
    PbCursorPropertyManager cursors;
    PbCursorEditorFactory factory;
    PbProperty *p = nullptr;

    void SetUp() override
    {
        log.watch(&cursors, "m");
        factory.addPropertyManager(&cursors);
        p = cursors.addProperty("p");
        parent.resize(200, 100);
    }
    PbEnumPropertyManager *hidden() { return factory.findChild<PbEnumPropertyManager *>(); }
    QComboBox *open()
    {
        auto *combo = qobject_cast<QComboBox *>(factory.createEditor(p, &parent));
        EXPECT_NE(combo, nullptr);
        return combo;
    }
};

TEST_F(CursorEditors, AChoiceCommitsOnceAndTheComboFollowsTheCursor)
{
    cursors.setValue(p, QCursor(Qt::CrossCursor));
    log.clear();
    QComboBox *combo = open();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 19);
    EXPECT_EQ(combo->currentIndex(), 2);
    EXPECT_FALSE(combo->itemIcon(0).isNull());
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(cursors.value(p).shape(), Qt::WaitCursor);
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,QCursor)",
                                       "m.valueUpdated(p,QCursor)"}));

    cursors.setValue(p, QCursor(Qt::BusyCursor));
    EXPECT_EQ(combo->currentIndex(), 18);
    EXPECT_EQ(log.count("m.valueUpdated"), 1);
    EXPECT_EQ(hidden()->properties().size(), 1);
}

TEST_F(CursorEditors, TheLastComboTakesItsHiddenPropertyAlong)
{
    QPointer<QComboBox> first = open();
    QPointer<QComboBox> second = open();
    EXPECT_EQ(hidden()->properties().size(), 1) << "one hidden property per cursor property";
    delete first;
    EXPECT_EQ(hidden()->properties().size(), 1);
    cursors.setValue(p, QCursor(Qt::OpenHandCursor));
    delete second;
    EXPECT_TRUE(hidden()->properties().isEmpty());
    QComboBox *third = open();
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->currentIndex(), 15) << "a new hidden property starts from the stored cursor";
}

TEST_F(CursorEditors, ADeletedCursorPropertyDropsItsHiddenPropertyAndLateChoicesDoNothing)
{
    QPointer<QComboBox> combo = open();
    ASSERT_FALSE(combo.isNull());
    delete p;
    EXPECT_TRUE(hidden()->properties().isEmpty());
    log.clear();
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_TRUE(log.entries().isEmpty());
    // A new property (possibly at the old address) starts clean.
    p = cursors.addProperty("p2");
    cursors.setValue(p, QCursor(Qt::IBeamCursor));
    QComboBox *fresh = open();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->currentIndex(), 4);
    delete combo;
    EXPECT_EQ(hidden()->properties().size(), 1) << "the orphaned combo box takes nothing with it";
}

} // namespace
