// The extractor's own context model behind the test-side encoder: the model
// is shared with the decoder, the arithmetic coder is not.
#pragma once

#include "arith_encoder.h"
#include "block_writer.h"

#include <memory>

namespace zpaqtest {

/// The block's model (components and HCOMP) as the encoder's predictor.
/// Throws the decoder's error when the header is refused.
std::unique_ptr<BitPredictor> sharedModel(const BlockSpec &spec);

/// A block whose segments are coded with the block's own model.
QByteArray modelledBlock(const BlockSpec &spec, const QVector<SegmentSpec> &segments);

} // namespace zpaqtest
