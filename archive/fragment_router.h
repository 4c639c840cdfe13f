// Output of a d block: splits its decoded data into the fragments its h
// block lists, checks each fragment's SHA-1 while it streams through, and
// writes each fragment to every place in every file that uses it. The
// trailer after the fragments is checked against the h block's sizes.
#pragma once

#include "block_output.h"
#include "journal.h"
#include "output_files.h"

#include <QCryptographicHash>

#include <vector>

namespace zpaq {

/// Where a fragment's bytes go: file index and offset in that file.
struct FragmentPlace
{
    std::size_t file;
    std::uint64_t offset;
};

class FragmentRouter : public BlockOutput
{
public:
    /// `places[k]` lists the places of `contents.fragments[k]`.
    FragmentRouter(const std::vector<Fragment> &fragments, const DataBlockContents &contents,
                   std::vector<std::vector<FragmentPlace>> places, FileWriterCache &writer,
                   std::size_t blockOffset);

    void beginSegment(std::size_t index, const SegmentLayout &segment) override;
    void write(const std::uint8_t *data, std::size_t size) override;
    void endSegment() override;

private:
    void finishEmptyFragments();

    const std::vector<Fragment> &m_fragments;
    const DataBlockContents &m_contents;
    std::vector<std::vector<FragmentPlace>> m_places;
    FileWriterCache &m_writer;
    std::size_t m_blockOffset;
    std::size_t m_current = 0;   // position in m_contents.fragments
    std::uint64_t m_within = 0;  // bytes of the current fragment seen
    QCryptographicHash m_hash{QCryptographicHash::Sha1};
    std::vector<std::uint8_t> m_trailer;
};

} // namespace zpaq
