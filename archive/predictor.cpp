// Per-bit cycle of a block's context model: predict every component in
// order, update every component with the coded bit, then advance the
// partial byte and, at a byte end, the contexts.
#include "predictor.h"

#include "squash_stretch.h"

namespace zpaq {

Predictor::Stage Predictor::stageOf(ComponentType type)
{
    switch (type) {
    case ComponentType::Const: return {predictConst, nullptr};
    case ComponentType::Cm: return {predictCm, updateCm};
    case ComponentType::Icm: return {predictIcm, updateIcm};
    case ComponentType::Match: return {predictMatch, updateMatch};
    case ComponentType::Avg: return {predictAvg, nullptr};
    case ComponentType::Mix2: return {predictMix2, updateMix2};
    case ComponentType::Mix: return {predictMix, updateMix};
    case ComponentType::Isse: return {predictIsse, updateIsse};
    case ComponentType::Sse: break;
    }
    return {predictSse, updateSse};
}

Predictor::Predictor(const BlockHeader &header)
    : m_components(header.components.size()),
      m_outputs(header.components.size(), 0),
      m_contexts(header.components.size(), 0),
      m_hcomp(header.hh, header.hm, header.hcomp)
{
    ZPAQ_ASSERT(!header.components.empty());
    for (std::size_t i = 0; i < m_components.size(); ++i) {
        ComponentState &c = m_components[i];
        c.spec = header.components[i];
        switch (c.spec.type) {
        case ComponentType::Cm: initCm(c); break;
        case ComponentType::Icm:
            initIcm(c);
            m_hashed.push_back(i);
            break;
        case ComponentType::Match:
            initMatch(c);
            m_matches.push_back(i);
            break;
        case ComponentType::Mix2: initMix2(c); break;
        case ComponentType::Mix: initMix(c); break;
        case ComponentType::Isse:
            initIsse(c);
            m_hashed.push_back(i);
            break;
        case ComponentType::Sse: initSse(c); break;
        case ComponentType::Const:
        case ComponentType::Avg: break;
        }
        m_stages.push_back(stageOf(c.spec.type));
        if (m_stages.back().update)
            m_learners.push_back(i);
    }
}

// The slots of every hashed component are known at a byte's start, and one
// bit before the second nibble starts (one of two); asking for them all at
// once, early, lets their cache misses overlap.
void Predictor::prefetchSlots(std::uint32_t c8)
{
    for (std::size_t i : m_hashed)
        m_components[i].history.prefetch(m_contexts[i] + 16 * c8);
}

int Predictor::predict()
{
    int *P = m_outputs.data();
    // The bit histories do not depend on this bit's predictions: looking
    // them all up first lets their loads overlap.
    for (std::size_t i : m_hashed)
        lookUpHistory(m_components[i], m_contexts[i], m_bits);
    const std::size_t n = m_stages.size();
    for (std::size_t i = 0; i < n; ++i)
        P[i] = m_stages[i].predict(m_components[i], m_contexts[i], m_bits, P);
    return squash(P[m_components.size() - 1]);
}

void Predictor::update(int y)
{
    const int *P = m_outputs.data();
    for (std::size_t i : m_learners)
        m_stages[i].update(m_components[i], y, m_contexts[i], P);
    m_bits.c8 = m_bits.c8 * 2 + std::uint32_t(y);
    if (m_bits.c8 >= 256) {
        m_hcomp.run(m_bits.c8 - 256);
        for (std::size_t i = 0; i < m_contexts.size(); ++i)
            m_contexts[i] = m_hcomp.h(i);
        // MATCH looks its context up when the next byte ends.
        for (std::size_t i : m_matches)
            prefetchMatch(m_components[i], m_contexts[i]);
        m_bits.c8 = 1;
        m_bits.hmap4 = 1;
        prefetchSlots(1);
    } else if (m_bits.c8 >= 16 && m_bits.c8 < 32) {
        m_bits.hmap4 = m_bits.c8 * 16 + 1;
    } else if (m_bits.c8 < 16) {
        m_bits.hmap4 = m_bits.c8;
        if (m_bits.c8 >= 8) {
            prefetchSlots(m_bits.c8 * 2);
            prefetchSlots(m_bits.c8 * 2 + 1);
        }
    } else {
        m_bits.hmap4 += (m_bits.hmap4 & 15) + std::uint32_t(y);
    }
}

} // namespace zpaq
