// Cursor properties: a stored QCursor, named and pictured by the cursor
// database of the cursor managers.
#include "propertybrowser/pbcursorpropertymanager.h"

#include "propertybrowser/pbcursordatabase.h"
#include "propertybrowser/pbcursorpropertymanager_p.h"

#include <QGlobalStatic>

// Made on first use and gone at program exit; later calls find none and
// answer as for an unknown shape.
Q_GLOBAL_STATIC(PbCursorDatabase, cursorDatabase)

PbCursorPropertyManager::PbCursorPropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbCursorPropertyManagerPrivate(this))
{
}

PbCursorPropertyManager::~PbCursorPropertyManager()
{
    clear();
    delete d_ptr;
}

QCursor PbCursorPropertyManager::value(const PbProperty *property) const
{
    return d_ptr->m_values.value(property, QCursor());
}

QString PbCursorPropertyManager::valueText(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    if (it == d_ptr->m_values.constEnd() || !cursorDatabase())
        return QString();
    return cursorDatabase()->shapeName(it.value());
}

QIcon PbCursorPropertyManager::valueIcon(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    if (it == d_ptr->m_values.constEnd() || !cursorDatabase())
        return QIcon();
    return cursorDatabase()->shapeIcon(it.value());
}

void PbCursorPropertyManager::setValue(PbProperty *property, const QCursor &val)
{
    const auto it = d_ptr->m_values.find(property);
    if (it == d_ptr->m_values.end())
        return;
    // Two bitmap cursors cannot be told apart by shape: always a change.
    if (it->shape() == val.shape() && val.shape() != Qt::BitmapCursor)
        return;
    it.value() = val;
    Q_EMIT propertyChanged(property);
    Q_EMIT valueChanged(property, val);
}

void PbCursorPropertyManager::initializeProperty(PbProperty *property) { d_ptr->m_values[property] = QCursor(); }

void PbCursorPropertyManager::uninitializeProperty(PbProperty *property) { d_ptr->m_values.remove(property); }
