// Per-bit cycle of a block's context model: predict every component in
// order, update every component with the coded bit, then advance the
// partial byte and, at a byte end, the contexts. Each component's step is
// inline in one switch, so the cycle makes no call per component.
#include "predictor.h"

#include "counter_components.h"
#include "history_components.h"
#include "match_component.h"
#include "mixer_components.h"
#include "squash_stretch.h"

namespace zpaq {

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
        case ComponentType::Mix:
            initMix(c);
            m_mixers.push_back(i);
            break;
        case ComponentType::Isse:
            initIsse(c);
            m_hashed.push_back(i);
            break;
        case ComponentType::Sse: initSse(c); break;
        case ComponentType::Const:
        case ComponentType::Avg: break;
        }
        m_kinds.push_back(c.spec.type);
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
    ComponentState *const comps = m_components.data();
    const std::uint32_t *const h = m_contexts.data();
    // The bit histories do not depend on this bit's predictions: looking
    // them all up first lets their loads overlap.
    for (std::size_t i : m_hashed)
        lookUpHistory(comps[i], h[i], m_bits);
    // So does the choice of MIX weight rows for the next bit.
    if (m_bits.c8 < 128)
        for (std::size_t i : m_mixers)
            prefetchMix(comps[i], h[i], m_bits.c8 * 2);
    const std::size_t n = m_kinds.size();
    for (std::size_t i = 0; i < n; ++i) {
        ComponentState &c = comps[i];
        switch (m_kinds[i]) {
        case ComponentType::Const: P[i] = predictConst(c); break;
        case ComponentType::Cm: P[i] = predictCm(c, h[i], m_bits); break;
        case ComponentType::Icm: P[i] = predictIcm(c); break;
        case ComponentType::Match: P[i] = predictMatch(c); break;
        case ComponentType::Avg: P[i] = predictAvg(c, P); break;
        case ComponentType::Mix2: P[i] = predictMix2(c, h[i], m_bits, P); break;
        case ComponentType::Mix: P[i] = predictMix(c, h[i], m_bits, P); break;
        case ComponentType::Isse: P[i] = predictIsse(c, P); break;
        case ComponentType::Sse: P[i] = predictSse(c, h[i], m_bits, P); break;
        }
    }
    return squash(P[n - 1]);
}

void Predictor::update(int y)
{
    const int *P = m_outputs.data();
    ComponentState *const comps = m_components.data();
    const std::size_t n = m_kinds.size();
    for (std::size_t i = 0; i < n; ++i) {
        ComponentState &c = comps[i];
        switch (m_kinds[i]) {
        case ComponentType::Const:
        case ComponentType::Avg: break;
        case ComponentType::Cm: updateCm(c, y); break;
        case ComponentType::Icm: updateIcm(c, y); break;
        case ComponentType::Match: updateMatch(c, y, m_contexts[i]); break;
        case ComponentType::Mix2: updateMix2(c, y, P); break;
        case ComponentType::Mix: updateMix(c, y, P); break;
        case ComponentType::Isse: updateIsse(c, y, P); break;
        case ComponentType::Sse: updateSse(c, y); break;
        }
    }
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
        for (std::size_t i : m_mixers)
            prefetchMix(m_components[i], m_contexts[i], 1);
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
