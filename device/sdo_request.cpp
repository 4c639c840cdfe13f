// The request block, request functions, completion callbacks and the wait.
//
// Lock order: exchange mutex, then stack lock, then reply mutex. A waiter posts
// its try holding the reply mutex and keeps it until the condition wait
// releases it, so a completion (which needs the reply mutex) can neither slip
// in before the wait nor be lost. Each try gets a number that travels in the
// alarm id; a request function of an ended try starts nothing, and a
// completion counts only while its try is still open.
#include "device/sdo_request.h"

#include "device/connection_settings.h"
#include "device/data_types.h"
#include "device/little_endian.h"

#include "canopen/alarm.h"
#include "canopen/master_od.h"
#include "canopen/node_context.h"
#include "canopen/sdo.h"
#include "canopen/stack_lock.h"
#include "canopen/stack_timer.h"

#include <QDeadlineTimer>
#include <QMutex>
#include <QMutexLocker>

#include <cstdio>
#include <cstring>

SdoRequestBlock sdoRequestBlock;
QWaitCondition sdoReplyCondition;

namespace {

QMutex exchangeMutex; // one exchange at a time in the process
QMutex replyMutex;    // guards the try state below and the block's result fields

quint32 currentTry = 0;  // written under stack lock and reply mutex
bool tryOpen = false;    // the current try's waiter still waits
bool tryCompleted = false;
quint32 runningTry = 0;  // try whose transfer was started last (stack lock); 0 none
quint8 runningNode = 0;
bool largeReply = false; // the running try's data goes to the large buffer

quint8 largeScratch[kSdoLargeBufferSize]; // stack-side scratch of large uploads

// The alarm id is 32 bits: the node id in the low byte, the try number above it.
constexpr quint32 kTryMask = 0xFFFFFF;

// Accepts the posted try when it is still the current one; the node id is the
// alarm id's low byte.
bool beginTry(uint32_t id, uint8_t &nodeId)
{
    nodeId = uint8_t(id & 0xFF);
    QMutexLocker lock(&replyMutex); // the waiter closes its try under this mutex only
    if ((id >> 8) != (currentTry & kTryMask) || !tryOpen)
        return false;
    runningTry = currentTry;
    runningNode = nodeId;
    return true;
}

// Marks the start's outcome: a refused start produces no completion, and a
// completion of an older transfer must not be taken for this try.
void endStart(int startResult)
{
    if (startResult != 0)
        runningTry = 0;
}

// Takes a completion for the current try, when it is the current try's; the
// writer fills the block's result fields.
template <typename Writer>
void deliver(uint8_t nodeId, Writer write)
{
    QMutexLocker lock(&replyMutex);
    if (!tryOpen || tryCompleted || runningTry == 0 || runningTry != currentTry
        || nodeId != runningNode)
        return;
    write();
    tryCompleted = true;
    runningTry = 0;
    sdoReplyCondition.wakeOne();
}

void startRead(NodeContext *node, uint32_t id, uint16_t index, uint8_t subindex, uint8_t dataType,
               SdoCallback done)
{
    uint8_t nodeId;
    if (!beginTry(id, nodeId))
        return;
    endStart(readRemoteEntry(node, nodeId, index, subindex, dataType, done, 0));
}

// Reads the entry the request block names.
void startBlockRead(NodeContext *node, uint32_t id, SdoCallback done)
{
    const SdoRequestBlock &b = sdoRequestBlock;
    startRead(node, id, b.index, b.subindex, b.dataType, done);
}

// Writes a transfer's outcome into the block's result fields (reply mutex held).
void storeOutcome(uint32_t state, uint32_t abortCode)
{
    SdoRequestBlock &b = sdoRequestBlock;
    b.result = state == SdoState::Finished ? 1 : 0;
    if (state != SdoState::Finished)
        b.abortCode = abortCode;
}

// Waits for the current try's completion; the reply mutex is held on entry and exit.
void waitForTry(const SdoRequestCall &call)
{
    const int slice = connectionSettings.sdoTimeout;
    QDeadlineTimer limit(call.waitWhileRunning ? kStoredEdsWaitLimitMs : slice);
    while (!tryCompleted) {
        QDeadlineTimer sliceEnd(qMin<qint64>(slice, limit.remainingTime()));
        while (!tryCompleted && !sliceEnd.hasExpired())
            sdoReplyCondition.wait(&replyMutex, sliceEnd);
        if (tryCompleted || !call.waitWhileRunning || limit.hasExpired())
            break;
        // Keep waiting only while the transfer still runs. The stack takes its
        // lock for the question, and the stack lock comes before the reply mutex.
        replyMutex.unlock();
        const bool running = isSdoClientTransferRunning(&masterNode, call.nodeId);
        replyMutex.lock();
        if (!running && !tryCompleted)
            break;
    }
}

} // namespace

void requestParamRead(NodeContext *node, uint32_t id)
{
    startBlockRead(node, id, onSdoReadDone);
}

void requestValueRead(NodeContext *node, uint32_t id)
{
    requestParamRead(node, id);
}

void requestParamReadLarge(NodeContext *node, uint32_t id)
{
    startBlockRead(node, id, onSdoReadDoneLarge);
}

void requestParamWrite(NodeContext *node, uint32_t id)
{
    uint8_t nodeId;
    if (!beginTry(id, nodeId))
        return;
    const SdoRequestBlock &b = sdoRequestBlock;
    endStart(writeRemoteEntry(node, nodeId, b.index, b.subindex, b.writeCount, b.dataType,
                              b.writeData, onSdoWriteDone, 0));
}

void requestDeviceType(NodeContext *node, uint32_t id)
{
    startRead(node, id, 0x1000, 0, DataType::Unsigned32, onSdoReadDone);
}

void requestStorageFormat(NodeContext *node, uint32_t id)
{
    startRead(node, id, 0x1022, 0, DataType::Unsigned16, onSdoReadDone);
}

void requestModuleCount(NodeContext *node, uint32_t id)
{
    startRead(node, id, 0x1027, 0, DataType::Unsigned8, onSdoReadDone);
}

void requestDeviceName(NodeContext *node, uint32_t id)
{
    startRead(node, id, 0x1008, 0, DataType::VisibleString, onSdoReadDone);
}

void requestStoredEds(NodeContext *node, uint32_t id)
{
    startRead(node, id, 0x1021, 0, DataType::Domain, onSdoReadDoneLarge);
}

void requestVendorValue1(NodeContext *node, uint32_t id)
{
    startRead(node, id, 0x2000, 1, DataType::Unsigned32, onSdoReadDone);
}

void requestVendorValue8(NodeContext *node, uint32_t id)
{
    startRead(node, id, 0x2000, 8, DataType::Unsigned32, onSdoReadDone);
}

namespace {
// Fetches an upload's outcome and frees the client line; the transfer state.
uint32_t takeReadResult(NodeContext *node, uint8_t nodeId, quint8 *buffer, uint32_t *size,
                        uint32_t *abortCode)
{
    const uint32_t state = getReadResult(node, nodeId, buffer, size, abortCode);
    closeSdoTransfer(node, nodeId, SdoRole::Client);
    return state;
}

// Fetches an upload's outcome into `scratch`, frees the client line and, for
// the current try, copies the data into `destination`.
void finishRead(NodeContext *node, uint8_t nodeId, quint8 *scratch, uint32_t capacity,
                quint8 *destination, bool large)
{
    uint32_t size = capacity;
    uint32_t abortCode = 0;
    const uint32_t state = takeReadResult(node, nodeId, scratch, &size, &abortCode);
    deliver(nodeId, [&] {
        largeReply = large;
        storeOutcome(state, abortCode);
        if (state == SdoState::Finished) {
            sdoRequestBlock.resultSize = size;
            std::memcpy(destination, scratch, size);
        }
    });
}
} // namespace

void onSdoReadDone(NodeContext *node, uint8_t nodeId)
{
    quint8 buffer[kSdoSmallBufferSize];
    finishRead(node, nodeId, buffer, kSdoSmallBufferSize, sdoRequestBlock.smallBuffer, false);
}

void onSdoReadDoneLarge(NodeContext *node, uint8_t nodeId)
{
    finishRead(node, nodeId, largeScratch, kSdoLargeBufferSize, sdoRequestBlock.largeBuffer, true);
}

void onSdoWriteDone(NodeContext *node, uint8_t nodeId)
{
    uint32_t abortCode = 0;
    const uint32_t state = getWriteResult(node, nodeId, &abortCode);
    closeSdoTransfer(node, nodeId, SdoRole::Client);
    deliver(nodeId, [&] {
        largeReply = false;
        sdoRequestBlock.resultSize = 0;
        storeOutcome(state, abortCode);
    });
}

void onSdoReadDebug(NodeContext *node, uint8_t nodeId)
{
    quint8 buffer[kSdoSmallBufferSize];
    uint32_t size = sizeof buffer;
    uint32_t abortCode = 0;
    if (takeReadResult(node, nodeId, buffer, &size, &abortCode) == SdoState::Finished) {
        std::printf("\nResult : %x\n", unsigned(littleEndianValue(buffer, int(size), 4)));
    } else {
        std::printf("\nResult : Failed in getting information for slave %2.2x, AbortCode :%4.4x \n",
                    unsigned(nodeId), unsigned(abortCode));
    }
    std::fflush(stdout);
}

namespace {
// Posts a request function into the stack's timer thread (stack lock held).
// A stack that is not running would never run it, and its slot would outlive
// the connection: then nothing is posted, as with a full alarm table.
bool postRequest(uint32_t id, SdoRequestFunction request)
{
    return isStackTimerLoopRunning() && setAlarm(&masterNode, id, request, 0, 0) != kNoAlarm;
}

void requestDeviceTypeDebug(NodeContext *node, uint32_t id)
{
    readRemoteEntry(node, uint8_t(id & 0xFF), 0x1000, 0, DataType::Unsigned32, onSdoReadDebug, 0);
}
} // namespace

void probeConfiguredNodeDebug()
{
    StackLockGuard guard;
    postRequest(configuredNodeId(), requestDeviceTypeDebug);
}

SdoReply runSdoRequestCall(const SdoRequestCall &call)
{
    SdoReply reply;
    if (call.writeBytes.size() > kSdoSmallBufferSize)
        return reply; // never reaches the block's 70 bytes
    QMutexLocker exchangeLock(&exchangeMutex);
    for (int attempt = 0; attempt < call.tries; ++attempt) {
        enterStackLock();
        replyMutex.lock();
        SdoRequestBlock &b = sdoRequestBlock;
        b.index = call.index;
        b.subindex = call.subindex;
        b.dataType = call.dataType;
        b.writeData = b.smallBuffer;
        b.writeCount = quint32(call.writeBytes.size());
        if (!call.writeBytes.isEmpty())
            std::memcpy(b.smallBuffer, call.writeBytes.constData(), b.writeCount);
        currentTry = (currentTry + 1) & kTryMask;
        if (currentTry == 0)
            currentTry = 1;
        tryOpen = true;
        tryCompleted = false;
        // A try that could not be posted fails at once.
        const bool posted = postRequest(call.nodeId | (currentTry << 8), call.request);
        leaveStackLock();

        if (posted)
            waitForTry(call);
        tryOpen = false;
        const bool succeeded = tryCompleted && b.result == 1;
        if (tryCompleted && b.result != 1)
            reply.abortCode = b.abortCode;
        if (succeeded) {
            const quint8 *data = largeReply ? b.largeBuffer : b.smallBuffer;
            reply.ok = true;
            reply.data = QByteArray(reinterpret_cast<const char *>(data), int(b.resultSize));
        }
        replyMutex.unlock();
        if (succeeded)
            break;
    }
    return reply;
}

quint8 configuredNodeId()
{
    return quint8(connectionSettings.device.nodeId);
}

namespace {
SdoRequestCall entryCall(SdoRequestFunction request, quint8 nodeId, quint16 index = 0,
                         quint8 subindex = 0, quint8 dataType = 0)
{
    SdoRequestCall call;
    call.request = request;
    call.nodeId = nodeId;
    call.index = index;
    call.subindex = subindex;
    call.dataType = dataType;
    return call;
}
} // namespace

SdoReply sdoRead(quint8 nodeId, quint16 index, quint8 subindex, quint8 dataType)
{
    return runSdoRequestCall(entryCall(requestParamRead, nodeId, index, subindex, dataType));
}

SdoReply sdoWrite(quint8 nodeId, quint16 index, quint8 subindex, quint8 dataType,
                  const QByteArray &bytes)
{
    SdoRequestCall call = entryCall(requestParamWrite, nodeId, index, subindex, dataType);
    call.writeBytes = bytes;
    return runSdoRequestCall(call);
}

SdoReply sdoRequest(quint8 nodeId, SdoRequestFunction request)
{
    return runSdoRequestCall(entryCall(request, nodeId));
}

void pointSdoClientAt(quint8 nodeId)
{
    setSdoClientChannel(&masterNode, 0, nodeId);
}
