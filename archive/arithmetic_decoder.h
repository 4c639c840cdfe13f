// Binary arithmetic decoder of modelled segments: a 32-bit range narrowed by
// each bit's probability, refilled a byte at a time from the segment data.
#pragma once

#include "byte_reader.h"

#include <cstdint>

namespace zpaq {

class ArithmeticDecoder
{
public:
    ArithmeticDecoder();

    /// Starts a segment: the code window takes the next four bytes.
    void startSegment(ByteReader &in);

    /// Decodes one bit whose probability of being 1 is p16 / 65536.
    int decodeBit(std::uint32_t p16, ByteReader &in);

    /// Decodes the end-of-segment flag; true at the segment's end, after
    /// which the trailing zero bytes have been read and checked.
    bool decodeEnd(ByteReader &in);

private:
    std::uint32_t m_low, m_high, m_x = 0;
};

} // namespace zpaq
