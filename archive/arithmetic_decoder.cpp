// Range arithmetic of the modelled-segment decoder.
#include "arithmetic_decoder.h"

#include "zpaq_choices.h"

namespace zpaq {

ArithmeticDecoder::ArithmeticDecoder() : m_low(kCoderInitialLow), m_high(0xFFFFFFFFu) {}

void ArithmeticDecoder::startSegment(ByteReader &in) { m_x = in.inU32be("modelled data"); }

int ArithmeticDecoder::decodeBit(std::uint32_t p16, ByteReader &in)
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

bool ArithmeticDecoder::decodeEnd(ByteReader &in)
{
    if (!decodeBit(0, in))
        return false;
    ZPAQ_CHECK(m_x == 0, "modelled segment does not end with four zero bytes (offset %zu)",
               in.offset());
    return true;
}

} // namespace zpaq
