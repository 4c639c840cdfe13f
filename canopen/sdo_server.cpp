// The SDO server for the local dictionary, reachable only through the node's
// SDO server rows: one handler per line state and command specifier of the
// client's frame. Data are stored through setOdEntry only once a transfer is
// complete, and confirmed to the client only when the store succeeded.
#include "canopen/sdo_server.h"

#include "canopen/abort_codes.h"
#include "canopen/od.h"
#include "canopen/sdo_block.h"
#include "canopen/sdo_line.h"

#include <cstdlib>

namespace {

uint8_t requestedSubIndex(const SdoExchange &ex)
{
    return ex.bytes[3];
}

// Takes a free line for a transfer the client starts, or answers with the
// abort that says why none could be taken.
SdoTransferLine *takeServerLine(const SdoExchange &ex, uint8_t state)
{
    const uint8_t lineNo = findFreeSdoLine(ex.node);
    const uint16_t index = sdoFrameIndex(ex.bytes);
    if (lineNo == kSdoNoLine) {
        sendSdoAbortFrame(ex.node, ex.channel, ex.role, index, requestedSubIndex(ex), SdoAbort::LocalControl);
        return nullptr;
    }
    SdoTransferLine *line = &ex.node->sdoLines[lineNo];
    if (!setUpSdoLine(ex.node, line, ex.channel, SdoRole::Server, state, index, requestedSubIndex(ex))) {
        failSdoLine(ex.node, line, SdoAbort::GeneralError);
        return nullptr;
    }
    return line;
}

void answer(const SdoExchange &ex, SdoTransferLine *line, uint8_t command, uint32_t value)
{
    uint8_t frame[8];
    sdoFormatFrame(frame, command, line->index, line->subIndex, value);
    sendSdoLineFrame(ex.node, line, frame);
}

void answerCommandOnly(const SdoExchange &ex, SdoTransferLine *line, uint8_t command)
{
    uint8_t frame[8] = {command, 0, 0, 0, 0, 0, 0, 0};
    sendSdoLineFrame(ex.node, line, frame);
}

// Reads the entry into the line (inline, or a heap buffer of up to 128 KiB);
// count := its size.
uint32_t readEntryIntoLine(NodeContext *node, SdoTransferLine *line)
{
    uint32_t size = kSdoInlineSize;
    uint8_t type = 0;
    uint32_t code = getOdEntry(node, line->index, line->subIndex, line->data, &size, &type, 1);
    if (code == SdoAbort::OutOfMemory && size <= kSdoServerReadLimit) {
        line->dynamicData = static_cast<uint8_t *>(std::malloc(size));
        if (line->dynamicData == nullptr)
            return SdoAbort::GeneralError;
        line->dynamicDataSize = size;
        code = getOdEntry(node, line->index, line->subIndex, line->dynamicData, &size, &type, 1);
    }
    if (code != 0)
        return code;
    line->count = size;
    line->dataType = type;
    return 0;
}

uint32_t storeLine(NodeContext *node, SdoTransferLine *line)
{
    uint32_t size = line->offset;
    return setOdEntry(node, line->index, line->subIndex, sdoLineBytes(line), &size, 1);
}

// A size the client announces; false (and the transfer aborted) past the limit.
bool takeAnnouncedSize(const SdoExchange &ex, SdoTransferLine *line, uint32_t *into)
{
    const uint32_t size = sdoReadU32(ex.bytes + 4);
    if (size > kSdoMaxTransferSize) {
        failSdoLine(ex.node, line, SdoAbort::OutOfMemory);
        return false;
    }
    *into = size;
    return true;
}

// No line, specifier 1: download initiate.
void downloadInitiate(const SdoExchange &ex)
{
    SdoTransferLine *line = takeServerLine(ex, SdoState::Download);
    if (line == nullptr)
        return;
    const uint8_t command = ex.bytes[0];
    if (command & SdoCmd::ExpeditedBit) {
        // Read with bit 4 as well: the client sends 0x23 + (4 - n) * 4, so an
        // empty value arrives as 0x33 and must not become four zero bytes.
        const uint32_t empty = (command >> 2) & 7u;
        uint32_t size = empty >= 4 ? 0 : 4 - empty;
        const uint32_t code = setOdEntry(ex.node, line->index, line->subIndex, ex.bytes + 4, &size, 1);
        if (code != 0) {
            failSdoLine(ex.node, line, code);
            return;
        }
        answer(ex, line, SdoCmd::DownloadInitiateAck, 0);
        freeSdoLine(line);
        return;
    }
    if ((command & SdoCmd::SizeBit) && !takeAnnouncedSize(ex, line, &line->count))
        return;
    answer(ex, line, SdoCmd::DownloadInitiateAck, 0);
}

// Download, specifier 0: one segment from the client. The last one is
// confirmed only once the dictionary took the data.
void downloadSegment(const SdoExchange &ex)
{
    SdoTransferLine *line = ex.line;
    const bool last = (ex.bytes[0] & SdoCmd::LastSegmentBit) != 0;
    uint32_t code = takeSdoSegment(ex.node, line, ex.bytes);
    if (code == 0 && last)
        code = storeLine(ex.node, line);
    if (code != 0) {
        failSdoLine(ex.node, line, code);
        return;
    }
    answerCommandOnly(ex, line, static_cast<uint8_t>(SdoCmd::DownloadSegmentAck + line->toggle * 16));
    if (last)
        freeSdoLine(line);
    else
        line->toggle ^= 1;
}

// No line, specifier 2: upload initiate.
void uploadInitiate(const SdoExchange &ex)
{
    SdoTransferLine *line = takeServerLine(ex, SdoState::Upload);
    if (line == nullptr)
        return;
    const uint32_t code = readEntryIntoLine(ex.node, line);
    if (code != 0) {
        failSdoLine(ex.node, line, code);
        return;
    }
    const uint32_t n = line->count;
    // An empty value goes segmented: an expedited answer cannot say "0 bytes".
    if (n >= 1 && n <= 4) {
        uint8_t frame[8];
        sdoFormatFrame(frame, static_cast<uint8_t>(SdoCmd::UploadExpedited + (4 - n) * 4), line->index,
                       line->subIndex, 0);
        // A text may have come through the heap buffer and turned out short.
        const uint8_t *bytes = sdoLineBytes(line);
        for (uint32_t i = 0; i < n; ++i)
            frame[4 + i] = bytes[i];
        sendSdoLineFrame(ex.node, line, frame);
        freeSdoLine(line);
        return;
    }
    answer(ex, line, SdoCmd::UploadSegmented, n);
}

// Upload, specifier 3: the client asks for the next segment.
void uploadSegmentRequest(const SdoExchange &ex)
{
    SdoTransferLine *line = ex.line;
    if (!sdoToggleMatches(ex.line, ex.bytes)) {
        failSdoLine(ex.node, line, SdoAbort::ToggleNotAlternated);
        return;
    }
    restartSdoTimeout(ex.node, line);
    uint8_t frame[8];
    bool last = false;
    const uint32_t code = nextSdoSegment(line, frame, &last);
    if (code != 0) {
        failSdoLine(ex.node, line, code);
        return;
    }
    sendSdoLineFrame(ex.node, line, frame);
    if (last)
        freeSdoLine(line);
    else
        line->toggle ^= 1;
}

// No line, specifier 6: block download initiate (an end frame here has no transfer).
void blockDownloadInitiate(const SdoExchange &ex)
{
    if (ex.bytes[0] & 0x01) {
        sdoNoSuchTransfer(ex);
        return;
    }
    SdoTransferLine *line = takeServerLine(ex, SdoState::BlockDownload);
    if (line == nullptr)
        return;
    line->crcEnabled = (ex.bytes[0] & SdoCmd::BlockCrcBit) ? 1 : 0;
    line->blockUploadPhase = 1;
    if ((ex.bytes[0] & 0x02) && !takeAnnouncedSize(ex, line, &line->blockObjectSize))
        return;
    answer(ex, line, SdoCmd::BlockDownloadInitiateAck, kSdoBlockSegments);
}

// Block download: segments, then the end frame. Byte 0 carries the sequence
// number, so only exactly 0x80 is an abort.
void blockDownloadFrame(const SdoExchange &ex)
{
    SdoTransferLine *line = ex.line;
    if (ex.bytes[0] == SdoCmd::Abort) {
        freeSdoLine(line);
        return;
    }
    if (line->blockUploadPhase != 2) {
        const uint32_t code = takeSdoBlockSegment(ex.node, line, ex.bytes);
        if (code != 0)
            failSdoLine(ex.node, line, code);
        return;
    }
    uint32_t code = takeSdoBlockEnd(line, ex.bytes);
    if (code == 0)
        code = storeLine(ex.node, line);
    if (code != 0) {
        failSdoLine(ex.node, line, code);
        return;
    }
    answerCommandOnly(ex, line, SdoCmd::BlockEndAck);
    freeSdoLine(line);
}

// No line, specifier 5: block upload initiate (other subcommands have no transfer).
void blockUploadInitiate(const SdoExchange &ex)
{
    if ((ex.bytes[0] & 3) != 0) {
        sdoNoSuchTransfer(ex);
        return;
    }
    if (ex.bytes[4] >= kSdoBlockSizeLimit) {
        sendSdoAbortFrame(ex.node, ex.channel, ex.role, sdoFrameIndex(ex.bytes), requestedSubIndex(ex),
                          SdoAbort::InvalidBlockSize);
        return;
    }
    SdoTransferLine *line = takeServerLine(ex, SdoState::BlockUpload);
    if (line == nullptr)
        return;
    line->blockSize = ex.bytes[4];
    line->crcEnabled = (ex.bytes[0] & SdoCmd::BlockCrcBit) ? 1 : 0;
    const uint32_t code = readEntryIntoLine(ex.node, line);
    if (code != 0) {
        failSdoLine(ex.node, line, code);
        return;
    }
    line->blockObjectSize = line->count;
    answer(ex, line, SdoCmd::BlockUploadInitiateAnswer, line->count);
}

// Block upload, specifier 5: start, acknowledgement, end confirmed.
void blockUploadFrame(const SdoExchange &ex)
{
    SdoTransferLine *line = ex.line;
    uint32_t code = 0;
    switch (ex.bytes[0] & 3) {
    case 3: // start: only once, right after the initiate
        if (line->blockUploadPhase != 0) {
            sdoNoSuchTransfer(ex);
            return;
        }
        restartSdoTimeout(ex.node, line);
        line->blockUploadPhase = 1;
        code = sendSdoBlock(ex.node, line);
        break;
    case 2:
        if (line->blockUploadPhase != 1) {
            sdoNoSuchTransfer(ex);
            return;
        }
        restartSdoTimeout(ex.node, line);
        code = takeSdoBlockAck(ex.node, line, ex.bytes);
        break;
    case 1:
        freeSdoLine(line);
        return;
    default:
        sdoNoSuchTransfer(ex);
        return;
    }
    if (code != 0)
        failSdoLine(ex.node, line, code);
}

// The client gave up: the line is simply freed.
void peerAbort(const SdoExchange &ex)
{
    freeSdoLine(ex.line);
}

constexpr SdoHandler kInvalid = sdoInvalidCommand;
constexpr SdoHandler kNoTransfer = sdoNoSuchTransfer;
constexpr SdoHandler kIgnore = sdoIgnoreFrame;

// Rows: no transfer in progress, then line states 2 to 5. Columns: the
// command specifier (byte 0 >> 5) of the client's frame. A new initiate on a
// busy line has no transfer to fit.
const SdoHandler kServerHandlers[5][8] = {
    // idle
    {kNoTransfer, downloadInitiate, uploadInitiate, kNoTransfer, kIgnore, blockUploadInitiate,
     blockDownloadInitiate, kInvalid},
    // 2 download
    {downloadSegment, kNoTransfer, kNoTransfer, kNoTransfer, peerAbort, kNoTransfer, kNoTransfer, kInvalid},
    // 3 upload
    {kNoTransfer, kNoTransfer, kNoTransfer, uploadSegmentRequest, peerAbort, kNoTransfer, kNoTransfer, kInvalid},
    // 4 block download
    {blockDownloadFrame, blockDownloadFrame, blockDownloadFrame, blockDownloadFrame, blockDownloadFrame,
     blockDownloadFrame, blockDownloadFrame, kInvalid},
    // 5 block upload
    {kNoTransfer, kNoTransfer, kNoTransfer, kNoTransfer, peerAbort, blockUploadFrame, kNoTransfer, kInvalid},
};

} // namespace

void processSdoServerFrame(const SdoExchange &exchange)
{
    const int row = exchange.line != nullptr ? exchange.line->state - 1 : 0;
    kServerHandlers[row][sdoSpecifier(exchange.bytes)](exchange);
}
