// The container layer: finds the blocks of an archive (behind locator tags,
// at its start or right after the previous block) and the layout of their
// segments, without decoding any data, so that blocks can be decoded later
// and in parallel.
#pragma once

#include "archive/block_header.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zpaq {

struct SegmentLayout
{
    std::string name;
    std::string comment;
    std::size_t offset = 0;    // of the segment's 01 byte
    std::size_t dataBegin = 0; // coded data or first chunk
    std::size_t dataEnd = 0;   // after the trailing zeros or the 0 chunk
    bool hasSha1 = false;
    std::uint8_t sha1[20] = {};
};

struct BlockLayout
{
    std::size_t start = 0;        // locator tag, or "zPQ" when untagged
    std::size_t headerOffset = 0; // "zPQ"
    std::size_t end = 0;          // after the final FF
    BlockHeader header;
    std::vector<SegmentLayout> segments;
};

class BlockScanner
{
public:
    /// Throws DecodeError when the archive holds no block at all (an
    /// encrypted archive or another format).
    explicit BlockScanner(const ArchiveInput &input);

    /// Lays out the next block; false at the end of the archive.
    bool next(BlockLayout &block);

    /// Bytes skipped that were neither a tag nor a block.
    std::size_t skippedBytes() const { return m_skipped; }

private:
    std::size_t findTaggedBlock(std::size_t from) const;
    bool startsWith(std::size_t pos, const std::uint8_t *what, std::size_t n);
    bool isCutBlockStart(std::size_t pos);
    void layoutSegments(ByteReader &in, BlockLayout &block);

    const ArchiveInput &m_input;
    std::size_t m_size;
    ByteReader m_in; // one buffer for all blocks
    std::size_t m_pos = 0;
    std::size_t m_skipped = 0;
};

} // namespace zpaq
