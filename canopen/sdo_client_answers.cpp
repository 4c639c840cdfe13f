// The SDO client's answer handling: one handler per line state and command
// specifier of the server's frame. Every protocol violation aborts the
// transfer with its own code; the transfer then ends in its callback.
#include "canopen/sdo_client_answers.h"

#include "canopen/abort_codes.h"
#include "canopen/sdo_block.h"
#include "canopen/sdo_line.h"

#include <cstring>

namespace {

void finish(const SdoExchange &ex)
{
    finishSdoClientLine(ex.node, ex.line, SdoState::Finished);
}

void sendSegmentRequest(const SdoExchange &ex)
{
    uint8_t frame[8];
    sdoFormatFrame(frame, static_cast<uint8_t>(SdoCmd::UploadSegmentRequest + ex.line->toggle * 16), 0, 0, 0);
    sendSdoLineFrame(ex.node, ex.line, frame);
}

void sendDownloadSegment(const SdoExchange &ex)
{
    uint8_t frame[8];
    bool last = false;
    const uint32_t code = nextSdoSegment(ex.line, frame, &last);
    if (code != 0) {
        failSdoLine(ex.node, ex.line, code);
        return;
    }
    sendSdoLineFrame(ex.node, ex.line, frame);
}

// An initiate answer or an abort that names another object than the line's
// belongs to an earlier request whose answer came after its time-out; taken
// for this one it would hand over another object's value or outcome. Such a
// frame is ignored and the line's time-out keeps running. An abort naming no
// object (index and subindex 0) cannot be told apart and is taken.
bool namesAnotherObject(const SdoExchange &ex)
{
    return sdoFrameIndex(ex.bytes) != ex.line->index || ex.bytes[3] != ex.line->subIndex;
}

// The server frames that name an object: the initiate answers of every kind
// and aborts. Segments and block acknowledgements carry data there instead,
// and so does every frame of a running block upload but its initiate answer
// and its abort.
bool answersAnotherRequest(const SdoExchange &ex)
{
    const uint8_t command = ex.bytes[0];
    const bool blockUpload = ex.line->state == SdoState::BlockUpload;
    const bool abort = blockUpload ? command == SdoCmd::Abort : sdoSpecifier(ex.bytes) == 4;
    if (abort)
        return !(sdoFrameIndex(ex.bytes) == 0 && ex.bytes[3] == 0) && namesAnotherObject(ex);
    if (blockUpload)
        return ex.line->blockUploadPhase == 0 && sdoSpecifier(ex.bytes) == 6 && namesAnotherObject(ex);
    switch (sdoSpecifier(ex.bytes)) {
    case 2: // upload initiate answer
    case 3: // download initiate answer
    case 6: // block upload initiate answer
        return namesAnotherObject(ex);
    case 5: // block download: the initiate answer, not an acknowledgement or the end
        return (command & 3) == 0 && namesAnotherObject(ex);
    default:
        return false;
    }
}

void failOnCode(const SdoExchange &ex, uint32_t code)
{
    if (code != 0)
        failSdoLine(ex.node, ex.line, code);
}

// Any state but block upload, specifier 4: the server gave up.
void peerAbort(const SdoExchange &ex)
{
    ex.line->abortCode = sdoReadU32(ex.bytes + 4);
    finishSdoClientLine(ex.node, ex.line, SdoState::AbortedByPeer);
}

// Upload, specifier 2: the initiate answer, with the data (expedited) or the size.
void uploadInitiateAnswer(const SdoExchange &ex)
{
    SdoTransferLine *line = ex.line;
    // Once segments arrived, an initiate answer fits no transfer: taken as
    // the value, it would pass off the first segment's bytes as the result.
    if (line->offset != 0) {
        sdoNoSuchTransfer(ex);
        return;
    }
    const uint8_t command = ex.bytes[0];
    if (command & SdoCmd::ExpeditedBit) {
        const uint32_t n = 4u - ((command >> 2) & 3u);
        const uint32_t code = appendSdoBytes(line, ex.bytes + 4, n);
        if (code != 0) {
            failSdoLine(ex.node, line, code);
            return;
        }
        line->count = n;
        finish(ex);
        return;
    }
    restartSdoTimeout(ex.node, line);
    if (command & SdoCmd::SizeBit) {
        const uint32_t size = sdoReadU32(ex.bytes + 4);
        if (size > kSdoMaxTransferSize) {
            failSdoLine(ex.node, line, SdoAbort::OutOfMemory);
            return;
        }
        line->count = size;
    }
    // The first request repeats index and subindex; later ones carry zeros.
    uint8_t frame[8];
    sdoFormatFrame(frame, SdoCmd::UploadSegmentRequest, line->index, line->subIndex, 0);
    sendSdoLineFrame(ex.node, line, frame);
}

// Upload, specifier 0: one segment of data.
void uploadSegment(const SdoExchange &ex)
{
    const uint32_t code = takeSdoSegment(ex.node, ex.line, ex.bytes);
    if (code != 0) {
        failSdoLine(ex.node, ex.line, code);
        return;
    }
    ex.line->toggle ^= 1;
    if (ex.bytes[0] & SdoCmd::LastSegmentBit)
        finish(ex);
    else
        sendSegmentRequest(ex);
}

// Download, specifier 3: the initiate was taken.
void downloadInitiateAck(const SdoExchange &ex)
{
    if (ex.line->count == 0 || ex.line->count == ex.line->offset) {
        finish(ex);
        return;
    }
    restartSdoTimeout(ex.node, ex.line);
    sendDownloadSegment(ex);
}

// Download, specifier 1: a segment was taken.
void downloadSegmentAck(const SdoExchange &ex)
{
    SdoTransferLine *line = ex.line;
    if (!sdoToggleMatches(ex.line, ex.bytes)) {
        failSdoLine(ex.node, line, SdoAbort::ToggleNotAlternated);
        return;
    }
    if (line->count == 0 || line->count == line->offset) {
        finish(ex);
        return;
    }
    restartSdoTimeout(ex.node, line);
    line->toggle = (ex.bytes[0] & SdoCmd::ToggleBit) ? 0 : 1;
    sendDownloadSegment(ex);
}

// Block download, specifier 5: initiate answer, block acknowledgement or end.
void blockDownloadAnswer(const SdoExchange &ex)
{
    SdoTransferLine *line = ex.line;
    switch (ex.bytes[0] & 3) {
    case 0:
        if (ex.bytes[4] >= kSdoBlockSizeLimit) {
            failSdoLine(ex.node, line, SdoAbort::InvalidBlockSize);
            return;
        }
        restartSdoTimeout(ex.node, line);
        line->blockSize = ex.bytes[4];
        line->crcEnabled = (ex.bytes[0] & SdoCmd::BlockCrcBit) ? 1 : 0;
        failOnCode(ex, sendSdoBlock(ex.node, line));
        return;
    case 1:
        // The end is confirmed only once every byte went out.
        if (line->offset != line->count) {
            failSdoLine(ex.node, line, SdoAbort::LocalControl);
            return;
        }
        finish(ex);
        return;
    case 2:
        restartSdoTimeout(ex.node, line);
        failOnCode(ex, takeSdoBlockAck(ex.node, line, ex.bytes));
        return;
    default:
        sdoNoSuchTransfer(ex);
        return;
    }
}

// Block upload: segments carry their sequence number in byte 0, so only a
// byte 0 of exactly 0x80 is an abort here.
void blockUploadFrame(const SdoExchange &ex)
{
    SdoTransferLine *line = ex.line;
    const uint8_t command = ex.bytes[0];
    if (command == SdoCmd::Abort) {
        peerAbort(ex);
        return;
    }
    switch (line->blockUploadPhase) {
    case 0: {
        if (command & 0x01)
            return;
        restartSdoTimeout(ex.node, line);
        line->blockUploadPhase = 1;
        line->crcEnabled = (command & SdoCmd::BlockCrcBit) ? 1 : 0;
        if (command & 0x02) {
            const uint32_t size = sdoReadU32(ex.bytes + 4);
            if (size > kSdoMaxTransferSize) {
                failSdoLine(ex.node, line, SdoAbort::OutOfMemory);
                return;
            }
            line->blockObjectSize = size;
        }
        uint8_t frame[8] = {SdoCmd::BlockUploadStart, 0, 0, 0, 0, 0, 0, 0};
        sendSdoLineFrame(ex.node, line, frame);
        return;
    }
    case 1:
        failOnCode(ex, takeSdoBlockSegment(ex.node, line, ex.bytes));
        return;
    default: {
        const uint32_t code = takeSdoBlockEnd(line, ex.bytes);
        if (code != 0) {
            failSdoLine(ex.node, line, code);
            return;
        }
        uint8_t frame[8] = {SdoCmd::BlockEndAck, 0, 0, 0, 0, 0, 0, 0};
        sendSdoLineFrame(ex.node, line, frame);
        finish(ex);
        return;
    }
    }
}

constexpr SdoHandler kInvalid = sdoInvalidCommand;
constexpr SdoHandler kNoTransfer = sdoNoSuchTransfer;
constexpr SdoHandler kIgnore = sdoIgnoreFrame;

// Rows: no transfer in progress, then line states 2 to 5. Columns: the
// command specifier (byte 0 >> 5) of the server's frame.
const SdoHandler kClientHandlers[5][8] = {
    // idle: a stray abort is dropped, anything else is answered with an abort
    {kNoTransfer, kNoTransfer, kNoTransfer, kNoTransfer, kIgnore, kNoTransfer, kNoTransfer, kInvalid},
    // 2 download
    {kNoTransfer, downloadSegmentAck, kNoTransfer, downloadInitiateAck, peerAbort, kNoTransfer, kNoTransfer,
     kInvalid},
    // 3 upload
    {uploadSegment, kNoTransfer, uploadInitiateAnswer, kNoTransfer, peerAbort, kNoTransfer, kNoTransfer, kInvalid},
    // 4 block download
    {kNoTransfer, kNoTransfer, kNoTransfer, kNoTransfer, peerAbort, blockDownloadAnswer, kNoTransfer, kInvalid},
    // 5 block upload
    {blockUploadFrame, blockUploadFrame, blockUploadFrame, blockUploadFrame, blockUploadFrame, blockUploadFrame,
     blockUploadFrame, kInvalid},
};

} // namespace

void processSdoClientFrame(const SdoExchange &exchange)
{
    if (exchange.line != nullptr && answersAnotherRequest(exchange))
        return;
    const int row = exchange.line != nullptr ? exchange.line->state - 1 : 0;
    kClientHandlers[row][sdoSpecifier(exchange.bytes)](exchange);
}
