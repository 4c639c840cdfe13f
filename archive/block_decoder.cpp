// Segment loop of one block: modelled or stored data, post-processing and
// the SHA-1 comparison.
#include "archive/block_decoder.h"

#include "archive/arithmetic_decoder.h"
#include "archive/chain_predictor.h"
#include "archive/post_processor.h"
#include "archive/predictor.h"
#include "archive/zpaq_choices.h"

#include <cstring>
#include <memory>
#include <string>

namespace zpaq {

namespace {

void checkCancel(const std::atomic<bool> *cancel)
{
    if (cancel && cancel->load(std::memory_order_relaxed))
        throw DecodeError("cancelled");
}

// One loop per kind of model, so that the chain model's steps are inline in it.
template <class Model>
ZPAQ_ALWAYS_INLINE void decodeModelled(ByteReader &in, Model &model, ArithmeticDecoder &blockCoder,
                    PostProcessor &post, const std::atomic<bool> *cancel)
{
    // A local copy, which the model's calls cannot reach, stays in registers.
    ArithmeticDecoder coder = blockCoder;
    coder.startSegment(in);
    for (std::uint32_t count = 0; !coder.decodeEnd(in); ++count) {
        std::uint32_t c = 1;
        while (c < 256) {
            const int y = coder.decodeBit(Model::p16(model.predict()), in);
            model.update(y);
            c = c * 2 + std::uint32_t(y);
        }
        post.put(std::uint8_t(c - 256));
        if ((count & 0xFFFF) == 0)
            checkCancel(cancel);
    }
    // The scanner folded any further zeros into the segment's end.
    while (!in.inEnd())
        ZPAQ_CHECK(in.inNext("modelled data") == 0,
                   "modelled segment ends before its data at offset %zu", in.offset() - 1);
    blockCoder = coder;
}

#if defined(__x86_64__) && defined(__GNUC__)
// The chain model's loop once more for processors with SSE4.1 (every x86-64
// processor of the last fifteen years): the compiler then keeps the clamps
// and weight pairs of its steps in vector registers, a tenth faster in all.
__attribute__((target("sse4.1"), noinline)) void decodeChainSse41(
    ByteReader &in, ChainPredictor &model, ArithmeticDecoder &coder, PostProcessor &post,
    const std::atomic<bool> *cancel)
{
    decodeModelled(in, model, coder, post, cancel);
}

bool hasSse41()
{
    static const bool yes = __builtin_cpu_supports("sse4.1");
    return yes;
}
#endif

void decodeChain(ByteReader &in, ChainPredictor &model, ArithmeticDecoder &coder,
                 PostProcessor &post, const std::atomic<bool> *cancel)
{
#if defined(__x86_64__) && defined(__GNUC__)
    if (hasSse41())
        return decodeChainSse41(in, model, coder, post, cancel);
#endif
    decodeModelled(in, model, coder, post, cancel);
}

// The size a segment's comment states: its leading decimal digits, or no
// limit when it has none (or a number too large to matter).
std::uint64_t statedSize(const std::string &comment)
{
    const std::uint64_t none = ~std::uint64_t(0);
    if (!kCommentSizeBoundsOutput || comment.empty() || comment[0] < '0' || comment[0] > '9')
        return none;
    std::uint64_t size = 0;
    for (char c : comment) {
        if (c < '0' || c > '9')
            break;
        if (size > (none - 9) / 10)
            return none;
        size = size * 10 + std::uint64_t(c - '0');
    }
    return size;
}

void readStored(ByteReader &in, PostProcessor &post, const std::atomic<bool> *cancel)
{
    for (;;) {
        const std::uint32_t length = in.inU32be("stored chunk length");
        if (length == 0)
            break;
        for (std::size_t left = length; left > 0;) {
            std::size_t got = 0;
            const std::uint8_t *piece = in.inSome(left, got, "stored chunk");
            post.put(piece, got);
            left -= got;
            checkCancel(cancel);
        }
    }
}

} // namespace

void decodeBlock(const ArchiveInput &archive, const BlockLayout &block, BlockOutput &out,
                 const std::atomic<bool> *cancel)
{
    const BlockHeader &header = block.header;
    std::unique_ptr<ChainPredictor> chain;
    std::unique_ptr<Predictor> model;
    std::unique_ptr<ArithmeticDecoder> coder;
    if (!header.components.empty()) {
        if (ChainPredictor::fits(header))
            chain = std::make_unique<ChainPredictor>(header);
        else
            model = std::make_unique<Predictor>(header);
        coder = std::make_unique<ArithmeticDecoder>();
    }
    PostProcessor post(header, out);
    for (std::size_t i = 0; i < block.segments.size(); ++i) {
        const SegmentLayout &seg = block.segments[i];
        out.beginSegment(i, seg);
        post.setSegmentLimit(statedSize(seg.comment), seg.name);
        ByteReader in(archive, seg.dataBegin, seg.dataEnd);
        if (chain)
            decodeChain(in, *chain, *coder, post, cancel);
        else if (model)
            decodeModelled(in, *model, *coder, post, cancel);
        else
            readStored(in, post, cancel);
        const QByteArray digest = post.endSegment();
        if (seg.hasSha1)
            ZPAQ_CHECK(std::memcmp(digest.constData(), seg.sha1, 20) == 0,
                       "SHA-1 mismatch in segment \"%s\" of the block at offset %zu",
                       seg.name.c_str(), block.start);
        out.endSegment();
    }
}

} // namespace zpaq
