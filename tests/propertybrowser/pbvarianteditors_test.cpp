// The variant editor factory: which properties get an editor, registration
// of the typed managers with the sub-factories, and every variant type shown
// in a tree browser, edited with real keys and committed.
#include "propertybrowser/pbintpropertymanager.h"
#include "propertybrowser/pbpointpropertymanager.h"
#include "propertybrowser/pbspinboxfactory.h"
#include "propertybrowser/pbtreepropertybrowser.h"
#include "propertybrowser/pbvarianteditorfactory.h"
#include "propertybrowser/pbvariantpropertymanager.h"
#include "pbtest_support.h"

#include <QApplication>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

class VariantEditors : public ::testing::Test
{
protected:
    PbVariantPropertyManager manager;
    PbVariantEditorFactory factory;
    QWidget parent;

    void SetUp() override { factory.addPropertyManager(&manager); }
};

TEST_F(VariantEditors, CompoundAndGroupRowsHaveNoEditorTheirMirrorsHave)
{
    PbVariantProperty *p = manager.addProperty(QMetaType::QPoint, "p");
    PbVariantProperty *g = manager.addProperty(PbVariantPropertyManager::groupTypeId(), "g");
    EXPECT_EQ(factory.createEditor(p, &parent), nullptr);
    EXPECT_EQ(factory.createEditor(g, &parent), nullptr);
    for (PbProperty *mirror : p->subProperties())
        EXPECT_NE(qobject_cast<QSpinBox *>(factory.createEditor(mirror, &parent)), nullptr);
    PbIntPropertyManager other;
    EXPECT_EQ(factory.createEditor(other.addProperty("o"), &parent), nullptr);
}

TEST_F(VariantEditors, ASubManagerReachedTwiceIsServedOnceAndRemovalUnservesAll)
{
    PbVariantProperty *p = manager.addProperty(QMetaType::QPoint, "p");
    PbVariantProperty *s = manager.addProperty(QMetaType::QString, "s");
    PbProperty *x = p->subProperties().at(0);
    auto *spin = qobject_cast<QSpinBox *>(factory.createEditor(x, &parent));
    ASSERT_NE(spin, nullptr);
    // One connection per served manager: a pushed value is announced once.
    PbIntPropertyManager *rows = manager.findChild<PbPointPropertyManager *>()->intSubManager();
    SignalLog log;
    log.watch(rows, "");
    p->setValue(QPoint(3, 4));
    EXPECT_EQ(spin->value(), 3);
    EXPECT_EQ(log.count(".valueUpdated"), 1) << "X only (Y has no editor), and once";

    factory.removePropertyManager(&manager);
    EXPECT_EQ(factory.createEditor(x, &parent), nullptr);
    EXPECT_EQ(factory.createEditor(s, &parent), nullptr);
    for (PbSpinBoxFactory *sub : factory.findChildren<PbSpinBoxFactory *>())
        EXPECT_TRUE(sub->propertyManagers().isEmpty());
}

// Every type in a tree browser: the row (the property itself, or one of its
// mirrored rows) gets its editor by keyboard, keys edit it, and the new
// value reaches the variant property.
enum class Keys { Up, UpEnter, Down, Space, TextEnter, Char, Shortcut };

struct TypeCase {
    const char *name;
    int type;     // 0: the marker types, below by name
    int row;      // -1: the property's own row, else the index of its mirror
    Keys keys;
    QVariant expected; // invalid: any other value
};

int markerType(const char *name)
{
    const QByteArray n(name);
    return n == "enum" ? PbVariantPropertyManager::enumTypeId()
         : n == "flag" ? PbVariantPropertyManager::flagTypeId() : PbVariantPropertyManager::groupTypeId();
}

const TypeCase typeCases[] = {
    {"int", QMetaType::Int, -1, Keys::Up, 1},
    {"double", QMetaType::Double, -1, Keys::UpEnter, 1.0},
    {"bool", QMetaType::Bool, -1, Keys::Space, true},
    {"string", QMetaType::QString, -1, Keys::TextEnter, QString("abc")},
    {"date", QMetaType::QDate, -1, Keys::Up, {}},
    {"time", QMetaType::QTime, -1, Keys::Up, {}},
    {"datetime", QMetaType::QDateTime, -1, Keys::Up, {}},
    {"keys", QMetaType::QKeySequence, -1, Keys::Shortcut, QKeySequence(Qt::CTRL | Qt::Key_K)},
    {"char", QMetaType::QChar, -1, Keys::Char, QChar('x')},
    {"locale", QMetaType::QLocale, 0, Keys::Down, {}},
    {"point", QMetaType::QPoint, 0, Keys::Up, QPoint(1, 0)},
    {"pointf", QMetaType::QPointF, 1, Keys::UpEnter, QPointF(0, 1)},
    {"size", QMetaType::QSize, 0, Keys::Up, QSize(1, 0)},
    {"sizef", QMetaType::QSizeF, 1, Keys::UpEnter, QSizeF(0, 1)},
    {"rect", QMetaType::QRect, 2, Keys::Up, QRect(0, 0, 1, 0)},
    {"rectf", QMetaType::QRectF, 0, Keys::UpEnter, QRectF(1, 0, 0, 0)},
    {"colour", QMetaType::QColor, 0, Keys::Up, {}},
    {"enum", 0, -1, Keys::Down, 1},
    {"policy", QMetaType::QSizePolicy, 2, Keys::Up, {}},
    {"font", QMetaType::QFont, 2, Keys::Space, {}},
    {"cursor", QMetaType::QCursor, -1, Keys::Down, {}},
    {"flag", 0, 1, Keys::Space, 2},
};

void press(Keys keys)
{
    QWidget *w = QApplication::focusWidget();
    ASSERT_NE(w, nullptr);
    switch (keys) {
    case Keys::Up:
    case Keys::UpEnter:
        QTest::keyClick(w, Qt::Key_Up);
        if (keys == Keys::UpEnter)
            QTest::keyClick(w, Qt::Key_Enter);
        break;
    case Keys::Down:
        QTest::keyClick(w, Qt::Key_Down);
        break;
    case Keys::Space:
        QTest::keyClick(w, Qt::Key_Space);
        break;
    case Keys::TextEnter:
        QTest::keyClicks(w, "abc");
        QTest::keyClick(w, Qt::Key_Return);
        break;
    case Keys::Char:
        QTest::keyClick(w, Qt::Key_X);
        break;
    case Keys::Shortcut:
        QTest::keyClick(w, Qt::Key_K, Qt::ControlModifier);
        break;
    }
}

TEST(VariantTree, EveryTypeIsShownEditedByKeysAndCommitted)
{
    PbVariantPropertyManager manager;
    PbVariantEditorFactory factory;
    PbTreePropertyBrowser browser;
    browser.setFactoryForManager(&manager, &factory);
    QMap<PbProperty *, QStringList> values;
    QObject::connect(&manager, &PbVariantPropertyManager::valueChanged,
                     [&](PbProperty *p, const QVariant &v) { values[p] << v.toString(); });

    PbVariantProperty *group = manager.addProperty(PbVariantPropertyManager::groupTypeId(), "group");
    QList<PbVariantProperty *> made;
    for (const TypeCase &c : typeCases) {
        PbVariantProperty *p = manager.addProperty(c.type ? c.type : markerType(c.name), c.name);
        ASSERT_NE(p, nullptr) << c.name;
        group->addSubProperty(p);
        made << p;
    }
    made[17]->setAttribute("enumNames", QStringList({"a", "b"}));
    made[21]->setAttribute("flagNames", QStringList({"a", "b"}));
    browser.addProperty(group);
    browser.resize(600, 900);
    browser.show();
    QApplication::setActiveWindow(&browser);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&browser));
    auto *view = browser.findChild<QTreeWidget *>();
    view->expandAll();
    QTreeWidgetItem *groupRow = view->topLevelItem(0);
    ASSERT_EQ(groupRow->childCount(), int(std::size(typeCases)));
    EXPECT_EQ(groupRow->text(0), "group");

    for (int i = 0; i < groupRow->childCount(); ++i) {
        const TypeCase &c = typeCases[i];
        SCOPED_TRACE(c.name);
        PbVariantProperty *p = made[i];
        QTreeWidgetItem *row = groupRow->child(i);
        ASSERT_EQ(row->text(0), c.name);
        if (c.row >= 0) {
            ASSERT_GT(row->childCount(), c.row);
            row = row->child(c.row);
        }
        const QVariant before = p->value();
        view->setCurrentItem(row, 0);
        QTest::keyClick(view, Qt::Key_Space);
        ASSERT_TRUE(QTest::qWaitFor([&] { return view->viewport()->isAncestorOf(QApplication::focusWidget()); }));
        values.clear();
        press(c.keys);
        ASSERT_TRUE(values.contains(p)) << "no valueChanged for the property";
        EXPECT_NE(p->value(), before);
        if (c.expected.isValid()) {
            EXPECT_EQ(p->value(), c.expected);
        }
        EXPECT_EQ(groupRow->child(i)->text(1), p->valueText());
        // Leave the editor and let it go before the next row.
        view->setCurrentItem(groupRow, 0);
        view->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            return view->viewport()->findChildren<QWidget *>().isEmpty();
        }));
    }
}

TEST(VariantTree, RowsDeletedWhileTheirEditorIsOpen)
{
    // A compound property deleted while the editor of one of its mirrors is
    // open, then a plain one: the editors go with their rows (run under ASan).
    PbVariantPropertyManager manager;
    PbVariantEditorFactory factory;
    PbTreePropertyBrowser browser;
    browser.setFactoryForManager(&manager, &factory);
    PbVariantProperty *point = manager.addProperty(QMetaType::QPoint, "point");
    PbVariantProperty *text = manager.addProperty(QMetaType::QString, "text");
    browser.addProperty(point);
    browser.addProperty(text);
    browser.show();
    auto *view = browser.findChild<QTreeWidget *>();
    view->expandAll();
    const auto editorGone = [&] {
        return QTest::qWaitFor([&] {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            return view->viewport()->findChildren<QWidget *>().isEmpty();
        });
    };
    view->setCurrentItem(view->topLevelItem(0)->child(1), 1);
    view->editItem(view->currentItem(), 1);
    ASSERT_NE(view->viewport()->findChild<QSpinBox *>(), nullptr);
    delete point;
    EXPECT_TRUE(editorGone());
    view->setCurrentItem(view->topLevelItem(0), 1);
    view->editItem(view->currentItem(), 1);
    ASSERT_NE(view->viewport()->findChild<QLineEdit *>(), nullptr);
    manager.clear();
    EXPECT_TRUE(editorGone());
    EXPECT_EQ(view->topLevelItemCount(), 0);
}

} // namespace
