// Streaming segments written into the files the planner chose.
#include "archive/stream_output.h"

namespace zpaq {

void StreamOutput::beginSegment(std::size_t, const SegmentLayout &)
{
    const long target = m_targets[m_segment++];
    if (target != m_target)
        m_offset = 0;
    m_target = target;
}

void StreamOutput::write(const std::uint8_t *data, std::size_t size)
{
    if (m_target < 0)
        return;
    m_writer.write(std::size_t(m_target), m_offset, data, size);
    m_offset += size;
}

void StreamOutput::endSegment()
{
    if (m_target >= 0)
        m_writer.folder().partDone(std::size_t(m_target));
}

} // namespace zpaq
