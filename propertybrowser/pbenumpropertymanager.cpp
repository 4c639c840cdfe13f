// Enumeration properties: an index into a list of names with optional icons,
// and a second value setter that editors follow without a value update.
#include "propertybrowser/pbenumpropertymanager.h"

#include "propertybrowser/pbenumpropertymanager_p.h"
#include "propertybrowser/pbrangerules_p.h"

using Data = PbEnumPropertyManagerPrivate::Data;

bool PbEnumPropertyManagerPrivate::storeValue(const PbProperty *property, int val)
{
    const auto it = m_values.find(property);
    if (it == m_values.end())
        return false;
    const int count = it->enumNames.count();
    if (val >= count)
        return false;
    if (val < 0) {
        if (count > 0)
            return false;
        val = -1;
    }
    if (it->value == val)
        return false;
    it->value = val;
    return true;
}

PbEnumPropertyManager::PbEnumPropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbEnumPropertyManagerPrivate(this))
{
}

PbEnumPropertyManager::~PbEnumPropertyManager()
{
    clear();
    delete d_ptr;
}

int PbEnumPropertyManager::value(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::value, -1);
}

QStringList PbEnumPropertyManager::enumNames(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::enumNames, QStringList());
}

QMap<int, QIcon> PbEnumPropertyManager::enumIcons(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::enumIcons, QMap<int, QIcon>());
}

QString PbEnumPropertyManager::valueText(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    if (it == d_ptr->m_values.constEnd() || it->value < 0 || it->value >= it->enumNames.count())
        return QString("");
    return it->enumNames.at(it->value);
}

QIcon PbEnumPropertyManager::valueIcon(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    if (it == d_ptr->m_values.constEnd())
        return QIcon();
    return it->enumIcons.value(it->value);
}

void PbEnumPropertyManager::setValue(PbProperty *property, int val)
{
    if (!d_ptr->storeValue(property, val))
        return;
    const int stored = value(property);
    Q_EMIT propertyChanged(property);
    Q_EMIT valueChanged(property, stored);
}

void PbEnumPropertyManager::setValueNoUpdate(PbProperty *property, int val)
{
    if (!d_ptr->storeValue(property, val))
        return;
    const int stored = value(property);
    Q_EMIT propertyChanged(property);
    Q_EMIT valueChangedNoUpdate(property, stored);
}

void PbEnumPropertyManager::setEnumNames(PbProperty *property, const QStringList &names)
{
    auto it = d_ptr->m_values.find(property);
    if (it == d_ptr->m_values.end() || it->enumNames == names)
        return;
    it->enumNames = names;
    // The previous index is not carried over, even when it would still fit.
    it->value = names.isEmpty() ? -1 : 0;
    const QStringList storedNames = it->enumNames;
    Q_EMIT enumNamesChanged(property, storedNames);
    // A listener of the names may have picked another index or deleted the
    // property: announce only what the record holds now.
    it = d_ptr->m_values.find(property);
    if (it == d_ptr->m_values.end())
        return;
    const int storedValue = it->value;
    Q_EMIT propertyChanged(property);
    Q_EMIT valueChanged(property, storedValue);
}

void PbEnumPropertyManager::setEnumIcons(PbProperty *property, const QMap<int, QIcon> &icons)
{
    const auto it = d_ptr->m_values.find(property);
    if (it == d_ptr->m_values.end())
        return;
    it->enumIcons = icons;
    const QMap<int, QIcon> stored = it->enumIcons;
    Q_EMIT enumIconsChanged(property, stored);
    if (d_ptr->m_values.contains(property))
        Q_EMIT propertyChanged(property);
}

void PbEnumPropertyManager::initializeProperty(PbProperty *property) { d_ptr->m_values[property] = Data(); }

void PbEnumPropertyManager::uninitializeProperty(PbProperty *property) { d_ptr->m_values.remove(property); }
