// Arithmetic encoder: keeps the interval [low, high] the decoder will keep and
// emits the leading byte as soon as both ends agree on it.
#include "arith_encoder.h"

#include "byte_put.h"

namespace zpaqtest {

void ArithEncoder::encodeBit(QByteArray &out, int bit, uint32_t p16)
{
    const uint32_t mid =
        low_ + static_cast<uint32_t>((static_cast<uint64_t>(high_ - low_) * p16) >> 16);
    if (bit)
        high_ = mid;
    else
        low_ = mid + 1;
    while ((high_ ^ low_) < (1u << 24)) {
        putByte(out, high_ >> 24);
        high_ = (high_ << 8) | 0xFF;
        low_ <<= 8;
        if (low_ == 0)
            low_ = kLowFloor;
    }
}

void ArithEncoder::endSegment(QByteArray &out)
{
    // With p16 = 0 the flag 1 collapses the interval onto low, so the four bytes
    // shifted out are low itself: the decoder's window then equals low exactly.
    encodeBit(out, 1, 0);
    putBe32(out, 0);
}

void ModelledCoder::encode(const QByteArray &decoded, QByteArray &out)
{
    for (char ch : decoded) {
        const int byte = static_cast<unsigned char>(ch);
        encoder_.encodeBit(out, 0, 0);
        for (int i = 7; i >= 0; --i) {
            const int bit = (byte >> i) & 1;
            encoder_.encodeBit(out, bit, 2 * static_cast<uint32_t>(predictor_->predict()) + 1);
            predictor_->update(bit);
        }
    }
    encoder_.endSegment(out);
}

QByteArray flatModelledBlock(const BlockSpec &spec, const QVector<SegmentSpec> &segments)
{
    ModelledCoder coder(std::make_unique<FlatPredictor>());
    return writeBlock(spec, segments, coder);
}

} // namespace zpaqtest
