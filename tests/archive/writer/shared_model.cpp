// Adapter from the decoder's Predictor to the encoder's BitPredictor.
#include "shared_model.h"

#include "archive/block_header.h"
#include "archive/predictor.h"

namespace zpaqtest {

namespace {

class SharedModel : public BitPredictor {
public:
    explicit SharedModel(const zpaq::BlockHeader &header) : model_(header) {}
    int predict() override { return model_.predict(); }
    void update(int bit) override { model_.update(bit); }

private:
    zpaq::Predictor model_;
};

} // namespace

std::unique_ptr<BitPredictor> sharedModel(const BlockSpec &spec)
{
    const QByteArray header = blockHeader(spec);
    zpaq::ByteReader in(reinterpret_cast<const std::uint8_t *>(header.constData()),
                        static_cast<std::size_t>(header.size()));
    return std::make_unique<SharedModel>(zpaq::parseBlockHeader(in));
}

QByteArray modelledBlock(const BlockSpec &spec, const QVector<SegmentSpec> &segments)
{
    ModelledCoder coder(sharedModel(spec));
    return writeBlock(spec, segments, coder);
}

} // namespace zpaqtest
