// Starting SDO client transfers: the channel of the server node, a free
// line, the first frame of an upload or download (expedited, segmented or
// block), and the variants that pick a channel or run without a callback.
#include "canopen/sdo_client.h"

#include "canopen/od.h"
#include "canopen/sdo_line.h"
#include "canopen/stack_lock.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kStarted = 0;
constexpr int kRefused = -1;
constexpr int kNoBuffer = -2;

// Takes and sets up a line for a client transfer to nodeId; a start result
// other than kStarted when it cannot.
int openClientLine(NodeContext *node, uint8_t nodeId, uint8_t state, uint16_t index, uint8_t subIndex,
                   uint8_t dataType, SdoCallback callback, SdoTransferLine **opened)
{
    uint8_t channel = 0;
    const int found = findSdoClientChannel(node, nodeId, &channel);
    if (found != 0)
        return found;
    // One transfer per channel and per server node at a time (a row pointed
    // elsewhere may still carry an older transfer); a locally aborted one is done.
    for (const SdoTransferLine &line : node->sdoLines) {
        if (line.role == SdoRole::Client && (line.channel == channel || line.peerNodeId == nodeId) &&
            line.state != SdoState::Free && line.state != SdoState::AbortedLocally)
            return kRefused;
    }
    const uint8_t lineNo = findFreeSdoLine(node);
    if (lineNo == kSdoNoLine)
        return kRefused;
    SdoTransferLine *line = &node->sdoLines[lineNo];
    // A line without its time-out could wait for a silent server forever.
    if (!setUpSdoLine(node, line, channel, SdoRole::Client, state, index, subIndex)) {
        freeSdoLine(line);
        return kRefused;
    }
    line->dataType = dataType;
    line->callback = callback;
    *opened = line;
    return kStarted;
}

// Sends the first frame; the line is freed again when that fails (wrong NMT
// state, frame not sent).
int launch(NodeContext *node, SdoTransferLine *line, const uint8_t frame[8])
{
    if (sendSdoLineFrame(node, line, frame) != 0) {
        freeSdoLine(line);
        return kRefused;
    }
    return kStarted;
}

} // namespace

int readRemoteEntry(NodeContext *node, uint8_t nodeId, uint16_t index, uint8_t subIndex, uint8_t dataType,
                    SdoCallback callback, uint8_t blockMode)
{
    SdoTransferLine *line = nullptr;
    const uint8_t state = blockMode ? SdoState::BlockUpload : SdoState::Upload;
    const int opened = openClientLine(node, nodeId, state, index, subIndex, dataType, callback, &line);
    if (opened != kStarted)
        return opened;
    uint8_t frame[8];
    if (blockMode)
        sdoFormatFrame(frame, SdoCmd::BlockUploadInitiate, index, subIndex, kSdoBlockSegments);
    else
        sdoFormatFrame(frame, SdoCmd::UploadInitiate, index, subIndex, 0);
    return launch(node, line, frame);
}

int writeRemoteEntry(NodeContext *node, uint8_t nodeId, uint16_t index, uint8_t subIndex, uint32_t count,
                     uint8_t dataType, const void *data, SdoCallback callback, uint8_t blockMode)
{
    if (data == nullptr && count != 0)
        return kRefused;
    SdoTransferLine *line = nullptr;
    const uint8_t state = blockMode ? SdoState::BlockDownload : SdoState::Download;
    const int opened = openClientLine(node, nodeId, state, index, subIndex, dataType, callback, &line);
    if (opened != kStarted)
        return opened;

    line->count = count;
    if (count > kSdoInlineSize) {
        line->dynamicData = static_cast<uint8_t *>(std::malloc(count));
        if (line->dynamicData == nullptr) {
            freeSdoLine(line);
            return kNoBuffer;
        }
        line->dynamicDataSize = count;
    }
    if (count != 0)
        std::memcpy(sdoLineBytes(line), data, count);

    uint8_t frame[8];
    if (blockMode) {
        line->blockObjectSize = count;
        sdoFormatFrame(frame, SdoCmd::BlockDownloadInitiate, index, subIndex, count);
    } else if (count <= 4) {
        // An empty value goes as 0x33: the otherwise unused bit 4 carries the
        // fourth empty byte that the two size bits cannot hold. Our own server
        // reads it so; a server that reads only the two bits stores four zero
        // bytes, which a text entry reads back as empty.
        const uint8_t command = static_cast<uint8_t>(SdoCmd::DownloadExpedited + (4 - count) * 4);
        sdoFormatFrame(frame, command, index, subIndex, 0);
        std::memcpy(frame + 4, line->data, count);
        line->offset = count;
    } else {
        sdoFormatFrame(frame, SdoCmd::DownloadSegmented, index, subIndex, count);
    }
    return launch(node, line, frame);
}

namespace {

// Gives the first unused client row (server node id 0) to nodeId.
bool claimClientRow(NodeContext *node, uint8_t nodeId)
{
    for (int c = 0; c <= 0xFF; ++c) {
        const OdIndexEntry *row = sdoParameterRow(node, SdoRole::Client, static_cast<uint8_t>(c));
        if (row == nullptr || row->count < 4)
            return false;
        if (sdoRowValue(row, 3) == 0) {
            sdoSetRowValue(row, 1, 0x600u + nodeId);
            sdoSetRowValue(row, 2, 0x580u + nodeId);
            sdoSetRowValue(row, 3, nodeId);
            return true;
        }
    }
    return false;
}

} // namespace

int readRemoteEntryAutoChannel(NodeContext *node, uint8_t nodeId, uint16_t index, uint8_t subIndex,
                               uint8_t dataType, SdoCallback callback, uint8_t blockMode)
{
    const int started = readRemoteEntry(node, nodeId, index, subIndex, dataType, callback, blockMode);
    if (started != kSdoNoRowForNode || !claimClientRow(node, nodeId))
        return started;
    return readRemoteEntry(node, nodeId, index, subIndex, dataType, callback, blockMode);
}

int writeRemoteEntryAutoChannel(NodeContext *node, uint8_t nodeId, uint16_t index, uint8_t subIndex,
                                uint32_t count, uint8_t dataType, const void *data, SdoCallback callback,
                                uint8_t blockMode)
{
    const int started = writeRemoteEntry(node, nodeId, index, subIndex, count, dataType, data, callback, blockMode);
    if (started != kSdoNoRowForNode || !claimClientRow(node, nodeId))
        return started;
    return writeRemoteEntry(node, nodeId, index, subIndex, count, dataType, data, callback, blockMode);
}

int readRemoteEntryPolled(NodeContext *node, uint8_t nodeId, uint16_t index, uint8_t subIndex, uint8_t dataType,
                          uint8_t blockMode)
{
    return readRemoteEntry(node, nodeId, index, subIndex, dataType, nullptr, blockMode);
}

int writeRemoteEntryPolled(NodeContext *node, uint8_t nodeId, uint16_t index, uint8_t subIndex, uint32_t count,
                           uint8_t dataType, const void *data, uint8_t blockMode)
{
    return writeRemoteEntry(node, nodeId, index, subIndex, count, dataType, data, nullptr, blockMode);
}

bool isSdoClientTransferRunning(const NodeContext *node, uint8_t serverNodeId)
{
    StackLockGuard lock;
    for (const SdoTransferLine &line : node->sdoLines) {
        if (line.role == SdoRole::Client && sdoLineRunning(line) && line.peerNodeId == serverNodeId)
            return true;
    }
    return false;
}

uint32_t setSdoClientChannel(NodeContext *node, uint8_t channel, uint8_t serverNodeId)
{
    constexpr uint16_t kFirstClientRow = 0x1280;
    const uint16_t index = static_cast<uint16_t>(kFirstClientRow + channel);
    uint32_t requestCobId = 0x600u + serverNodeId;
    uint32_t answerCobId = 0x580u + serverNodeId;
    uint8_t nodeId = serverNodeId;
    StackLockGuard lock; // the timer and receive threads read the row
    uint32_t size = sizeof requestCobId;
    if (const uint32_t code = setOdEntry(node, index, 1, &requestCobId, &size, 0))
        return code;
    size = sizeof answerCobId;
    if (const uint32_t code = setOdEntry(node, index, 2, &answerCobId, &size, 0))
        return code;
    size = sizeof nodeId;
    return setOdEntry(node, index, 3, &nodeId, &size, 0);
}
