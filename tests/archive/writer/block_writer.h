// Writes ZPAQ blocks for the extractor's tests: locator tag, header with the
// component list and HCOMP, segments with name and comment, the post-processor
// header in front of the first segment's data, and the FD/FE segment trailer.
#pragma once

#include <QByteArray>
#include <QVector>

#include <cstdint>
#include <optional>

namespace zpaqtest {

/// The 13-byte locator tag written in front of journaling blocks.
QByteArray locatorTag();

/// Everything of a block that comes before its segments.
struct BlockSpec {
    int level = 2;
    int type = 1;
    uint8_t hh = 0, hm = 0, ph = 0, pm = 0;
    int componentCount = 0;
    QByteArray components; ///< descriptors, without the list's ending 0
    QByteArray hcomp;      ///< HCOMP code, without its ending 0
    QByteArray pcomp;      ///< post-processor code without its final 0; empty: none
    /// Written verbatim instead of the post-processor header made from `pcomp`.
    std::optional<QByteArray> ppHeader;
    bool withTag = true;

    /// Appends one descriptor and counts it.
    BlockSpec &add(const QByteArray &descriptor);
};

enum class Trailer { Sha1, NoSha1, WrongSha1 };

struct SegmentSpec {
    QByteArray name;
    QByteArray comment;
    QByteArray output; ///< what the extractor must produce (the SHA-1 covers it)
    /// The bytes handed to the post-processor, when they differ from `output`.
    std::optional<QByteArray> coded;
    /// The output's SHA-1 when `output` is too large to spell out (it stays empty).
    std::optional<QByteArray> outputSha1;
    Trailer trailer = Trailer::Sha1;
};

/// Turns the decoded bytes of one segment into segment data (stored chunks or
/// arithmetic-coded bytes). One instance serves all segments of one block, so a
/// modelled coder keeps its model from one segment to the next.
class SegmentCoder {
public:
    virtual ~SegmentCoder() = default;
    virtual void encode(const QByteArray &decoded, QByteArray &out) = 0;
};

/// Stored data (n = 0): 4-byte BE length chunks of at most `chunkSize` bytes,
/// then the empty chunk.
class StoredCoder : public SegmentCoder {
public:
    explicit StoredCoder(int chunkSize = 1 << 16) : chunkSize_(chunkSize) {}
    void encode(const QByteArray &decoded, QByteArray &out) override;

private:
    int chunkSize_;
};

/// The header bytes from "zPQ" up to and including HCOMP's ending 0.
QByteArray blockHeader(const BlockSpec &spec);

/// The post-processor header the first segment's data begins with.
QByteArray postProcessorHeader(const BlockSpec &spec);

/// One complete block (tag if asked, header, segments, FF).
QByteArray writeBlock(const BlockSpec &spec, const QVector<SegmentSpec> &segments,
                      SegmentCoder &coder);

/// A streaming segment that extracts as file `name`: the comment is its size.
SegmentSpec fileSegment(const QByteArray &name, const QByteArray &content);

/// A stored block (level 2, n = 0) holding `segments`.
QByteArray storedBlock(const QVector<SegmentSpec> &segments, bool withTag = true,
                       const QByteArray &pcomp = QByteArray());

} // namespace zpaqtest
