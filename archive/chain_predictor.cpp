// Shape test and set-up of the chain model, and its work at a byte's end.
#include "archive/chain_predictor.h"

namespace zpaq {

bool ChainPredictor::fits(const BlockHeader &header)
{
    const std::vector<ComponentSpec> &comps = header.components;
    const std::size_t n = comps.size();
    if (n < 2 || n > kMaxComponents)
        return false;
    if (comps[0].type != ComponentType::Icm && comps[0].type != ComponentType::Cm)
        return false;
    std::size_t i = 1;
    while (i < n && comps[i].type == ComponentType::Isse && comps[i].p[1] == i - 1)
        ++i;
    if (i < n && comps[i].type == ComponentType::Match)
        ++i;
    // The parser has checked that MIX reads only earlier components.
    return i == n - 1 && comps[i].type == ComponentType::Mix;
}

ChainPredictor::ChainPredictor(const BlockHeader &header)
    : m_components(header.components.size()),
      m_count(header.components.size()),
      m_hcomp(header.hh, header.hm, header.hcomp)
{
    ZPAQ_ASSERT(fits(header));
    for (std::size_t i = 0; i < m_count; ++i) {
        ComponentState &c = m_components[i];
        c.spec = header.components[i];
        History &history = m_history[i];
        switch (c.spec.type) {
        case ComponentType::Cm:
            initCm(c);
            m_cm = c.table.data();
            m_cmMask = c.mask;
            m_cmLimit = c.spec.p[1] * kCountLimitScale;
            m_firstHistory = 1;
            break;
        case ComponentType::Icm:
        case ComponentType::Isse:
            if (c.spec.type == ComponentType::Icm)
                initIcm(c);
            else
                initIsse(c);
            history.bytes = c.history.bytes();
            history.mask = c.history.mask();
            history.bits = c.history.bits();
            history.weights = c.weights.data();
            m_chainEnd = i + 1;
            break;
        case ComponentType::Match:
            initMatch(c);
            m_match = &c;
            break;
        case ComponentType::Mix:
            initMix(c);
            m_mixWeights = c.weights.data();
            m_mixFirst = c.spec.p[1];
            m_mixInputs = c.spec.p[2];
            m_mixRate = c.spec.p[3];
            m_mixRow = m_mixWeights;
            m_mixesAll = m_mixFirst == 0 && std::size_t(m_mixInputs) == i;
            break;
        default: ZPAQ_ASSERT(false);
        }
    }
}

void ChainPredictor::runHcomp(std::uint32_t byte)
{
    m_hcomp.run(byte);
    for (std::size_t i = m_firstHistory; i < m_chainEnd; ++i)
        prefetchHashSlot(m_history[i].bytes, m_history[i].mask, m_hcomp.h(i) + 16);
    prefetchMix(m_components[m_count - 1], m_hcomp.h(m_count - 1), 1);
}

void ChainPredictor::takeContexts()
{
    for (std::size_t i = 0; i < m_count; ++i)
        m_contexts[i] = m_hcomp.h(i);
    // MATCH looks its context up when the next byte ends.
    if (m_match)
        prefetchMatch(*m_match, m_contexts[m_chainEnd]);
}

} // namespace zpaq
