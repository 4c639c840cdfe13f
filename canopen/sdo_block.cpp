// Block transfer segments and acknowledgements. A block is a run of up to
// blockSize segments {seqNo, 7 bytes} sent without waiting; the receiver
// acknowledges the last segment it took in order, and the sender goes on (or
// resends) from there. The CRC is neither computed nor checked.
#include "canopen/sdo_block.h"

#include "canopen/abort_codes.h"
#include "canopen/sdo_line.h"

#include <cstring>

uint32_t sendSdoBlock(NodeContext *node, SdoTransferLine *line)
{
    line->blockStartOffset = line->offset;
    if (line->blockSize == 0)
        return 0;
    if (line->offset > line->count || (line->count > kSdoInlineSize && line->dynamicData == nullptr))
        return SdoAbort::GeneralError;
    const uint8_t *source = sdoLineBytes(line);
    line->seqNo = 0;
    for (;;) {
        const uint32_t remaining = line->count - line->offset;
        const bool last = remaining <= 7;
        const uint32_t n = last ? remaining : 7;
        uint8_t frame[8] = {};
        ++line->seqNo;
        frame[0] = static_cast<uint8_t>(last ? line->seqNo | SdoCmd::BlockLastSegmentBit : line->seqNo);
        std::memcpy(frame + 1, source + line->offset, n);
        line->offset += n;
        if (last)
            line->endEmptyCount = static_cast<uint8_t>(7 - n);
        sendSdoLineFrame(node, line, frame);
        if (last || line->seqNo >= line->blockSize)
            return 0;
    }
}

uint32_t takeSdoBlockAck(NodeContext *node, SdoTransferLine *line, const uint8_t *bytes)
{
    if (bytes[2] >= kSdoBlockSizeLimit)
        return SdoAbort::InvalidBlockSize;
    line->blockSize = bytes[2];
    const uint8_t acknowledged = bytes[1] & 0x7F;
    // Acknowledging a segment that was never sent would skip data.
    if (acknowledged > line->seqNo)
        return SdoAbort::LocalControl;
    if (line->offset == line->count && acknowledged == line->seqNo) {
        uint8_t frame[8] = {};
        frame[0] = static_cast<uint8_t>(SdoCmd::BlockEnd + line->endEmptyCount * 4);
        sendSdoLineFrame(node, line, frame);
        return 0;
    }
    const uint64_t resumeAt = static_cast<uint64_t>(line->blockStartOffset) + acknowledged * 7u;
    if (resumeAt > line->count)
        return SdoAbort::LocalControl;
    line->offset = static_cast<uint32_t>(resumeAt);
    return sendSdoBlock(node, line);
}

namespace {

void acknowledgeBlock(NodeContext *node, SdoTransferLine *line)
{
    uint8_t frame[8] = {SdoCmd::BlockAck, line->seqNo, kSdoBlockSegments, 0, 0, 0, 0, 0};
    sendSdoLineFrame(node, line, frame);
    line->seqNo = 0;
}

} // namespace

uint32_t takeSdoBlockSegment(NodeContext *node, SdoTransferLine *line, const uint8_t *bytes)
{
    const uint8_t sequence = bytes[0] & 0x7F;
    const bool last = (bytes[0] & SdoCmd::BlockLastSegmentBit) != 0;
    if (sequence != line->seqNo + 1) {
        // Out of order: dropped, but the end of a block still gets the
        // acknowledgement that makes the sender resend from the gap.
        if (sequence == kSdoBlockSegments || last) {
            restartSdoTimeout(node, line);
            acknowledgeBlock(node, line);
        }
        return 0;
    }
    restartSdoTimeout(node, line);
    line->seqNo = sequence;
    if (last) {
        // How many of its bytes count is only known from the end frame.
        line->blockUploadPhase = 2;
        std::memcpy(line->lastSegment, bytes, 8);
        acknowledgeBlock(node, line);
        return 0;
    }
    const uint32_t code = appendSdoBytes(line, bytes + 1, 7);
    if (code != 0)
        return code;
    if (sequence == kSdoBlockSegments)
        acknowledgeBlock(node, line);
    return 0;
}

uint32_t takeSdoBlockEnd(SdoTransferLine *line, const uint8_t *bytes)
{
    // Only an end frame {0xC1 + empty bytes * 4} may follow the last segment.
    if (sdoSpecifier(bytes) != 6 || !(bytes[0] & 0x01))
        return SdoAbort::LocalControl;
    const uint32_t n = 7u - ((bytes[0] >> 2) & 7u);
    const uint32_t code = appendSdoBytes(line, line->lastSegment + 1, n);
    if (code != 0)
        return code;
    if (line->blockObjectSize != 0 && line->blockObjectSize != line->offset)
        return SdoAbort::LocalControl;
    return 0;
}
