// Block and segment layout of the container.
#include "archive/block_scanner.h"

#include "archive/decode_error.h"
#include "archive/zpaq_choices.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace zpaq {

namespace {

const std::uint8_t kTag[13] = {0x37, 0x6B, 0x53, 0x74, 0xA0, 0x31, 0x83,
                               0xD3, 0x8C, 0xB2, 0x28, 0xB0, 0xD3};
const std::uint8_t kTaggedMagic[16] = {0x37, 0x6B, 0x53, 0x74, 0xA0, 0x31, 0x83, 0xD3,
                                       0x8C, 0xB2, 0x28, 0xB0, 0xD3, 'z',  'P',  'Q'};

const std::uint8_t kMagic[3] = {'z', 'P', 'Q'};

// Archive bytes searched for a tag at a time.
constexpr std::size_t kSearchChunk = 64 * 1024;

std::string readText(ByteReader &in, const char *what)
{
    std::string text;
    for (std::uint8_t c = in.inNext(what); c != 0; c = in.inNext(what))
        text.push_back(char(c));
    return text;
}

} // namespace

BlockScanner::BlockScanner(const ArchiveInput &input)
    : m_input(input), m_size(input.size()), m_in(input, 0, input.size())
{
    ZPAQ_CHECK(m_size > 0, "archive is empty");
    if (startsWith(0, kTag, sizeof kTag) || startsWith(0, kMagic, 3))
        return;
    const std::size_t found = findTaggedBlock(0);
    ZPAQ_CHECK(found < m_size, "archive is encrypted or not in ZPAQ format");
    m_skipped = found;
    m_pos = found;
}

bool BlockScanner::startsWith(std::size_t pos, const std::uint8_t *what, std::size_t n)
{
    if (pos > m_size)
        return false;
    m_in.seek(pos);
    const std::uint8_t *bytes = m_in.ahead(n);
    return bytes && std::memcmp(bytes, what, n) == 0;
}

// The archive ends inside a locator tag or a "zPQ".
bool BlockScanner::isCutBlockStart(std::size_t pos)
{
    const std::size_t rest = m_size - pos;
    return rest < sizeof kTaggedMagic &&
           (startsWith(pos, kTaggedMagic, rest) || (rest < 3 && startsWith(pos, kMagic, rest)));
}

std::size_t BlockScanner::findTaggedBlock(std::size_t from) const
{
    std::vector<std::uint8_t> bytes(kSearchChunk + sizeof kTaggedMagic - 1);
    for (std::size_t pos = from; pos < m_size;) {
        const std::size_t n = std::min(bytes.size(), m_size - pos);
        m_input.read(pos, bytes.data(), n);
        const std::uint8_t *hit =
            std::search(bytes.data(), bytes.data() + n, kTaggedMagic, kTaggedMagic + 16);
        if (hit != bytes.data() + n)
            return pos + std::size_t(hit - bytes.data());
        if (n < bytes.size())
            break;
        pos += n - (sizeof kTaggedMagic - 1);
    }
    return m_size;
}

bool BlockScanner::next(BlockLayout &block)
{
    if (m_pos >= m_size)
        return false;
    std::size_t start = m_pos;
    std::size_t magicAt;
    if (startsWith(m_pos, kTaggedMagic, 16)) {
        magicAt = m_pos + 13;
    } else if (startsWith(m_pos, kMagic, 3)) {
        magicAt = m_pos;
    } else if (startsWith(m_pos, kTag, sizeof kTag)) {
        fail("locator tag at offset %zu is not followed by a block", m_pos);
    } else if (isCutBlockStart(m_pos)) {
        fail("truncated archive: incomplete block start at offset %zu", m_pos);
    } else {
        // Bytes that are neither a tag nor a block are skipped.
        start = findTaggedBlock(m_pos);
        m_skipped += start - m_pos;
        m_pos = start;
        if (start >= m_size)
            return false;
        magicAt = start + 13;
    }
    block = BlockLayout();
    block.start = start;
    block.headerOffset = magicAt;
    m_in.seek(magicAt);
    block.header = parseBlockHeader(m_in);
    layoutSegments(m_in, block);
    block.end = m_in.offset();
    m_pos = block.end;
    return true;
}

void BlockScanner::layoutSegments(ByteReader &in, BlockLayout &block)
{
    const bool modelled = !block.header.components.empty();
    for (;;) {
        const std::size_t at = in.offset();
        const std::uint8_t mark = in.inNext("block");
        if (mark == 0xFF)
            break;
        ZPAQ_CHECK(mark == 1, "bad segment start byte %u at offset %zu", unsigned(mark), at);
        SegmentLayout seg;
        seg.offset = at;
        seg.name = readText(in, "segment name");
        seg.comment = readText(in, "segment comment");
        ZPAQ_CHECK(in.inNext("segment header") == 0, "reserved segment byte at offset %zu is not 0",
                   in.offset() - 1);
        seg.dataBegin = in.offset();
        if (modelled) {
            // The coder never writes a run of four zeros inside its data.
            std::size_t zeros = 0;
            while (zeros < std::size_t(kModelledEndZeros))
                zeros = in.inNext("modelled segment data") == 0 ? zeros + 1 : 0;
            while (in.peek() == 0)
                in.inNext("modelled segment data");
        } else {
            for (;;) {
                const std::uint32_t length = in.inU32be("stored chunk length");
                if (length == 0)
                    break;
                in.skip(length, "stored chunk");
            }
        }
        seg.dataEnd = in.offset();
        const std::size_t trailerAt = in.offset();
        const std::uint8_t trailer = in.inNext("segment trailer");
        if (trailer == 0xFD) {
            seg.hasSha1 = true;
            std::memcpy(seg.sha1, in.inBytes(20, "segment SHA-1"), 20);
        } else {
            ZPAQ_CHECK(trailer == 0xFE, "bad segment trailer byte %u at offset %zu",
                       unsigned(trailer), trailerAt);
        }
        block.segments.push_back(std::move(seg));
    }
    ZPAQ_CHECK(!block.segments.empty(), "block at offset %zu has no segment", block.headerOffset);
}

} // namespace zpaq
