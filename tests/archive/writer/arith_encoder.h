// The arithmetic encoder of modelled segments: the exact inverse of the
// extractor's decoder, written independently, plus a segment coder that drives
// it from any bit predictor.
#pragma once

#include "block_writer.h"

#include <QByteArray>

#include <cstdint>
#include <memory>

namespace zpaqtest {

class ArithEncoder {
public:
    /// Codes `bit` where `p16` (0..65535) is the probability of a 1 in units of 2^-16.
    void encodeBit(QByteArray &out, int bit, uint32_t p16);
    /// Codes the end-of-segment flag, flushes the window and writes the four zeros.
    void endSegment(QByteArray &out);

private:
    // The coder starts, and restarts after every shifted-out zero, at low = 1 so
    // that the coded data never holds the four-zero end marker.
    static constexpr uint32_t kLowFloor = 1;
    uint32_t low_ = kLowFloor;
    uint32_t high_ = 0xFFFFFFFF;
};

/// A model as the encoder needs it: the probability of the next bit being 1
/// (0..32767, a squash output) and the update with the coded bit. After the
/// eighth bit of a byte the model runs its own per-byte step (HCOMP).
class BitPredictor {
public:
    virtual ~BitPredictor() = default;
    virtual int predict() = 0;
    virtual void update(int bit) = 0;
};

/// Predicts exactly 1/2 for every bit: the output of a model whose last
/// component is CONST 128. Used where the model itself is meant to be refused.
class FlatPredictor : public BitPredictor {
public:
    int predict() override { return 16384; }
    void update(int) override {}
};

/// Codes each segment byte by byte: end flag 0, then 8 bits MSB first with
/// p16 = 2 * predict() + 1; the segment ends with the end flag 1.
class ModelledCoder : public SegmentCoder {
public:
    explicit ModelledCoder(std::unique_ptr<BitPredictor> predictor)
        : predictor_(std::move(predictor))
    {
    }
    void encode(const QByteArray &decoded, QByteArray &out) override;

private:
    std::unique_ptr<BitPredictor> predictor_;
    ArithEncoder encoder_;
};

/// A modelled block coded at probability 1/2 throughout. `spec` must end its
/// component list with CONST 128 (or be meant for refusal before any data).
QByteArray flatModelledBlock(const BlockSpec &spec, const QVector<SegmentSpec> &segments);

} // namespace zpaqtest
