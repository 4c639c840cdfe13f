// Locales: the parent holds the locale, its Language and Country rows show
// the positions of its language and country in the provider's tables, and an
// edit of a row makes a new locale of the chosen language and country.
#include "propertybrowser/pblocalepropertymanager.h"

#include "propertybrowser/pbenumpropertymanager.h"
#include "propertybrowser/pblocalepropertymanager_p.h"
#include "propertybrowser/pbmetaenumprovider.h"
#include "propertybrowser/pbrangerules_p.h"

using Data = PbLocalePropertyManagerPrivate::Data;
using Row = PbLocalePropertyManagerPrivate::Row;

namespace {

// The tables are gone only while the process exits; then nothing has an index.
struct LocaleIndices
{
    int language = -1;
    int country = -1;
};

LocaleIndices indicesOf(const QLocale &locale)
{
    LocaleIndices indices;
    if (const PbMetaEnumProvider *provider = metaEnumProvider())
        provider->localeIndices(locale.language(), locale.country(), &indices.language, &indices.country);
    return indices;
}

QStringList countryNamesOf(QLocale::Language language)
{
    const PbMetaEnumProvider *provider = metaEnumProvider();
    return provider ? provider->countryNames(language) : QStringList();
}

} // namespace

PbLocalePropertyManager::PbLocalePropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbLocalePropertyManagerPrivate(this))
{
    d_ptr->m_enumPropertyManager = PbCompositeRules::createRowManager<PbEnumPropertyManager>(
        this, SIGNAL(valueChanged(PbProperty*,int)), SLOT(slotEnumChanged(PbProperty*,int)));
}

PbLocalePropertyManager::~PbLocalePropertyManager()
{
    clear();
    delete d_ptr;
}

PbEnumPropertyManager *PbLocalePropertyManager::enumSubManager() const { return d_ptr->m_enumPropertyManager; }

QLocale PbLocalePropertyManager::value(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::value);
}

QString PbLocalePropertyManager::valueText(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    const PbMetaEnumProvider *provider = metaEnumProvider();
    if (it == d_ptr->m_values.constEnd() || !provider)
        return QString();
    const LocaleIndices indices = indicesOf(it->value);
    const QString language = provider->languageNames().value(indices.language);
    const QString country = provider->countryNames(it->value.language()).value(indices.country);
    return tr("%1, %2").arg(language, country);
}

void PbLocalePropertyManager::setValue(PbProperty *property, const QLocale &val)
{
    const auto it = d_ptr->m_values.find(property);
    if (it == d_ptr->m_values.end() || it->value == val)
        return;
    const QLocale old = it->value;
    it->value = val;
    const LocaleIndices indices = indicesOf(val);
    {
        // New country names reset the country row, and a row may refuse an
        // index: none of that may come back as an edit of the parent.
        const PbCompositeRows::PushScope pushing(d_ptr->m_rows, property);
        PbEnumPropertyManager *enums = d_ptr->m_enumPropertyManager;
        if (val.language() != old.language()) {
            enums->setValue(d_ptr->m_rows.row(property, Row::LanguageRow), indices.language);
            enums->setEnumNames(d_ptr->m_rows.row(property, Row::CountryRow), countryNamesOf(val.language()));
        }
        enums->setValue(d_ptr->m_rows.row(property, Row::CountryRow), indices.country);
    }
    PbCompositeRules::announceRecord(this, d_ptr->m_values, property, &PbLocalePropertyManager::valueChanged);
}

void PbLocalePropertyManager::slotEnumChanged(PbProperty *row, int value)
{
    PbProperty *parent = d_ptr->m_rows.editedParent(row);
    const PbMetaEnumProvider *provider = metaEnumProvider();
    if (!parent || !provider)
        return;
    const QLocale old = d_ptr->m_values.value(parent).value;
    QLocale::Language language = QLocale::C;
    QLocale::Country country = QLocale::AnyCountry;
    if (d_ptr->m_rows.positionOf(row) == Row::LanguageRow) {
        provider->localeAt(value, 0, &language, nullptr);
        country = old.country();
    } else {
        const int languageIndex = d_ptr->m_enumPropertyManager->value(d_ptr->m_rows.row(parent, Row::LanguageRow));
        provider->localeAt(languageIndex, value, &language, &country);
    }
    setValue(parent, QLocale(language, country));
}

void PbLocalePropertyManager::slotPropertyDestroyed(PbProperty *row) { d_ptr->m_rows.forgetRow(row); }

void PbLocalePropertyManager::initializeProperty(PbProperty *property)
{
    const QLocale locale;
    d_ptr->m_values[property] = Data{locale};
    const LocaleIndices indices = indicesOf(locale);
    const PbMetaEnumProvider *provider = metaEnumProvider();
    PbEnumPropertyManager *enums = d_ptr->m_enumPropertyManager;

    PbProperty *languageRow = PbCompositeRows::createRow(enums, tr("Language"));
    enums->setEnumNames(languageRow, provider ? provider->languageNames() : QStringList());
    enums->setValue(languageRow, indices.language);
    d_ptr->m_rows.attach(property, languageRow);

    PbProperty *countryRow = PbCompositeRows::createRow(enums, tr("Country"));
    enums->setEnumNames(countryRow, countryNamesOf(locale.language()));
    enums->setValue(countryRow, indices.country);
    d_ptr->m_rows.attach(property, countryRow);
}

void PbLocalePropertyManager::uninitializeProperty(PbProperty *property)
{
    d_ptr->m_rows.deleteRows(property);
    d_ptr->m_values.remove(property);
}
