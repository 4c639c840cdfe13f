// Container writer: the byte layout of blocks and segments.
#include "block_writer.h"

#include "byte_put.h"

#include <algorithm>

namespace zpaqtest {

QByteArray locatorTag()
{
    static const unsigned char tag[13] = {0x37, 0x6B, 0x53, 0x74, 0xA0, 0x31, 0x83,
                                          0xD3, 0x8C, 0xB2, 0x28, 0xB0, 0xD3};
    return QByteArray(reinterpret_cast<const char *>(tag), sizeof tag);
}

BlockSpec &BlockSpec::add(const QByteArray &descriptor)
{
    components += descriptor;
    ++componentCount;
    return *this;
}

void StoredCoder::encode(const QByteArray &decoded, QByteArray &out)
{
    for (int at = 0; at < decoded.size(); at += chunkSize_) {
        const int length = std::min(chunkSize_, decoded.size() - at);
        putBe32(out, static_cast<uint32_t>(length));
        out.append(decoded.constData() + at, length);
    }
    putBe32(out, 0);
}

QByteArray blockHeader(const BlockSpec &spec)
{
    QByteArray out("zPQ");
    putByte(out, static_cast<unsigned>(spec.level));
    putByte(out, static_cast<unsigned>(spec.type));
    // hsize counts hh..n, the descriptors, their ending 0, HCOMP and its ending 0.
    putLe(out, 5 + spec.components.size() + 1 + spec.hcomp.size() + 1, 2);
    for (uint8_t v : {spec.hh, spec.hm, spec.ph, spec.pm})
        putByte(out, v);
    putByte(out, static_cast<unsigned>(spec.componentCount));
    out += spec.components;
    putByte(out, 0);
    out += spec.hcomp;
    putByte(out, 0);
    return out;
}

QByteArray postProcessorHeader(const BlockSpec &spec)
{
    if (spec.ppHeader)
        return *spec.ppHeader;
    QByteArray out;
    if (spec.pcomp.isEmpty()) {
        putByte(out, 0);
        return out;
    }
    putByte(out, 1);
    putLe(out, static_cast<uint64_t>(spec.pcomp.size()) + 1, 2); // psize counts the final 0
    out += spec.pcomp;
    putByte(out, 0);
    return out;
}

QByteArray writeBlock(const BlockSpec &spec, const QVector<SegmentSpec> &segments,
                      SegmentCoder &coder)
{
    QByteArray out;
    if (spec.withTag)
        out += locatorTag();
    out += blockHeader(spec);
    for (int i = 0; i < segments.size(); ++i) {
        const SegmentSpec &seg = segments[i];
        putByte(out, 1);
        out += seg.name;
        putByte(out, 0);
        out += seg.comment;
        putByte(out, 0);
        putByte(out, 0); // reserved
        QByteArray decoded = i == 0 ? postProcessorHeader(spec) : QByteArray();
        decoded += seg.coded ? *seg.coded : seg.output;
        coder.encode(decoded, out);
        if (seg.trailer == Trailer::NoSha1) {
            putByte(out, 0xFE);
        } else {
            putByte(out, 0xFD);
            QByteArray hash = seg.outputSha1 ? *seg.outputSha1 : sha1Of(seg.output);
            if (seg.trailer == Trailer::WrongSha1)
                hash[19] = static_cast<char>(hash[19] ^ 0x01);
            out += hash;
        }
    }
    putByte(out, 0xFF);
    return out;
}

SegmentSpec fileSegment(const QByteArray &name, const QByteArray &content)
{
    SegmentSpec seg;
    seg.name = name;
    seg.comment = QByteArray::number(content.size());
    seg.output = content;
    return seg;
}

QByteArray storedBlock(const QVector<SegmentSpec> &segments, bool withTag,
                       const QByteArray &pcomp)
{
    BlockSpec spec;
    spec.withTag = withTag;
    spec.pcomp = pcomp;
    StoredCoder coder;
    return writeBlock(spec, segments, coder);
}

} // namespace zpaqtest
