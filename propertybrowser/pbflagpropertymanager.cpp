// Flag sets: the parent holds the bits, one boolean row per flag name follows
// its bit, and checking a row sets the bit in the parent. Bits are tested in
// 64-bit arithmetic so that no shift reaches the width of an int.
#include "propertybrowser/pbflagpropertymanager.h"

#include "propertybrowser/pbboolpropertymanager.h"
#include "propertybrowser/pbflagpropertymanager_p.h"
#include "propertybrowser/pbrangerules_p.h"

using Data = PbFlagPropertyManagerPrivate::Data;

namespace {
bool isBitSet(int value, int bit) { return (qint64(value) >> bit) & 1; }
} // namespace

PbFlagPropertyManager::PbFlagPropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbFlagPropertyManagerPrivate(this))
{
    d_ptr->m_boolPropertyManager = PbCompositeRules::createRowManager<PbBoolPropertyManager>(
        this, SIGNAL(valueChanged(PbProperty*,bool)), SLOT(slotBoolChanged(PbProperty*,bool)));
}

PbFlagPropertyManager::~PbFlagPropertyManager()
{
    clear();
    delete d_ptr;
}

PbBoolPropertyManager *PbFlagPropertyManager::subBoolPropertyManager() const
{
    return d_ptr->m_boolPropertyManager;
}

int PbFlagPropertyManager::value(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::value, 0);
}

QStringList PbFlagPropertyManager::flagNames(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::flagNames);
}

QString PbFlagPropertyManager::valueText(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    if (it == d_ptr->m_values.constEnd())
        return QString();
    QStringList set;
    for (int bit = 0; bit < it->flagNames.size(); ++bit) {
        if (isBitSet(it->value, bit))
            set.append(it->flagNames.at(bit));
    }
    return set.join(QLatin1Char('|'));
}

void PbFlagPropertyManager::setValue(PbProperty *property, int val)
{
    const auto it = d_ptr->m_values.find(property);
    if (it == d_ptr->m_values.end() || it->value == val)
        return;
    const qint64 highest = (qint64(1) << it->flagNames.size()) - 1;
    if (val < 0 || val > highest)
        return;
    it->value = val;
    {
        const PbCompositeRows::PushScope pushing(d_ptr->m_rows, property);
        const QList<PbProperty *> rows = d_ptr->m_rows.rows(property);
        for (int bit = 0; bit < rows.size(); ++bit)
            d_ptr->m_boolPropertyManager->setValue(rows.at(bit), isBitSet(val, bit));
    }
    PbCompositeRules::announceRecord(this, d_ptr->m_values, property, &PbFlagPropertyManager::valueChanged);
}

void PbFlagPropertyManager::setFlagNames(PbProperty *property, const QStringList &names)
{
    auto it = d_ptr->m_values.find(property);
    if (it == d_ptr->m_values.end() || it->flagNames == names || names.size() > PbFlagPropertyManagerPrivate::maxFlags)
        return;
    it->flagNames = names;
    it->value = 0;
    // The old rows leave both maps before they are deleted, so that whatever
    // their deletion announces finds no half-removed list.
    d_ptr->m_rows.deleteRows(property);
    for (const QString &name : names) {
        PbProperty *row = PbCompositeRows::createRow(d_ptr->m_boolPropertyManager, name);
        d_ptr->m_rows.attach(property, row);
    }
    Q_EMIT flagNamesChanged(property, names);
    it = d_ptr->m_values.find(property);
    if (it == d_ptr->m_values.end())
        return;
    PbCompositeRules::announceRecord(this, d_ptr->m_values, property, &PbFlagPropertyManager::valueChanged);
}

void PbFlagPropertyManager::slotBoolChanged(PbProperty *row, bool value)
{
    PbProperty *parent = d_ptr->m_rows.editedParent(row);
    const int bit = d_ptr->m_rows.positionOf(row);
    if (!parent || bit < 0)
        return;
    const qint64 mask = qint64(1) << bit;
    qint64 flags = d_ptr->m_values.value(parent).value;
    flags = value ? (flags | mask) : (flags & ~mask);
    setValue(parent, int(flags));
}

void PbFlagPropertyManager::slotPropertyDestroyed(PbProperty *row) { d_ptr->m_rows.forgetRow(row); }

void PbFlagPropertyManager::initializeProperty(PbProperty *property) { d_ptr->m_values[property] = Data(); }

void PbFlagPropertyManager::uninitializeProperty(PbProperty *property)
{
    d_ptr->m_rows.deleteRows(property);
    d_ptr->m_values.remove(property);
}
