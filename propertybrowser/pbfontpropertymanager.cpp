// Font properties: the parent holds the font, its seven rows follow it, an
// edit of a row changes that attribute of the parent, and the family rows
// follow the system's font database.
#include "propertybrowser/pbfontpropertymanager.h"

#include "propertybrowser/pbboolpropertymanager.h"
#include "propertybrowser/pbenumpropertymanager.h"
#include "propertybrowser/pbfontpropertymanager_p.h"
#include "propertybrowser/pbintpropertymanager.h"
#include "propertybrowser/pbpropertybrowserutils.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QGlobalStatic>
#include <QTimer>

using Private = PbFontPropertyManagerPrivate;

// Made on first use and gone at program exit; later calls find none and
// give an empty family list.
Q_GLOBAL_STATIC(QFontDatabase, fontDatabase)

namespace {

QStringList systemFamilies()
{
    QFontDatabase *db = fontDatabase();
    return db ? db->families() : QStringList();
}

// The boolean attributes in row order, from BoldRow on.
bool boolAttribute(const QFont &font, int row)
{
    switch (row) {
    case Private::BoldRow:
        return font.bold();
    case Private::ItalicRow:
        return font.italic();
    case Private::UnderlineRow:
        return font.underline();
    case Private::StrikeOutRow:
        return font.strikeOut();
    default:
        return font.kerning();
    }
}

void setBoolAttribute(QFont &font, int row, bool value)
{
    switch (row) {
    case Private::BoldRow:
        font.setBold(value);
        break;
    case Private::ItalicRow:
        font.setItalic(value);
        break;
    case Private::UnderlineRow:
        font.setUnderline(value);
        break;
    case Private::StrikeOutRow:
        font.setStrikeOut(value);
        break;
    default:
        font.setKerning(value);
        break;
    }
}

} // namespace

void PbFontPropertyManagerPrivate::pushValue(PbProperty *property, const QFont &val)
{
    const PbCompositeRows::PushScope pushing(m_rows, property);
    m_enumPropertyManager->setValue(m_rows.row(property, FamilyRow), familyIndex(val.family()));
    m_intPropertyManager->setValue(m_rows.row(property, PointSizeRow), val.pointSize(), true);
    for (int r = BoldRow; r <= KerningRow; ++r)
        m_boolPropertyManager->setValue(m_rows.row(property, r), boolAttribute(val, r));
}

PbFontPropertyManager::PbFontPropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbFontPropertyManagerPrivate(this))
{
    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), SIGNAL(fontDatabaseChanged()), this, SLOT(slotFontDatabaseChanged()));
    d_ptr->m_intPropertyManager = PbCompositeRules::createRowManager<PbIntPropertyManager>(
        this, SIGNAL(valueChanged(PbProperty*,int)), SLOT(slotIntChanged(PbProperty*,int)));
    d_ptr->m_enumPropertyManager = PbCompositeRules::createRowManager<PbEnumPropertyManager>(
        this, SIGNAL(valueChanged(PbProperty*,int)), SLOT(slotEnumChanged(PbProperty*,int)));
    d_ptr->m_boolPropertyManager = PbCompositeRules::createRowManager<PbBoolPropertyManager>(
        this, SIGNAL(valueChanged(PbProperty*,bool)), SLOT(slotBoolChanged(PbProperty*,bool)));
}

PbFontPropertyManager::~PbFontPropertyManager()
{
    clear();
    delete d_ptr;
}

PbIntPropertyManager *PbFontPropertyManager::subIntPropertyManager() const { return d_ptr->m_intPropertyManager; }
PbEnumPropertyManager *PbFontPropertyManager::subEnumPropertyManager() const { return d_ptr->m_enumPropertyManager; }
PbBoolPropertyManager *PbFontPropertyManager::subBoolPropertyManager() const { return d_ptr->m_boolPropertyManager; }

QFont PbFontPropertyManager::value(const PbProperty *property) const
{
    return d_ptr->m_values.value(property, QFont());
}

QString PbFontPropertyManager::valueText(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    return it == d_ptr->m_values.constEnd() ? QString() : PbPropertyBrowserUtils::fontText(it.value());
}

QIcon PbFontPropertyManager::valueIcon(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    return it == d_ptr->m_values.constEnd() ? QIcon() : PbPropertyBrowserUtils::fontSampleIcon(it.value());
}

void PbFontPropertyManager::setValue(PbProperty *property, const QFont &val)
{
    const auto it = d_ptr->m_values.find(property);
    if (it == d_ptr->m_values.end() || (it.value() == val && it->resolve() == val.resolve()))
        return;
    it.value() = val;
    d_ptr->pushValue(property, val);
    // A listener of the rows may have deleted the property meanwhile.
    const auto held = d_ptr->m_values.constFind(property);
    if (held != d_ptr->m_values.constEnd())
        PbCompositeRules::announceValue(this, property, held.value(), &PbFontPropertyManager::valueChanged);
}

void PbFontPropertyManager::slotIntChanged(PbProperty *row, int value)
{
    PbProperty *parent = d_ptr->m_rows.editedParent(row);
    if (!parent || d_ptr->m_rows.positionOf(row) != Private::PointSizeRow)
        return;
    QFont font = d_ptr->m_values.value(parent);
    font.setPointSize(value);
    setValue(parent, font);
}

void PbFontPropertyManager::slotEnumChanged(PbProperty *row, int value)
{
    PbProperty *parent = d_ptr->m_rows.editedParent(row);
    // An index outside the family list (an empty list, say) names no family.
    if (!parent || d_ptr->m_rows.positionOf(row) != Private::FamilyRow || value < 0
        || value >= d_ptr->m_familyNames.size())
        return;
    QFont font = d_ptr->m_values.value(parent);
    font.setFamily(d_ptr->m_familyNames.at(value));
    setValue(parent, font);
}

void PbFontPropertyManager::slotBoolChanged(PbProperty *row, bool value)
{
    PbProperty *parent = d_ptr->m_rows.editedParent(row);
    const int position = d_ptr->m_rows.positionOf(row);
    if (!parent || position < Private::BoldRow || position > Private::KerningRow)
        return;
    QFont font = d_ptr->m_values.value(parent);
    setBoolAttribute(font, position, value);
    setValue(parent, font);
}

void PbFontPropertyManager::slotPropertyDestroyed(PbProperty *row) { d_ptr->m_rows.forgetRow(row); }

void PbFontPropertyManager::slotFontDatabaseChanged()
{
    if (!d_ptr->m_fontDatabaseChangeTimer) {
        d_ptr->m_fontDatabaseChangeTimer = new QTimer(this);
        d_ptr->m_fontDatabaseChangeTimer->setInterval(0);
        d_ptr->m_fontDatabaseChangeTimer->setSingleShot(true);
        connect(d_ptr->m_fontDatabaseChangeTimer, SIGNAL(timeout()), this, SLOT(slotFontDatabaseDelayedChange()));
    }
    if (!d_ptr->m_fontDatabaseChangeTimer->isActive())
        d_ptr->m_fontDatabaseChangeTimer->start();
}

void PbFontPropertyManager::slotFontDatabaseDelayedChange()
{
    const QStringList oldFamilies = d_ptr->m_familyNames;
    d_ptr->m_familyNames = systemFamilies();
    // Not guarded: a family row that moves takes its parent font with it.
    // Properties are taken one by one, as a change may delete others.
    const QList<const PbProperty *> parents = d_ptr->m_values.keys();
    for (const PbProperty *parent : parents) {
        PbProperty *row = d_ptr->m_rows.row(parent, Private::FamilyRow);
        if (!row)
            continue;
        // An index the old list does not hold names nothing; it maps to 0.
        const QString oldName = oldFamilies.value(d_ptr->m_enumPropertyManager->value(row));
        const int newIndex = oldName.isEmpty() ? 0 : d_ptr->familyIndex(oldName);
        d_ptr->m_enumPropertyManager->setEnumNames(row, d_ptr->m_familyNames);
        d_ptr->m_enumPropertyManager->setValue(row, newIndex);
    }
}

void PbFontPropertyManager::initializeProperty(PbProperty *property)
{
    const QFont font;
    d_ptr->m_values[property] = font;
    if (d_ptr->m_familyNames.isEmpty())
        d_ptr->m_familyNames = systemFamilies();

    PbProperty *family = PbCompositeRows::createRow(d_ptr->m_enumPropertyManager, tr("Family"));
    d_ptr->m_enumPropertyManager->setEnumNames(family, d_ptr->m_familyNames);
    d_ptr->m_enumPropertyManager->setValue(family, d_ptr->familyIndex(font.family()));
    d_ptr->m_rows.attach(property, family);

    PbProperty *pointSize = PbCompositeRows::createRow(d_ptr->m_intPropertyManager, tr("Point Size"));
    d_ptr->m_intPropertyManager->setValue(pointSize, font.pointSize(), true);
    d_ptr->m_intPropertyManager->setMinimum(pointSize, 1);
    d_ptr->m_rows.attach(property, pointSize);

    const QString names[] = {tr("Bold"), tr("Italic"), tr("Underline"), tr("Strikeout"), tr("Kerning")};
    for (int r = Private::BoldRow; r <= Private::KerningRow; ++r) {
        PbProperty *row = PbCompositeRows::createRow(d_ptr->m_boolPropertyManager, names[r - Private::BoldRow]);
        d_ptr->m_boolPropertyManager->setValue(row, boolAttribute(font, r));
        d_ptr->m_rows.attach(property, row);
    }
}

void PbFontPropertyManager::uninitializeProperty(PbProperty *property)
{
    d_ptr->m_rows.deleteRows(property);
    d_ptr->m_values.remove(property);
}
