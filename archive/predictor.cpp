// Per-bit cycle of a block's context model: predict every component in
// order, update every component with the coded bit, then advance the
// partial byte and, at a byte end, the contexts. The components' steps are
// inline and grouped by kind wherever their order does not matter, so the
// cycle makes no call and few choices per component.
#include "archive/predictor.h"

#include "archive/counter_components.h"
#include "archive/history_components.h"
#include "archive/match_component.h"
#include "archive/mix_kernel.h"
#include "archive/mixer_components.h"
#include "archive/squash_stretch.h"

namespace zpaq {

Predictor::Predictor(const BlockHeader &header)
    : m_components(header.components.size()),
      m_outputs(header.components.size() + kMixSlack, 0), // MIX reads a group past its inputs
      m_contexts(header.components.size(), 0),
      m_hcomp(header.hh, header.hm, header.hcomp)
{
    ZPAQ_ASSERT(!header.components.empty());
    for (std::size_t i = 0; i < m_components.size(); ++i) {
        ComponentState &c = m_components[i];
        c.spec = header.components[i];
        switch (c.spec.type) {
        case ComponentType::Const: m_outputs[i] = predictConst(c); break;
        case ComponentType::Cm:
            initCm(c);
            m_cms.push_back(i);
            break;
        case ComponentType::Icm:
            initIcm(c);
            m_icms.push_back(i);
            m_hashed.push_back(i);
            break;
        case ComponentType::Match:
            initMatch(c);
            m_matches.push_back(i);
            break;
        case ComponentType::Avg: break;
        case ComponentType::Mix2:
            initMix2(c);
            m_mix2s.push_back(i);
            break;
        case ComponentType::Mix:
            initMix(c);
            m_mixes.push_back(i);
            break;
        case ComponentType::Isse:
            initIsse(c);
            m_isses.push_back(i);
            m_hashed.push_back(i);
            break;
        case ComponentType::Sse:
            initSse(c);
            m_sses.push_back(i);
            break;
        }
        switch (c.spec.type) {
        case ComponentType::Avg:
        case ComponentType::Mix2:
        case ComponentType::Mix:
        case ComponentType::Isse:
        case ComponentType::Sse:
            if (c.spec.type == ComponentType::Isse && !m_chained.empty() &&
                m_chained.back().kind == ComponentType::Isse &&
                m_chained.back().first + m_chained.back().count == i && c.spec.p[1] == i - 1)
                ++m_chained.back().count;
            else
                m_chained.push_back({c.spec.type, std::uint32_t(i), 1});
            break;
        default: break;
        }
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
    int *const P = m_outputs.data();
    ComponentState *const comps = m_components.data();
    const std::uint32_t *const h = m_contexts.data();
    const BitContext bits = m_bits;
    // The bit histories do not depend on this bit's predictions: looking
    // them all up first lets their loads overlap.
    for (std::size_t i : m_hashed)
        lookUpHistory(comps[i], h[i], bits);
    // So does the choice of MIX weight rows for the next bit.
    if (bits.c8 < 128)
        for (std::size_t i : m_mixes)
            prefetchMix(comps[i], h[i], bits.c8 * 2);
    for (std::size_t i : m_icms)
        P[i] = predictIcm(comps[i]);
    for (std::size_t i : m_matches)
        P[i] = predictMatch(comps[i]);
    for (std::size_t i : m_cms)
        P[i] = predictCm(comps[i], h[i], bits);
    for (const ChainStep &step : m_chained) {
        const std::size_t i = step.first;
        ComponentState &c = comps[i];
        switch (step.kind) {
        case ComponentType::Isse: predictIsseRun(comps, i, step.count, P); break;
        case ComponentType::Mix: P[i] = predictMix(c, h[i], bits, P); break;
        case ComponentType::Mix2: P[i] = predictMix2(c, h[i], bits, P); break;
        case ComponentType::Avg: P[i] = predictAvg(c, P); break;
        case ComponentType::Sse: P[i] = predictSse(c, h[i], bits, P); break;
        default: break;
        }
    }
    return squash(P[m_components.size() - 1]);
}

void Predictor::update(int y)
{
    const int *const P = m_outputs.data();
    ComponentState *const comps = m_components.data();
    const std::uint32_t c8 = m_bits.c8 * 2 + std::uint32_t(y);
    const bool byteEnd = c8 >= 256;
    // HCOMP reads nothing the updates change, so at a byte's end it runs
    // first: the slots of the next byte's contexts then load while the
    // components learn (MATCH still learns under the old contexts). So do
    // the two slots the second nibble may start with, and the MIX rows.
    if (byteEnd) {
        m_hcomp.run(c8 - 256);
        for (std::size_t i : m_hashed)
            comps[i].history.prefetch(m_hcomp.h(i) + 16);
        for (std::size_t i : m_mixes)
            prefetchMix(comps[i], m_hcomp.h(i), 1);
    } else if (c8 >= 8 && c8 < 16) {
        prefetchSlots(c8 * 2);
        prefetchSlots(c8 * 2 + 1);
    }
    for (std::size_t i : m_icms)
        updateIcm(comps[i], y);
    for (std::size_t i : m_isses)
        updateIsse(comps[i], y, P);
    for (std::size_t i : m_mixes)
        updateMix(comps[i], y, P);
    for (std::size_t i : m_matches)
        updateMatch(comps[i], y, m_contexts[i]);
    for (std::size_t i : m_cms)
        updateCm(comps[i], y);
    for (std::size_t i : m_mix2s)
        updateMix2(comps[i], y, P);
    for (std::size_t i : m_sses)
        updateSse(comps[i], y);
    m_bits.advance(c8, y);
    if (byteEnd) {
        for (std::size_t i = 0; i < m_contexts.size(); ++i)
            m_contexts[i] = m_hcomp.h(i);
        // MATCH looks its context up when the next byte ends.
        for (std::size_t i : m_matches)
            prefetchMatch(comps[i], m_contexts[i]);
    }
}

} // namespace zpaq
