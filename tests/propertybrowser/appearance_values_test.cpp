// The cursor database, the painting utilities and the font, colour and
// cursor managers: the documented examples, one announcement of what the
// record holds, and rows that never feed the manager's own pushes back.
#include "propertybrowser/pbboolpropertymanager.h"
#include "propertybrowser/pbcolorpropertymanager.h"
#include "pbcore_manager_fixture.h"
#include "propertybrowser/pbcursordatabase.h"
#include "propertybrowser/pbcursorpropertymanager.h"
#include "propertybrowser/pbenumpropertymanager.h"
#include "propertybrowser/pbfontpropertymanager.h"
#include "propertybrowser/pbintpropertymanager.h"
#include "propertybrowser/pbpropertybrowserutils.h"

#include <QBitmap>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QTimer>

namespace {

QStringList rowNames(const PbProperty *p)
{
    QStringList names;
    for (const PbProperty *row : p->subProperties())
        names << row->propertyName();
    return names;
}

PbProperty *rowNamed(const PbProperty *p, const QString &name)
{
    for (PbProperty *row : p->subProperties()) {
        if (row->propertyName() == name)
            return row;
    }
    return nullptr;
}

const QStringList oneAnnouncement = {"m.propertyChanged(p)"};

TEST(CursorDatabase, ShapesInTableOrderWithOurPictures)
{
    PbCursorDatabase db;
    const QStringList names = db.shapeNames();
    ASSERT_EQ(names.size(), 19);
    EXPECT_EQ(names.first(), "Arrow");
    EXPECT_EQ(names.at(7), "Size Backslash");
    EXPECT_EQ(names.at(15), "Open Hand");
    EXPECT_EQ(names.last(), "Busy");
    EXPECT_EQ(db.shapeValue(QCursor(Qt::SizeFDiagCursor)), 7);
    EXPECT_EQ(db.cursorForValue(8).shape(), Qt::SizeBDiagCursor);
    EXPECT_EQ(db.shapeName(QCursor(Qt::WhatsThisCursor)), "What's This");
    for (int value : {19, -1, 1000})
        EXPECT_EQ(db.cursorForValue(value).shape(), Qt::ArrowCursor) << value;
    const QMap<int, QIcon> icons = db.shapeIcons();
    ASSERT_EQ(icons.size(), 19);
    for (int value = 0; value < 19; ++value)
        EXPECT_EQ(icons.value(value).pixmap(16).isNull(), value == 10) << "only Blank has no picture: " << value;

    // A bitmap cursor is no shape of the table.
    QBitmap bits(16, 16);
    bits.fill(Qt::color1);
    const QCursor bitmap(bits, bits);
    EXPECT_EQ(db.shapeValue(bitmap), -1);
    EXPECT_TRUE(db.shapeName(bitmap).isEmpty());
    EXPECT_TRUE(db.shapeIcon(bitmap).isNull());

    db.addShape(Qt::ArrowCursor, "again", QIcon());
    EXPECT_EQ(db.shapeNames().size(), 19) << "a shape already held is ignored";
    db.clear();
    EXPECT_TRUE(db.shapeNames().isEmpty());
    EXPECT_EQ(db.shapeValue(QCursor(Qt::ArrowCursor)), -1);
    db.addShape(Qt::BusyCursor, "Busy", QIcon());
    EXPECT_EQ(db.shapeValue(QCursor(Qt::BusyCursor)), 0);
}

TEST(PropertyBrowserUtils, TextsAndSwatches)
{
    EXPECT_EQ(PbPropertyBrowserUtils::colorText(QColor(255, 0, 0)), "[255, 0, 0] (255)");
    EXPECT_EQ(PbPropertyBrowserUtils::colorText(QColor(1, 22, 133, 4)), "[1, 22, 133] (4)");
    QFont sans("Sans");
    sans.setPointSize(10);
    EXPECT_EQ(PbPropertyBrowserUtils::fontText(sans), QString("[%1, 10]").arg(sans.family()));
    QFont odd("Fam %2ily");
    odd.setPointSize(7);
    EXPECT_EQ(PbPropertyBrowserUtils::fontText(odd), "[Fam %2ily, 7]") << "a family is not a format";

    const QImage translucent = PbPropertyBrowserUtils::brushSwatchPixmap(QBrush(QColor(0, 0, 255, 128)))
                                   .toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(translucent.size(), QSize(16, 16));
    for (const QPoint border : {QPoint(0, 0), QPoint(3, 8), QPoint(15, 15), QPoint(12, 4)})
        EXPECT_NEAR(qAlpha(translucent.pixel(border)), 128, 1) << border.x() << "," << border.y();
    for (const QPoint centre : {QPoint(4, 4), QPoint(11, 11), QPoint(8, 5)})
        EXPECT_EQ(translucent.pixel(centre), qRgba(0, 0, 255, 255)) << centre.x() << "," << centre.y();
    QImage even(16, 16, QImage::Format_ARGB32);
    even.fill(QColor(Qt::green));
    EXPECT_EQ(PbPropertyBrowserUtils::brushSwatchPixmap(QBrush(Qt::green)).toImage().convertToFormat(
                  QImage::Format_ARGB32), even);

    const QImage sample = PbPropertyBrowserUtils::fontSamplePixmap(sans).toImage().convertToFormat(
        QImage::Format_ARGB32);
    ASSERT_EQ(sample.size(), QSize(16, 16));
    int inked = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            inked += qAlpha(sample.pixel(x, y)) > 0 ? 1 : 0;
    EXPECT_GT(inked, 4) << "the letter is drawn";
    EXPECT_EQ(qAlpha(sample.pixel(0, 0)), 0) << "around it the sample is transparent";
}

using ColorManager = ManagerTest<PbColorPropertyManager>;

TEST_F(ColorManager, ChannelRowsAndOneAnnouncementOfTheHeldColour)
{
    EXPECT_FALSE(manager.value(p).isValid());
    EXPECT_EQ(rowNames(p), QStringList({"Red", "Green", "Blue", "Alpha"}));
    EXPECT_EQ(p->valueText(), "[0, 0, 0] (255)");
    PbIntPropertyManager *ints = manager.subIntPropertyManager();
    PbProperty *red = rowNamed(p, "Red");
    EXPECT_EQ(ints->maximum(red), 255);

    // An HSV colour is held as given and announced once, not again as its
    // RGB twin when the rows take its channels.
    const QColor hsv = QColor::fromHsv(200, 100, 150, 77);
    manager.setValue(p, hsv);
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,QColor)"}));
    EXPECT_EQ(manager.value(p).spec(), QColor::Hsv);
    EXPECT_EQ(manager.value(p), hsv);
    EXPECT_EQ(ints->value(rowNamed(p, "Blue")), hsv.blue());
    EXPECT_EQ(ints->value(rowNamed(p, "Alpha")), 77);

    // An invalid colour stays invalid; it does not become opaque black.
    manager.setValue(p, QColor());
    EXPECT_EQ(log.take().size(), 2);
    EXPECT_FALSE(manager.value(p).isValid());
    manager.setValue(p, QColor());
    EXPECT_TRUE(log.take().isEmpty()) << "no signal when unchanged";

    // An edited channel changes that channel of the parent, bounded to 255.
    manager.setValue(p, QColor(10, 20, 30));
    log.clear();
    ints->setValue(red, 300);
    EXPECT_EQ(ints->value(red), 255);
    EXPECT_EQ(manager.value(p), QColor(255, 20, 30));
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,QColor)"}));
    EXPECT_EQ(p->valueText(), "[255, 20, 30] (255)");
    EXPECT_FALSE(p->valueIcon().isNull());

    // Rows deleted from outside leave the parent working.
    delete red;
    manager.setValue(p, QColor(1, 2, 3));
    EXPECT_EQ(rowNames(p), QStringList({"Green", "Blue", "Alpha"}));
    EXPECT_EQ(ints->value(rowNamed(p, "Green")), 2);
    delete p;
    EXPECT_TRUE(ints->properties().isEmpty()) << "the rows go with their parent";
}

using CursorManager = ManagerTest<PbCursorPropertyManager>;

TEST_F(CursorManager, ShapeChangesAndBitmapCursorsAnnounce)
{
    EXPECT_EQ(manager.value(p).shape(), Qt::ArrowCursor);
    EXPECT_EQ(p->valueText(), "Arrow");
    EXPECT_FALSE(p->valueIcon().isNull());
    manager.setValue(p, QCursor(Qt::ArrowCursor));
    EXPECT_TRUE(log.take().isEmpty()) << "the same standard shape emits nothing";
    manager.setValue(p, QCursor(Qt::IBeamCursor));
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,QCursor)"}));
    EXPECT_EQ(p->valueText(), "IBeam");

    QBitmap bits(16, 16);
    bits.fill(Qt::color1);
    const QCursor bitmap(bits, bits);
    manager.setValue(p, bitmap);
    manager.setValue(p, bitmap);
    EXPECT_EQ(log.count("m.valueChanged"), 2) << "a bitmap cursor always counts as a change";
    EXPECT_TRUE(p->valueText().isEmpty());
    EXPECT_TRUE(p->valueIcon().isNull());

    PbCursorPropertyManager other;
    EXPECT_TRUE(manager.valueText(other.addProperty("f")).isNull());
}

class FontManager : public ManagerTest<PbFontPropertyManager>
{
protected:
    PbProperty *row(const char *name) { return rowNamed(p, name); }
    PbEnumPropertyManager *enums() { return manager.subEnumPropertyManager(); }
};

TEST_F(FontManager, RowsFollowTheFontAndEditsChangeOneAttribute)
{
    EXPECT_EQ(rowNames(p),
              QStringList({"Family", "Point Size", "Bold", "Italic", "Underline", "Strikeout", "Kerning"}));
    EXPECT_EQ(manager.value(p), QFont());
    EXPECT_EQ(p->valueText(), PbPropertyBrowserUtils::fontText(QFont()));
    EXPECT_EQ(enums()->enumNames(row("Family")), QFontDatabase().families());

    QFont font = manager.value(p);
    font.setPointSize(17);
    font.setItalic(true);
    manager.setValue(p, font);
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,QFont)"}));
    EXPECT_EQ(manager.subIntPropertyManager()->value(row("Point Size")), 17);
    EXPECT_TRUE(manager.subBoolPropertyManager()->value(row("Italic")));

    // Equal fonts with other attributes set explicitly are a change.
    QFont explicitBold = font;
    explicitBold.setBold(font.bold());
    ASSERT_EQ(explicitBold, font);
    manager.setValue(p, explicitBold);
    EXPECT_EQ(log.take().size(), 2);
    manager.setValue(p, explicitBold);
    EXPECT_TRUE(log.take().isEmpty());

    manager.subBoolPropertyManager()->setValue(row("Bold"), true);
    QFont bold = explicitBold;
    bold.setBold(true);
    EXPECT_EQ(manager.value(p), bold) << "only the bold attribute changes";
    EXPECT_EQ(log.take(), QStringList({"m.propertyChanged(p)", "m.valueChanged(p,QFont)"}));

    manager.subIntPropertyManager()->setValue(row("Point Size"), 0);
    EXPECT_EQ(manager.subIntPropertyManager()->value(row("Point Size")), 1);
    EXPECT_EQ(manager.value(p).pointSize(), 1);
}

TEST_F(FontManager, AFamilyNotListedIsKeptAndAnIndexOutsideTheListNamesNothing)
{
    QFont font = manager.value(p);
    font.setFamily("No Such Family Here");
    manager.setValue(p, font);
    EXPECT_EQ(log.take().size(), 2);
    EXPECT_EQ(manager.value(p).family(), font.family()) << "the row's push does not come back";
    EXPECT_EQ(enums()->value(row("Family")), 0);

    // A row index past the family list (a longer list given to the row from
    // outside) names no family and is never read from the list.
    const QStringList families = QFontDatabase().families();
    enums()->setEnumNames(row("Family"), families + QStringList({"x", "y", "z"}));
    const QFont before = manager.value(p);
    log.clear();
    enums()->setValue(row("Family"), families.size() + 2);
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_EQ(manager.value(p), before);
}

TEST_F(FontManager, DatabaseChangesRefreshOnceAndAVanishedFamilyFallsToTheFirst)
{
    const QStringList families = QFontDatabase().families();
    ASSERT_FALSE(families.isEmpty());
    QFont font = manager.value(p);
    font.setFamily(families.first());
    manager.setValue(p, font);
    // Point the row at a name the refreshed list does not hold.
    enums()->setEnumNames(row("Family"), {"Vanished Family", families.first()});
    enums()->setValue(row("Family"), 0);
    log.clear();
    Q_EMIT static_cast<QGuiApplication *>(QCoreApplication::instance())->fontDatabaseChanged();
    Q_EMIT static_cast<QGuiApplication *>(QCoreApplication::instance())->fontDatabaseChanged();
    EXPECT_TRUE(log.entries().isEmpty()) << "the refresh waits for the event loop";
    const QList<QTimer *> timers = manager.findChildren<QTimer *>();
    ASSERT_EQ(timers.size(), 1) << "one timer for any number of notices";
    EXPECT_TRUE(timers.first()->isActive());
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(enums()->enumNames(row("Family")), families);
    EXPECT_EQ(enums()->value(row("Family")), 0);
    EXPECT_EQ(manager.value(p).family(), families.first());
    EXPECT_LE(log.count("m.valueChanged"), 1) << "one refresh for both notices";
}

} // namespace
