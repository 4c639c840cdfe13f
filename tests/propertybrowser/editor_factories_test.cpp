// Editor factories with real managers and real editors: what a commit emits
// and in which order, set-up that commits nothing, several editors of one
// property, silent enumeration changes, buttons, and editor bookkeeping.
#include "propertybrowser/pbcheckboxfactory.h"
#include "propertybrowser/pbdoublespinbox2.h"
#include "propertybrowser/pbdoublespinboxfactory.h"
#include "propertybrowser/pbenumeditorfactory.h"
#include "propertybrowser/pblineeditfactory2.h"
#include "propertybrowser/pblineeditwidget2.h"
#include "propertybrowser/pbbooledit.h"
#include "propertybrowser/pbproperty.h"
#include "propertybrowser/pbscrollbarfactory.h"
#include "propertybrowser/pbsliderfactory.h"
#include "propertybrowser/pbspinboxeditwidget2.h"
#include "propertybrowser/pbspinboxfactory.h"
#include "propertybrowser/pbspinboxfactory2.h"
#include "tree_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

using namespace treetest;

namespace {

class EditorFactories : public ::testing::Test
{
protected:
    SignalLog log;
    QWidget window;
    QVBoxLayout *layout = new QVBoxLayout(&window);
    PbIntPropertyManager intManager;
    PbDoublePropertyManager doubleManager;
    PbStringPropertyManager stringManager;
    PbBoolPropertyManager boolManager;
    PbEnumPropertyManager enumManager;

    void SetUp() override
    {
        watch(&intManager);
        watch(&doubleManager);
        watch(&stringManager);
        watch(&boolManager);
        watch(&enumManager);
        QObject::connect(&intManager, &PbIntPropertyManager::valueChanged, [this](PbProperty *p, int v) {
            log.append(QString("valueChanged %1 %2").arg(p->propertyName()).arg(v));
        });
        QObject::connect(&intManager, &PbIntPropertyManager::valueUpdated, [this](PbProperty *p, int v) {
            log.append(QString("valueUpdated %1 %2").arg(p->propertyName()).arg(v));
        });
        QObject::connect(&intManager, &PbIntPropertyManager::scriptCalled,
                         [this](PbProperty *p) { log.append("scriptCalled " + p->propertyName()); });
        QObject::connect(&doubleManager, &PbDoublePropertyManager::valueChanged, [this](PbProperty *p, double v) {
            log.append(QString("valueChanged %1 %2").arg(p->propertyName()).arg(v));
        });
        QObject::connect(&doubleManager, &PbDoublePropertyManager::valueUpdated, [this](PbProperty *p, double v) {
            log.append(QString("valueUpdated %1 %2").arg(p->propertyName()).arg(v));
        });
        QObject::connect(&stringManager, &PbStringPropertyManager::valueChanged,
                         [this](PbProperty *p, const QString &v) { log.append("valueChanged " + p->propertyName() + " " + v); });
        QObject::connect(&stringManager, &PbStringPropertyManager::valueUpdated,
                         [this](PbProperty *p, const QString &v) { log.append("valueUpdated " + p->propertyName() + " " + v); });
        QObject::connect(&stringManager, &PbStringPropertyManager::btnClicked,
                         [this](PbProperty *p) { log.append("btnClicked " + p->propertyName()); });
        QObject::connect(&boolManager, &PbBoolPropertyManager::valueChanged, [this](PbProperty *p, bool v) {
            log.append(QString("valueChanged %1 %2").arg(p->propertyName()).arg(v));
        });
        QObject::connect(&boolManager, &PbBoolPropertyManager::valueUpdated, [this](PbProperty *p, bool v) {
            log.append(QString("valueUpdated %1 %2").arg(p->propertyName()).arg(v));
        });
        QObject::connect(&enumManager, &PbEnumPropertyManager::valueChanged, [this](PbProperty *p, int v) {
            log.append(QString("valueChanged %1 %2").arg(p->propertyName()).arg(v));
        });
        QObject::connect(&enumManager, &PbEnumPropertyManager::valueChangedNoUpdate, [this](PbProperty *p, int v) {
            log.append(QString("valueChangedNoUpdate %1 %2").arg(p->propertyName()).arg(v));
        });
        QObject::connect(&enumManager, &PbEnumPropertyManager::valueUpdated, [this](PbProperty *p, int v) {
            log.append(QString("valueUpdated %1 %2").arg(p->propertyName()).arg(v));
        });
    }

    void watch(PbAbstractPropertyManager *m)
    {
        QObject::connect(m, &PbAbstractPropertyManager::propertyChanged,
                         [this](PbProperty *p) { log.append("propertyChanged " + p->propertyName()); });
        QObject::connect(m, &PbAbstractPropertyManager::editorCreated,
                         [this](PbProperty *p) { log.append("editorCreated " + p->propertyName()); });
        QObject::connect(m, &PbAbstractPropertyManager::editorDestroyed,
                         [this](PbProperty *p) { log.append("editorDestroyed " + p->propertyName()); });
    }

    template <class W> W *open(PbAbstractEditorFactoryBase &factory, PbProperty *p)
    {
        QWidget *w = factory.createEditor(p, &window);
        layout->addWidget(w);
        return qobject_cast<W *>(w);
    }

    // Gives keyboard focus to the editor as the tree does, then types.
    void focusAndType(QWidget *editor, const QString &text)
    {
        ASSERT_TRUE(showActive(&window));
        editor->setFocus();
        QWidget *field = QApplication::focusWidget();
        ASSERT_NE(field, nullptr);
        ASSERT_TRUE(editor->isAncestorOf(field) || field == editor);
        if (auto *le = qobject_cast<QLineEdit *>(field))
            le->selectAll();
        if (auto *sb = qobject_cast<QAbstractSpinBox *>(field))
            sb->selectAll();
        QTest::keyClicks(field, text);
    }
};

TEST_F(EditorFactories, SetUpCommitsNothingAndAnnouncesTheEditorFirst)
{
    PbSpinBoxFactory spin;
    PbSliderFactory slider;
    PbScrollBarFactory bar;
    PbCheckBoxFactory check;
    PbDoubleSpinBoxFactory dbl;
    PbEnumEditorFactory combo;
    PbSpinBoxFactory2 spin2;
    PbLineEditFactory2 line2;
    for (PbAbstractEditorFactory<PbIntPropertyManager> *f :
         std::initializer_list<PbAbstractEditorFactory<PbIntPropertyManager> *>{&spin, &slider, &bar, &spin2})
        f->addPropertyManager(&intManager);
    check.addPropertyManager(&boolManager);
    dbl.addPropertyManager(&doubleManager);
    combo.addPropertyManager(&enumManager);
    line2.addPropertyManager(&stringManager);

    PbProperty *i = intManager.addProperty("i");
    intManager.setRange(i, 5, 50);
    intManager.setValue(i, 17);
    PbProperty *d = doubleManager.addProperty("d");
    doubleManager.setValue(d, 2.5);
    PbProperty *s = stringManager.addProperty("s");
    stringManager.setValue(s, "text");
    PbProperty *b = boolManager.addProperty("b");
    boolManager.setValue(b, true);
    PbProperty *e = enumManager.addProperty("e");
    enumManager.setEnumNames(e, {"a", "b", "c"});
    enumManager.setValue(e, 2);
    log.clear();

    EXPECT_EQ(open<QSpinBox>(spin, i)->value(), 17);
    EXPECT_EQ(open<QSlider>(slider, i)->value(), 17);
    EXPECT_EQ(open<QScrollBar>(bar, i)->value(), 17);
    EXPECT_EQ(open<PbSpinBoxEditWidget2>(spin2, i)->value(), 17);
    EXPECT_TRUE(open<PbBoolEdit>(check, b)->isChecked());
    EXPECT_DOUBLE_EQ(open<PbDoubleSpinBox2>(dbl, d)->value(), 2.5);
    EXPECT_EQ(open<QComboBox>(combo, e)->currentIndex(), 2);
    EXPECT_EQ(open<PbLineEditWidget2>(line2, s)->text(), "text");
    EXPECT_EQ(log.entries(), QStringList({"editorCreated i", "editorCreated i", "editorCreated i", "editorCreated i",
                                        "editorCreated b", "editorCreated d", "editorCreated e", "editorCreated s"}));
    EXPECT_EQ(spin.createEditor(b, &window), nullptr) << "a property of an unserved manager gets no editor";
}

TEST_F(EditorFactories, IntegerEditorCommitsOnEnterOnlyAndAlsoAnUnchangedValue)
{
    PbSpinBoxFactory2 factory;
    factory.addPropertyManager(&intManager);
    PbProperty *p = intManager.addProperty("p");
    auto *ed = open<PbSpinBoxEditWidget2>(factory, p);
    log.clear();
    focusAndType(ed, "42");
    EXPECT_TRUE(log.entries().isEmpty()) << "typing without Enter commits nothing";
    EXPECT_EQ(intManager.value(p), 0);
    pressKey(Qt::Key_Up);
    pressKey(Qt::Key_PageUp);
    EXPECT_EQ(ed->value(), 53);
    EXPECT_TRUE(log.entries().isEmpty()) << "stepping commits nothing either";
    pressKey(Qt::Key_Return);
    EXPECT_EQ(log.entries(), QStringList({"propertyChanged p", "valueChanged p 53", "valueUpdated p 53"}));
    EXPECT_EQ(intManager.value(p), 53);
    log.clear();
    pressKey(Qt::Key_Enter);
    EXPECT_EQ(log.entries(), QStringList({"propertyChanged p", "valueChanged p 53", "valueUpdated p 53"}))
        << "an editable parameter is announced again without a change";

    intManager.setReadOnly(p, true);
    log.clear();
    pressKey(Qt::Key_Enter);
    EXPECT_TRUE(log.entries().isEmpty()) << "a read-only row never announces an unchanged value";
}

TEST_F(EditorFactories, TextEditorCommitsOnEnterOnlyAndNeverOnAReadOnlyRow)
{
    PbLineEditFactory2 factory;
    factory.addPropertyManager(&stringManager);
    PbProperty *p = stringManager.addProperty("p");
    auto *ed = open<PbLineEditWidget2>(factory, p);
    log.clear();
    focusAndType(ed, "hello");
    EXPECT_TRUE(log.entries().isEmpty());
    pressKey(Qt::Key_Return);
    EXPECT_EQ(log.entries(), QStringList({"propertyChanged p", "valueChanged p hello", "valueUpdated p hello"}));
    log.clear();
    pressKey(Qt::Key_Return);
    EXPECT_EQ(log.count("valueUpdated"), 1);

    stringManager.setReadOnly(p, true);
    log.clear();
    pressKey(Qt::Key_Return);
    EXPECT_TRUE(log.entries().isEmpty());
}

TEST_F(EditorFactories, DoubleEditorStepsWithoutCommitAndCommitsOnEnter)
{
    PbDoubleSpinBoxFactory factory;
    factory.addPropertyManager(&doubleManager);
    PbProperty *p = doubleManager.addProperty("p");
    doubleManager.setSingleStep(p, 0.5);
    auto *ed = open<PbDoubleSpinBox2>(factory, p);
    log.clear();
    ASSERT_TRUE(showActive(&window));
    ed->setFocus();
    pressKey(Qt::Key_Up);
    pressKey(Qt::Key_Up);
    EXPECT_DOUBLE_EQ(ed->value(), 1.0);
    EXPECT_TRUE(log.entries().isEmpty()) << "arrow steps do not commit";
    EXPECT_DOUBLE_EQ(doubleManager.value(p), 0.0);
    pressKey(Qt::Key_Enter);
    EXPECT_EQ(log.entries(), QStringList({"propertyChanged p", "valueChanged p 1", "valueUpdated p 1"}));
    log.clear();
    pressKey(Qt::Key_Enter);
    EXPECT_EQ(log.count("valueUpdated p 1"), 1) << "unchanged value on an editable row";
    // Attribute changes reach the open editor and commit nothing.
    log.clear();
    doubleManager.setDecimals(p, 1);
    doubleManager.setValue(p, 1.25);
    EXPECT_EQ(ed->decimals(), 1);
    doubleManager.setRange(p, -1, 0.5);
    EXPECT_DOUBLE_EQ(ed->maximum(), 0.5);
    EXPECT_DOUBLE_EQ(ed->value(), doubleManager.value(p)) << "the bounded value follows the range";
    doubleManager.setSingleStep(p, 0.25);
    EXPECT_DOUBLE_EQ(ed->singleStep(), 0.25);
    EXPECT_EQ(log.count("valueUpdated"), 2) << "one for the value, one for the value bounded by the range";
    EXPECT_EQ(log.count("valueChanged"), 2);

    doubleManager.setReadOnly(p, true);
    EXPECT_TRUE(ed->isReadOnly());
    log.clear();
    pressKey(Qt::Key_Enter);
    EXPECT_TRUE(log.entries().isEmpty());
}

TEST_F(EditorFactories, ManagerChangeUpdatesOnlyWhenEditorsAreOpenAndOnce)
{
    PbSpinBoxFactory2 factory;
    factory.addPropertyManager(&intManager);
    PbProperty *p = intManager.addProperty("p");
    log.clear();
    intManager.setValue(p, 3);
    EXPECT_EQ(log.entries(), QStringList({"propertyChanged p", "valueChanged p 3"})) << "no editor, no valueUpdated";

    auto *a = open<PbSpinBoxEditWidget2>(factory, p);
    auto *b = open<PbSpinBoxEditWidget2>(factory, p);
    QSignalSpy aCommits(a, SIGNAL(valueChanged(int)));
    // The main window checks and saves on valueUpdated: by then every open
    // editor must already show the value.
    QList<int> shownAtUpdate;
    const auto seen = QObject::connect(&intManager, &PbIntPropertyManager::valueUpdated,
                                       [&](PbProperty *, int) { shownAtUpdate << a->value() << b->value(); });
    log.clear();
    intManager.setValue(p, 9);
    EXPECT_EQ(log.entries(), QStringList({"propertyChanged p", "valueChanged p 9", "valueUpdated p 9"}));
    EXPECT_EQ(shownAtUpdate, QList<int>({9, 9}));
    QObject::disconnect(seen);
    EXPECT_EQ(a->value(), 9);
    EXPECT_EQ(b->value(), 9);
    EXPECT_EQ(aCommits.count(), 0);

    intManager.setRange(p, 0, 5);
    EXPECT_EQ(a->value(), 5) << "the bounded value follows the range";
    delete b;
    log.clear();
    intManager.setValue(p, 1);
    EXPECT_EQ(log.count("valueUpdated"), 1);
    delete a;
    log.clear();
    intManager.setValue(p, 2);
    EXPECT_EQ(log.count("valueUpdated"), 0) << "the last editor gone, updates stop";
}

TEST_F(EditorFactories, EnterInOneOfTwoTextEditorsCommitsThatTextOnce)
{
    PbLineEditFactory2 factory;
    factory.addPropertyManager(&stringManager);
    PbProperty *p = stringManager.addProperty("p");
    auto *a = open<PbLineEditWidget2>(factory, p);
    auto *b = open<PbLineEditWidget2>(factory, p);
    focusAndType(a, "from-a");
    focusAndType(b, "from-b");
    log.clear();
    pressKey(Qt::Key_Return);
    EXPECT_EQ(log.entries(), QStringList({"propertyChanged p", "valueChanged p from-b", "valueUpdated p from-b"}));
    EXPECT_EQ(stringManager.value(p), "from-b");
    EXPECT_EQ(a->text(), "from-b") << "the other editor follows the committed text";
}

TEST_F(EditorFactories, EnumerationSilentChangeMovesComboWithoutUpdate)
{
    PbEnumEditorFactory factory;
    factory.addPropertyManager(&enumManager);
    PbProperty *p = enumManager.addProperty("p");
    enumManager.setEnumNames(p, {"zero", "one", "two"});
    auto *combo = open<QComboBox>(factory, p);
    log.clear();
    enumManager.setValueNoUpdate(p, 2);
    EXPECT_EQ(combo->currentIndex(), 2);
    EXPECT_EQ(log.entries(), QStringList({"propertyChanged p", "valueChangedNoUpdate p 2"}));
    log.clear();
    enumManager.setValue(p, 1);
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(log.entries(), QStringList({"propertyChanged p", "valueChanged p 1", "valueUpdated p 1"}));
    log.clear();
    combo->setCurrentIndex(0);
    EXPECT_EQ(log.entries(), QStringList({"propertyChanged p", "valueChanged p 0", "valueUpdated p 0"}))
        << "a choice in the combo box commits";
    enumManager.setEnumNames(p, {"x", "y"});
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(1), "y");

    factory.removePropertyManager(&enumManager);
    log.clear();
    enumManager.setValue(p, 1);
    enumManager.setValueNoUpdate(p, 0);
    EXPECT_EQ(log.count("valueUpdated"), 0);
    EXPECT_EQ(combo->currentIndex(), 0) << "a removed manager no longer reaches the editors";
}

TEST_F(EditorFactories, ButtonsAreReadAtCreationAndEmitWithoutCommitting)
{
    PbSpinBoxFactory2 intFactory;
    PbLineEditFactory2 textFactory;
    intFactory.addPropertyManager(&intManager);
    textFactory.addPropertyManager(&stringManager);
    PbProperty *i = intManager.addProperty("i");
    PbProperty *s = stringManager.addProperty("s");
    intManager.setBtnVisibility(i, true);
    stringManager.setBtnVisibility(s, true);
    stringManager.setBtnCaption(s, "...");
    auto *ie = open<PbSpinBoxEditWidget2>(intFactory, i);
    auto *se = open<PbLineEditWidget2>(textFactory, s);
    ASSERT_TRUE(showActive(&window));
    auto *ib = ie->findChild<QToolButton *>();
    auto *sb = se->findChild<QToolButton *>();
    EXPECT_TRUE(ib->isVisible());
    EXPECT_EQ(ib->text(), "Рассчитать");
    EXPECT_EQ(sb->text(), "...");
    stringManager.setBtnCaption(s, "changed");
    stringManager.setBtnVisibility(s, false);
    EXPECT_EQ(sb->text(), "...") << "an open editor keeps the button it was made with";
    EXPECT_TRUE(sb->isVisible());
    log.clear();
    QTest::mouseClick(ib, Qt::LeftButton);
    QTest::mouseClick(sb, Qt::LeftButton);
    EXPECT_EQ(log.entries(), QStringList({"scriptCalled i", "btnClicked s"}));
    auto *se2 = open<PbLineEditWidget2>(textFactory, s);
    EXPECT_FALSE(se2->findChild<QToolButton *>()->isVisibleTo(se2));
    EXPECT_EQ(se2->findChild<QToolButton *>()->text(), "changed");
}

TEST_F(EditorFactories, CheckBoxSpinBoxAndSliderCommitWithTheirOwnRules)
{
    PbCheckBoxFactory check;
    PbSpinBoxFactory spin;
    PbSliderFactory slider;
    check.addPropertyManager(&boolManager);
    spin.addPropertyManager(&intManager);
    slider.addPropertyManager(&intManager);
    PbProperty *b = boolManager.addProperty("b");
    PbProperty *i = intManager.addProperty("i");
    auto *be = open<PbBoolEdit>(check, b);
    auto *se = open<QSpinBox>(spin, i);
    auto *sl = open<QSlider>(slider, i);
    ASSERT_TRUE(showActive(&window));
    log.clear();
    QTest::mouseClick(be->findChild<QCheckBox *>(), Qt::LeftButton);
    EXPECT_EQ(log.entries(), QStringList({"propertyChanged b", "valueChanged b 1", "valueUpdated b 1"}));
    EXPECT_EQ(be->findChild<QCheckBox *>()->text(), "True");
    boolManager.setTextVisible(b, false);
    EXPECT_TRUE(be->findChild<QCheckBox *>()->text().isEmpty());

    log.clear();
    se->setValue(4);
    EXPECT_EQ(log.entries(),
              QStringList({"propertyChanged i", "valueChanged i 4", "valueUpdated i 4", "valueUpdated i 4"}))
        << "each of the two factories announces its own open editor";
    EXPECT_EQ(sl->value(), 4) << "the slider of the same property follows";
    log.clear();
    QMetaObject::invokeMethod(&spin, "slotSetValue", Q_ARG(int, 4));
    EXPECT_TRUE(log.entries().isEmpty()) << "a commit from an unknown sender is ignored";
    log.clear();
    sl->setValue(4);
    EXPECT_TRUE(log.entries().isEmpty()) << "the slider commits with change checking";
}

TEST_F(EditorFactories, AttributeChangesReachOpenTextEditors)
{
    PbLineEditFactory2 factory;
    factory.addPropertyManager(&stringManager);
    PbProperty *p = stringManager.addProperty("p");
    stringManager.setRegExp(p, QRegExp("[0-9]*"));
    auto *ed = open<PbLineEditWidget2>(factory, p);
    EXPECT_NE(ed->validator(), nullptr);
    stringManager.setRegExp(p, QRegExp("(unclosed"));
    EXPECT_EQ(ed->validator(), nullptr) << "an invalid expression removes the validator";
    stringManager.setInputMask(p, "999");
    EXPECT_EQ(ed->inputMask(), "999");
    stringManager.setEchoMode(p, QLineEdit::Password);
    EXPECT_EQ(ed->echoMode(), int(QLineEdit::Password));
}

TEST_F(EditorFactories, EditorBookkeepingAnnouncesEveryEnd)
{
    PbProperty *p = doubleManager.addProperty("p");
    {
        PbDoubleSpinBoxFactory factory;
        factory.addPropertyManager(&doubleManager);
        open<PbDoubleSpinBox2>(factory, p);
        QWidget *second = open<PbDoubleSpinBox2>(factory, p);
        log.clear();
        delete second;
        EXPECT_EQ(log.entries(), QStringList({"editorDestroyed p"}));
        log.clear();
    }
    EXPECT_EQ(log.entries(), QStringList({"editorDestroyed p"})) << "the factory deletes the editors it leaves";
    EXPECT_TRUE(window.findChildren<PbDoubleSpinBox2 *>().isEmpty());

    PbCheckBoxFactory check;
    check.addPropertyManager(&boolManager);
    PbProperty *b = boolManager.addProperty("b");
    auto *be = open<PbBoolEdit>(check, b);
    delete b; // the property goes first, its editor later
    log.clear();
    QTest::mouseClick(be, Qt::LeftButton);
    EXPECT_TRUE(log.entries().isEmpty()) << "an editor of a deleted property commits nothing";
    delete be;
}

} // namespace
