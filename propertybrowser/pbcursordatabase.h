// The mouse-cursor shapes a cursor property can take, in a fixed order: each
// shape has a value (its position in that order), a display name and an icon.
#ifndef PBCURSORDATABASE_H
#define PBCURSORDATABASE_H

#include <QCursor>
#include <QIcon>
#include <QMap>
#include <QStringList>

class PbCursorDatabasePrivate;

class PbCursorDatabase
{
public:
    /// Holds the standard shapes, from the arrow (value 0) to busy (value 18).
    PbCursorDatabase();
    ~PbCursorDatabase();

    /// Appends `shape` with the next value; a shape already present is ignored.
    void addShape(Qt::CursorShape shape, const QString &name, const QIcon &icon);
    /// Forgets every shape.
    void clear();

    /// The display names in value order.
    QStringList shapeNames() const;
    /// The icons by value.
    QMap<int, QIcon> shapeIcons() const;
    /// The value of the cursor's shape; -1 when the shape is not held.
    int shapeValue(const QCursor &cursor) const;
    /// The name of the cursor's shape; empty when the shape is not held.
    QString shapeName(const QCursor &cursor) const;
    /// The icon of the cursor's shape; an empty icon when the shape is not held.
    QIcon shapeIcon(const QCursor &cursor) const;
    /// A cursor of the shape held for `value`; an arrow for an unknown value.
    QCursor cursorForValue(int value) const;

private:
    Q_DISABLE_COPY(PbCursorDatabase)
    PbCursorDatabasePrivate *d_ptr;
    friend class PbCursorDatabasePrivate;
};

#endif
