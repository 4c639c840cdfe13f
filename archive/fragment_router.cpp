// Fragment splitting, checking and placing of a d block's output.
#include "archive/fragment_router.h"

#include "archive/byte_reader.h"
#include "archive/decode_error.h"

#include <algorithm>
#include <cstring>

namespace zpaq {

FragmentRouter::FragmentRouter(const std::vector<Fragment> &fragments,
                               const DataBlockContents &contents, std::vector<PlaceRun> runs,
                               FileWriterCache &writer, std::size_t blockOffset)
    : m_fragments(fragments),
      m_contents(contents),
      m_runs(std::move(runs)),
      m_writer(writer),
      m_blockOffset(blockOffset)
{
    startFragment();
}

void FragmentRouter::beginSegment(std::size_t index, const SegmentLayout &)
{
    ZPAQ_CHECK(index == 0, "data block at offset %zu has more than one segment", m_blockOffset);
    finishEmptyFragments();
}

void FragmentRouter::startFragment()
{
    while (m_nextRun < m_runs.size() && m_runs[m_nextRun].first == m_current)
        m_active.push_back(m_nextRun++);
}

// Closes the current fragment when it is complete (and any empty ones after
// it), checking its SHA-1; runs that end with it complete a part of their file.
void FragmentRouter::finishEmptyFragments()
{
    while (m_current < m_contents.count && m_within == fragment(m_current).size) {
        const QByteArray digest = m_hash.result();
        ZPAQ_CHECK(std::memcmp(digest.constData(), fragment(m_current).sha1, 20) == 0,
                   "SHA-1 mismatch in fragment %zu of the data block at offset %zu", m_current + 1,
                   m_blockOffset);
        m_hash.reset();
        for (std::size_t i = 0; i < m_active.size();) {
            const PlaceRun &run = m_runs[m_active[i]];
            if (run.last == m_current) {
                m_writer.folder().partDone(run.file);
                m_active[i] = m_active.back();
                m_active.pop_back();
            } else {
                ++i;
            }
        }
        m_within = 0;
        ++m_current;
        startFragment();
    }
}

void FragmentRouter::write(const std::uint8_t *data, std::size_t size)
{
    while (size > 0) {
        if (m_current >= m_contents.count) {
            const std::size_t limit = 4 * std::size_t(m_contents.count) + 8;
            ZPAQ_CHECK(m_trailer.size() + size <= limit,
                       "data block at offset %zu holds more than its fragments and trailer",
                       m_blockOffset);
            m_trailer.insert(m_trailer.end(), data, data + size);
            return;
        }
        const Fragment &f = fragment(m_current);
        const std::size_t take = std::size_t(std::min<std::uint64_t>(size, f.size - m_within));
        m_hash.addData(reinterpret_cast<const char *>(data), int(take));
        for (std::size_t r : m_active) {
            const PlaceRun &run = m_runs[r];
            m_writer.write(run.file, run.offset + (f.offset - fragment(run.first).offset) + m_within,
                           data, take);
        }
        m_within += take;
        data += take;
        size -= take;
        finishEmptyFragments();
    }
}

void FragmentRouter::endSegment()
{
    const std::size_t count = m_contents.count;
    ZPAQ_CHECK(m_current == count && m_trailer.size() == 4 * count + 8,
               "data block at offset %zu is shorter than its fragments and trailer",
               m_blockOffset);
    ByteReader in(m_trailer.data(), m_trailer.size());
    for (std::size_t k = 0; k < count; ++k)
        ZPAQ_CHECK(in.inU32le("trailer") == fragment(k).size,
                   "data block at offset %zu: trailer size of fragment %zu differs from its hash block",
                   m_blockOffset, k + 1);
    in.inU32le("trailer");
    ZPAQ_CHECK(in.inU32le("trailer") == count,
               "data block at offset %zu: trailer fragment count differs from its hash block",
               m_blockOffset);
}

} // namespace zpaq
