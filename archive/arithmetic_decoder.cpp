// Range arithmetic of the modelled-segment decoder.
#include "archive/arithmetic_decoder.h"

#include "archive/zpaq_choices.h"

namespace zpaq {

ArithmeticDecoder::ArithmeticDecoder() : m_low(kCoderInitialLow), m_high(0xFFFFFFFFu) {}

void ArithmeticDecoder::startSegment(ByteReader &in) { m_x = in.inU32be("modelled data"); }

bool ArithmeticDecoder::decodeEnd(ByteReader &in)
{
    if (!decodeBit(0, in))
        return false;
    ZPAQ_CHECK(m_x == 0, "modelled segment does not end with four zero bytes (offset %zu)",
               in.offset());
    return true;
}

} // namespace zpaq
