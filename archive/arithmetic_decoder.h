// Binary arithmetic decoder of modelled segments: a 32-bit range narrowed by
// each bit's probability, refilled a byte at a time from the segment data.
#pragma once

#include "archive/byte_reader.h"
#include "archive/decode_error.h"
#include "archive/zpaq_choices.h"

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

// Inline: it runs once per bit, between the model's predict and update.
inline int ArithmeticDecoder::decodeBit(std::uint32_t p16, ByteReader &in)
{
    ZPAQ_CHECK(m_low <= m_x && m_x <= m_high, "corrupt modelled data at offset %zu",
               in.offset());
    const std::uint32_t mid =
        m_low + std::uint32_t((std::uint64_t(m_high - m_low) * p16) >> 16);
    int y;
    if (m_x <= mid) {
        y = 1;
        m_high = mid;
    } else {
        y = 0;
        m_low = mid + 1;
    }
    while ((m_high ^ m_low) < 0x1000000u) {
        m_high = m_high << 8 | 255;
        m_low <<= 8;
        if (kCoderLowNeverZero && m_low == 0)
            m_low = 1;
        m_x = m_x << 8 | in.inNext("modelled data");
    }
    return y;
}

} // namespace zpaq
