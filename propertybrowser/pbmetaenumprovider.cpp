// Language, country and size-policy name tables for the locale and
// size-policy managers.
#include "propertybrowser/pbmetaenumprovider.h"

#include "propertybrowser/pbmetaenumprovider_p.h"
#include "propertybrowser/pbmetaenumwrapper_p.h"

#include <QMetaProperty>

#include <algorithm>

void PbMetaEnumProviderPrivate::initSizePolicies()
{
    const QMetaObject &meta = PbMetaEnumWrapper::staticMetaObject;
    m_policyEnum = meta.property(meta.indexOfProperty("policy")).enumerator();
    for (int i = 0; i < m_policyEnum.keyCount(); ++i)
        m_sizePolicyNames.append(QString::fromLatin1(m_policyEnum.key(i)));
}

void PbMetaEnumProviderPrivate::initLocales()
{
    // Every language this Qt knows, keyed (and so ordered) by its name; a code
    // that QLocale maps to another language has no data of its own.
    QMap<QString, QLocale::Language> byName;
    for (int code = QLocale::C; code <= QLocale::LastLanguage; ++code) {
        const auto language = static_cast<QLocale::Language>(code);
        if (QLocale(language).language() == language)
            byName.insert(QLocale::languageToString(language), language);
    }
    const QLocale system = QLocale::system();
    if (!byName.contains(QLocale::languageToString(system.language())))
        byName.insert(QLocale::languageToString(system.language()), system.language());

    for (const QLocale::Language language : qAsConst(byName)) {
        QList<QLocale::Country> countries = QLocale::countriesForLanguage(language);
        if (countries.isEmpty() && language == system.language())
            countries << system.country();
        if (countries.isEmpty() || m_languageToIndex.contains(language))
            continue;
        std::sort(countries.begin(), countries.end(), [](QLocale::Country a, QLocale::Country b) {
            return QLocale::countryToString(a) < QLocale::countryToString(b);
        });
        const int languageIndex = m_languageNames.size();
        m_indexToLanguage.insert(languageIndex, language);
        m_languageToIndex.insert(language, languageIndex);
        QStringList names;
        for (int countryIndex = 0; countryIndex < countries.size(); ++countryIndex) {
            const QLocale::Country country = countries.at(countryIndex);
            names.append(QLocale::countryToString(country));
            m_indexToCountry[languageIndex].insert(countryIndex, country);
            m_countryToIndex[language].insert(country, countryIndex);
        }
        m_languageNames.append(QLocale::languageToString(language));
        m_countryNames.insert(language, names);
    }
}

PbMetaEnumProvider::PbMetaEnumProvider() : d_ptr(new PbMetaEnumProviderPrivate(this))
{
    d_ptr->initSizePolicies();
    d_ptr->initLocales();
}

PbMetaEnumProvider::~PbMetaEnumProvider() { delete d_ptr; }

QStringList PbMetaEnumProvider::sizePolicyNames() const { return d_ptr->m_sizePolicyNames; }
QStringList PbMetaEnumProvider::languageNames() const { return d_ptr->m_languageNames; }

QStringList PbMetaEnumProvider::countryNames(QLocale::Language language) const
{
    return d_ptr->m_countryNames.value(language);
}

QSizePolicy::Policy PbMetaEnumProvider::sizePolicyAt(int index) const
{
    if (index < 0 || index >= d_ptr->m_policyEnum.keyCount())
        return QSizePolicy::Fixed;
    return static_cast<QSizePolicy::Policy>(d_ptr->m_policyEnum.value(index));
}

int PbMetaEnumProvider::sizePolicyIndex(QSizePolicy::Policy policy) const
{
    for (int i = 0; i < d_ptr->m_policyEnum.keyCount(); ++i) {
        if (d_ptr->m_policyEnum.value(i) == policy)
            return i;
    }
    return -1;
}

void PbMetaEnumProvider::localeAt(int languageIndex, int countryIndex, QLocale::Language *language,
                                  QLocale::Country *country) const
{
    if (language)
        *language = d_ptr->m_indexToLanguage.value(languageIndex, QLocale::C);
    if (country)
        *country = d_ptr->m_indexToCountry.value(languageIndex).value(countryIndex, QLocale::AnyCountry);
}

void PbMetaEnumProvider::localeIndices(QLocale::Language language, QLocale::Country country, int *languageIndex,
                                       int *countryIndex) const
{
    if (languageIndex)
        *languageIndex = d_ptr->m_languageToIndex.value(language, -1);
    if (countryIndex)
        *countryIndex = d_ptr->m_countryToIndex.value(language).value(country, -1);
}

Q_GLOBAL_STATIC(PbMetaEnumProvider, theMetaEnumProvider)

PbMetaEnumProvider *metaEnumProvider() { return theMetaEnumProvider(); }
