// Cursor shapes with their names and our own icons, compiled in as resources.
#include "propertybrowser/pbcursordatabase.h"

#include "propertybrowser/pbcursordatabase_p.h"

#include <QCoreApplication>

// The library is static: its resources are registered only when asked for.
static void initCursorImages()
{
    Q_INIT_RESOURCE(pbcursors);
}

namespace {

struct ShapeEntry {
    Qt::CursorShape shape;
    const char *name;
    const char *image;  // null: the shape has no picture
};

// The order is the values' order; it is not the order of Qt::CursorShape.
const ShapeEntry shapeTable[] = {
    {Qt::ArrowCursor, QT_TRANSLATE_NOOP("PbCursorDatabase", "Arrow"), "arrow"},
    {Qt::UpArrowCursor, QT_TRANSLATE_NOOP("PbCursorDatabase", "Up Arrow"), "uparrow"},
    {Qt::CrossCursor, QT_TRANSLATE_NOOP("PbCursorDatabase", "Cross"), "cross"},
    {Qt::WaitCursor, QT_TRANSLATE_NOOP("PbCursorDatabase", "Wait"), "wait"},
    {Qt::IBeamCursor, QT_TRANSLATE_NOOP("PbCursorDatabase", "IBeam"), "ibeam"},
    {Qt::SizeVerCursor, QT_TRANSLATE_NOOP("PbCursorDatabase", "Size Vertical"), "sizev"},
    {Qt::SizeHorCursor, QT_TRANSLATE_NOOP("PbCursorDatabase", "Size Horizontal"), "sizeh"},
    {Qt::SizeFDiagCursor, QT_TRANSLATE_NOOP("PbCursorDatabase", "Size Backslash"), "sizef"},
    {Qt::SizeBDiagCursor, QT_TRANSLATE_NOOP("PbCursorDatabase", "Size Slash"), "sizeb"},
    {Qt::SizeAllCursor, QT_TRANSLATE_NOOP("PbCursorDatabase", "Size All"), "sizeall"},
    {Qt::BlankCursor, QT_TRANSLATE_NOOP("PbCursorDatabase", "Blank"), nullptr},
    {Qt::SplitVCursor, QT_TRANSLATE_NOOP("PbCursorDatabase", "Split Vertical"), "vsplit"},
    {Qt::SplitHCursor, QT_TRANSLATE_NOOP("PbCursorDatabase", "Split Horizontal"), "hsplit"},
    {Qt::PointingHandCursor, QT_TRANSLATE_NOOP("PbCursorDatabase", "Pointing Hand"), "hand"},
    {Qt::ForbiddenCursor, QT_TRANSLATE_NOOP("PbCursorDatabase", "Forbidden"), "forbidden"},
    {Qt::OpenHandCursor, QT_TRANSLATE_NOOP("PbCursorDatabase", "Open Hand"), "openhand"},
    {Qt::ClosedHandCursor, QT_TRANSLATE_NOOP("PbCursorDatabase", "Closed Hand"), "closedhand"},
    {Qt::WhatsThisCursor, QT_TRANSLATE_NOOP("PbCursorDatabase", "What's This"), "whatsthis"},
    {Qt::BusyCursor, QT_TRANSLATE_NOOP("PbCursorDatabase", "Busy"), "busy"},
};

} // namespace

PbCursorDatabase::PbCursorDatabase() : d_ptr(new PbCursorDatabasePrivate(this))
{
    initCursorImages();
    for (const ShapeEntry &entry : shapeTable) {
        const QIcon icon = entry.image
            ? QIcon(QStringLiteral(":/propertybrowser/images/cursor-%1.png").arg(QLatin1String(entry.image)))
            : QIcon();
        addShape(entry.shape, QCoreApplication::translate("PbCursorDatabase", entry.name), icon);
    }
}

PbCursorDatabase::~PbCursorDatabase() { delete d_ptr; }

void PbCursorDatabase::addShape(Qt::CursorShape shape, const QString &name, const QIcon &icon)
{
    if (d_ptr->m_cursorShapeToValue.contains(shape))
        return;
    const int value = d_ptr->m_cursorNames.count();
    d_ptr->m_cursorNames.append(name);
    d_ptr->m_cursorIcons.insert(value, icon);
    d_ptr->m_valueToCursorShape.insert(value, shape);
    d_ptr->m_cursorShapeToValue.insert(shape, value);
}

void PbCursorDatabase::clear()
{
    d_ptr->m_cursorNames.clear();
    d_ptr->m_cursorIcons.clear();
    d_ptr->m_valueToCursorShape.clear();
    d_ptr->m_cursorShapeToValue.clear();
}

QStringList PbCursorDatabase::shapeNames() const { return d_ptr->m_cursorNames; }

QMap<int, QIcon> PbCursorDatabase::shapeIcons() const { return d_ptr->m_cursorIcons; }

int PbCursorDatabase::shapeValue(const QCursor &cursor) const { return d_ptr->valueOf(cursor.shape()); }

QString PbCursorDatabase::shapeName(const QCursor &cursor) const
{
    return d_ptr->m_cursorNames.value(shapeValue(cursor));
}

QIcon PbCursorDatabase::shapeIcon(const QCursor &cursor) const
{
    return d_ptr->m_cursorIcons.value(shapeValue(cursor));
}

QCursor PbCursorDatabase::cursorForValue(int value) const
{
    const auto it = d_ptr->m_valueToCursorShape.constFind(value);
    return it == d_ptr->m_valueToCursorShape.constEnd() ? QCursor() : QCursor(it.value());
}
