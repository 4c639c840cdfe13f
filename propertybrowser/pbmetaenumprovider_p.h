// Private part of PbMetaEnumProvider: the name lists and index maps, fixed
// once built.
#pragma once

#include "propertybrowser/pbmetaenumprovider.h"

#include <QMap>
#include <QMetaEnum>

class PbMetaEnumProviderPrivate
{
public:
    explicit PbMetaEnumProviderPrivate(PbMetaEnumProvider *q) : q_ptr(q) {}

    void initSizePolicies();
    void initLocales();

    PbMetaEnumProvider *q_ptr;
    QStringList m_sizePolicyNames;
    QStringList m_languageNames;
    QMap<QLocale::Language, QStringList> m_countryNames;
    QMap<int, QLocale::Language> m_indexToLanguage;
    QMap<QLocale::Language, int> m_languageToIndex;
    QMap<int, QMap<int, QLocale::Country>> m_indexToCountry;
    QMap<QLocale::Language, QMap<QLocale::Country, int>> m_countryToIndex;
    QMetaEnum m_policyEnum;
};
