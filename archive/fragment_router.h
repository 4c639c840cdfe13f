// Output of a d block: splits its decoded data into the fragments its h
// block lists, checks each fragment's SHA-1 while it streams through, and
// writes each fragment to every place in every file that uses it. A run of
// places that has been written and checked completes one part of its file.
// The trailer after the fragments is checked against the h block's sizes.
#pragma once

#include "archive/block_output.h"
#include "archive/journal.h"
#include "archive/output_files.h"

#include <QCryptographicHash>

#include <vector>

namespace zpaq {

/// Fragments first .. last (positions in the d block, inclusive) written one
/// after the other into `file` from `offset` on.
struct PlaceRun
{
    std::uint32_t file;
    std::uint32_t first;
    std::uint32_t last;
    std::uint64_t offset;
};

class FragmentRouter : public BlockOutput
{
public:
    /// `runs` are sorted by `first`.
    FragmentRouter(const std::vector<Fragment> &fragments, const DataBlockContents &contents,
                   std::vector<PlaceRun> runs, FileWriterCache &writer, std::size_t blockOffset);

    void beginSegment(std::size_t index, const SegmentLayout &segment) override;
    void write(const std::uint8_t *data, std::size_t size) override;
    void endSegment() override;

private:
    const Fragment &fragment(std::size_t position) const
    {
        return m_fragments[m_contents.firstFragment + position];
    }
    void startFragment();
    void finishEmptyFragments();

    const std::vector<Fragment> &m_fragments;
    const DataBlockContents &m_contents;
    std::vector<PlaceRun> m_runs;
    std::size_t m_nextRun = 0;
    std::vector<std::size_t> m_active; // runs that hold the current fragment
    FileWriterCache &m_writer;
    std::size_t m_blockOffset;
    std::size_t m_current = 0;   // position in the block
    std::uint64_t m_within = 0;  // bytes of the current fragment seen
    QCryptographicHash m_hash{QCryptographicHash::Sha1};
    std::vector<std::uint8_t> m_trailer;
};

} // namespace zpaq
