// Fragment splitting, checking and placing of a d block's output.
#include "fragment_router.h"

#include "byte_reader.h"
#include "decode_error.h"

#include <algorithm>
#include <cstring>

namespace zpaq {

FragmentRouter::FragmentRouter(const std::vector<Fragment> &fragments,
                               const DataBlockContents &contents,
                               std::vector<std::vector<FragmentPlace>> places,
                               FileWriterCache &writer, std::size_t blockOffset)
    : m_fragments(fragments),
      m_contents(contents),
      m_places(std::move(places)),
      m_writer(writer),
      m_blockOffset(blockOffset)
{
}

void FragmentRouter::beginSegment(std::size_t index, const SegmentLayout &)
{
    ZPAQ_CHECK(index == 0, "data block at offset %zu has more than one segment", m_blockOffset);
    finishEmptyFragments();
}

// Closes the current fragment when it is complete (and any empty ones after
// it), checking its SHA-1.
void FragmentRouter::finishEmptyFragments()
{
    const auto &ids = m_contents.fragments;
    while (m_current < ids.size() && m_within == m_fragments[ids[m_current]].size) {
        const QByteArray digest = m_hash.result();
        ZPAQ_CHECK(std::memcmp(digest.constData(), m_fragments[ids[m_current]].sha1, 20) == 0,
                   "SHA-1 mismatch in fragment %zu of the data block at offset %zu", m_current + 1,
                   m_blockOffset);
        m_hash.reset();
        m_within = 0;
        ++m_current;
    }
}

void FragmentRouter::write(const std::uint8_t *data, std::size_t size)
{
    const auto &ids = m_contents.fragments;
    while (size > 0) {
        if (m_current >= ids.size()) {
            const std::size_t limit = 4 * ids.size() + 8;
            ZPAQ_CHECK(m_trailer.size() + size <= limit,
                       "data block at offset %zu holds more than its fragments and trailer",
                       m_blockOffset);
            m_trailer.insert(m_trailer.end(), data, data + size);
            return;
        }
        const Fragment &f = m_fragments[ids[m_current]];
        const std::size_t take = std::size_t(std::min<std::uint64_t>(size, f.size - m_within));
        m_hash.addData(reinterpret_cast<const char *>(data), int(take));
        for (const FragmentPlace &place : m_places[m_current])
            m_writer.write(place.file, place.offset + m_within, data, take);
        m_within += take;
        data += take;
        size -= take;
        finishEmptyFragments();
    }
}

void FragmentRouter::endSegment()
{
    const auto &ids = m_contents.fragments;
    ZPAQ_CHECK(m_current == ids.size() && m_trailer.size() == 4 * ids.size() + 8,
               "data block at offset %zu is shorter than its fragments and trailer",
               m_blockOffset);
    ByteReader in(m_trailer.data(), m_trailer.size());
    for (std::size_t k = 0; k < ids.size(); ++k)
        ZPAQ_CHECK(in.inU32le("trailer") == m_fragments[ids[k]].size,
                   "data block at offset %zu: trailer size of fragment %zu differs from its hash block",
                   m_blockOffset, k + 1);
    in.inU32le("trailer");
    ZPAQ_CHECK(in.inU32le("trailer") == ids.size(),
               "data block at offset %zu: trailer fragment count differs from its hash block",
               m_blockOffset);
}

} // namespace zpaq
