// The blocking bridge between Qt threads and the stack: a caller stores its
// request in the one request block, posts a request function into the stack's
// timer thread and waits on the one reply condition; the completion callback,
// run by the stack, fills in the result and wakes the waiter. Up to 3 tries.
//
// A completion belongs to exactly one try: it is taken only while that try is
// still waiting, so a late completion is never taken for a later try or a later
// request, and one that arrives before the waiter starts waiting is not lost.
#pragma once

#include "device/value_format.h"

#include <QByteArray>
#include <QWaitCondition>

#include <cstdint>

struct NodeContext;

/// Room for the largest object read whole: a stored EDS archive or a DOMAIN
/// file of up to 1000 KiB, more than the devices hold.
constexpr quint32 kSdoLargeBufferSize = 1024000;

/// The one process-wide request and result block. One exchange at a time uses it.
struct SdoRequestBlock {
    quint8 result;      ///< 1 when the last taken completion succeeded
    quint32 resultSize; ///< data bytes of the last successful upload
    quint32 abortCode;  ///< abort code of the last failed transfer
    quint16 index;
    quint8 subindex;
    quint32 writeCount;
    quint8 dataType;
    quint8 *writeData;  ///< always smallBuffer
    quint8 smallBuffer[kSdoSmallBufferSize];
    quint8 largeBuffer[kSdoLargeBufferSize];
};

extern SdoRequestBlock sdoRequestBlock;
extern QWaitCondition sdoReplyCondition;

// Request functions: posted as zero-delay alarms, they start one transfer in
// the stack's timer thread. The alarm id carries the node id in its low byte.
void requestParamRead(NodeContext *node, uint32_t id);
void requestValueRead(NodeContext *node, uint32_t id);
void requestParamReadLarge(NodeContext *node, uint32_t id);
void requestParamWrite(NodeContext *node, uint32_t id);
void requestDeviceType(NodeContext *node, uint32_t id);    ///< 0x1000/0, UNSIGNED32
void requestStorageFormat(NodeContext *node, uint32_t id); ///< 0x1022/0, UNSIGNED16
void requestModuleCount(NodeContext *node, uint32_t id);   ///< 0x1027/0, UNSIGNED8
void requestDeviceName(NodeContext *node, uint32_t id);    ///< 0x1008/0, VISIBLE_STRING
void requestStoredEds(NodeContext *node, uint32_t id);     ///< 0x1021/0, DOMAIN, large buffer
void requestVendorValue1(NodeContext *node, uint32_t id);  ///< 0x2000/1, UNSIGNED32
void requestVendorValue8(NodeContext *node, uint32_t id);  ///< 0x2000/8, UNSIGNED32

// Completion callbacks (stack lock held; receive or timer thread).
void onSdoReadDone(NodeContext *node, uint8_t nodeId);
void onSdoReadDoneLarge(NodeContext *node, uint8_t nodeId);
void onSdoWriteDone(NodeContext *node, uint8_t nodeId);

using SdoRequestFunction = void (*)(NodeContext *node, uint32_t id);

// Debugging aid, outside the request block and its waits: prints the result
// of a read of object 0x1000 on standard output ("\nResult : %x\n" with the
// first four bytes, or the failure with node id and abort code) and frees the
// client line, waking nobody.
void onSdoReadDebug(NodeContext *node, uint8_t nodeId);
/// Posts that read to the configured node and returns at once; nothing is
/// posted while the stack is not running.
void probeConfiguredNodeDebug();

/// Per-try wait of the stored-EDS upload: as long as its transfer keeps running
/// (checked every sdoTimeout ms), at most this long.
constexpr int kStoredEdsWaitLimitMs = 300000;

/// One blocking exchange.
struct SdoRequestCall {
    SdoRequestFunction request = requestParamRead;
    quint8 nodeId = 0;
    quint16 index = 0;
    quint8 subindex = 0;
    quint8 dataType = 0;
    QByteArray writeBytes; ///< bytes of a download (requestParamWrite), at most 70
    int tries = 3;
    bool waitWhileRunning = false; ///< wait past sdoTimeout while the transfer runs (stored EDS)
};

/// Result of an exchange: the data of a successful upload, or the abort code
/// of the last failure (0 when no completion reported one).
struct SdoReply {
    bool ok = false;
    quint32 abortCode = 0;
    QByteArray data;
};

/// Runs the exchange on the calling thread. Exchanges of different threads
/// never overlap: each one holds the block from its first try to its reply.
SdoReply runSdoRequestCall(const SdoRequestCall &call);

/// Node id of the configured device (ConnectionSettings).
quint8 configuredNodeId();

/// Convenience forms of runSdoRequestCall with requestParamRead / requestParamWrite.
SdoReply sdoRead(quint8 nodeId, quint16 index, quint8 subindex, quint8 dataType);
SdoReply sdoWrite(quint8 nodeId, quint16 index, quint8 subindex, quint8 dataType,
                  const QByteArray &bytes);
SdoReply sdoRequest(quint8 nodeId, SdoRequestFunction request);

/// Points the master's first SDO client channel (object 0x1280 subs 1 to 3) at a node.
void pointSdoClientAt(quint8 nodeId);
