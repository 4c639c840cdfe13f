// The process-wide lists of language names, country names per language and
// size-policy names, with the translations between list positions and the
// QLocale and QSizePolicy values. Built once on first use.
#pragma once

#include <QLocale>
#include <QSizePolicy>
#include <QStringList>

class PbMetaEnumProviderPrivate;

class PbMetaEnumProvider
{
public:
    PbMetaEnumProvider();
    ~PbMetaEnumProvider();

    /// The key names of QSizePolicy::Policy in declaration order.
    QStringList sizePolicyNames() const;
    /// One name per language that has at least one country, in name order.
    QStringList languageNames() const;
    /// The language's country names in name order; empty for a language
    /// without an index.
    QStringList countryNames(QLocale::Language language) const;

    /// The policy of the key at `index`; QSizePolicy::Fixed past the keys.
    QSizePolicy::Policy sizePolicyAt(int index) const;
    /// The first index whose key has the value `policy`; -1 when none.
    int sizePolicyIndex(QSizePolicy::Policy policy) const;

    /// The language at `languageIndex` (else QLocale::C) and its country at
    /// `countryIndex` (else QLocale::AnyCountry); null outputs are skipped.
    void localeAt(int languageIndex, int countryIndex, QLocale::Language *language,
                  QLocale::Country *country) const;
    /// The indices of a language and of a country under it; -1 for either
    /// that has none; null outputs are skipped.
    void localeIndices(QLocale::Language language, QLocale::Country country, int *languageIndex,
                       int *countryIndex) const;

private:
    Q_DISABLE_COPY(PbMetaEnumProvider)
    PbMetaEnumProviderPrivate *d_ptr;
    friend class PbMetaEnumProviderPrivate;
};

/// The provider, built on first use (thread-safe); null once it has been
/// destroyed at process exit.
PbMetaEnumProvider *metaEnumProvider();
