// The stack's record of the local node: identity, dictionary tables, SDO
// transfer lines, NMT state, switches of the communication objects, and the
// state of every service unit. One instance exists, the master's
// (master_od.h); every stack operation takes it as its first argument.
#pragma once

#include "canopen/alarm_id.h"
#include "canopen/can_message.h"
#include "canopen/emcy_slot.h"
#include "canopen/od.h"
#include "canopen/pdo_status.h"

#include <array>
#include <cstddef>
#include <cstdint>

struct NodeContext;
struct CanPortSlot;

constexpr int kSdoLineCount = 32;
constexpr int kNodeIdCount = 128;
constexpr uint8_t kNoNodeId = 255;

// Alarm callbacks (software alarms, alarm.h) get the node and the id given to setAlarm.
using AlarmCallback = void (*)(NodeContext *node, uint32_t id);
// Completion of an SDO client transfer, with the server's node id.
using SdoCallback = void (*)(NodeContext *node, uint8_t nodeId);
using NodeHook = void (*)(NodeContext *node);
using NodeIdHook = void (*)(NodeContext *node, uint8_t nodeId);

// NMT states of the local node and of remote nodes.
namespace NmtState {
constexpr uint32_t Initialisation = 0;
constexpr uint32_t Stopped = 4;
constexpr uint32_t Operational = 5;
constexpr uint32_t PreOperational = 127;
constexpr uint32_t Unknown = 15;
} // namespace NmtState

// Positions in NodeContext::firstIndex / lastIndex.
namespace OdRange {
constexpr int SdoServer = 0;
constexpr int SdoClient = 1;
constexpr int RpdoComm = 2;
constexpr int RpdoMap = 3;
constexpr int TpdoComm = 4;
constexpr int TpdoMap = 5;
constexpr int Count = 6;
} // namespace OdRange

// SDO line roles and states.
namespace SdoRole {
constexpr uint8_t Free = 0;
constexpr uint8_t Server = 1;
constexpr uint8_t Client = 2;
} // namespace SdoRole

namespace SdoState {
constexpr uint8_t Free = 0;
constexpr uint8_t Finished = 1;
constexpr uint8_t Download = 2;
constexpr uint8_t Upload = 3;
constexpr uint8_t BlockDownload = 4;
constexpr uint8_t BlockUpload = 5;
constexpr uint8_t AbortedByPeer = 0x80;
constexpr uint8_t AbortedLocally = 0x85;
} // namespace SdoState

struct SdoTransferLine {
    uint8_t channel = 0;  // parameter row in its range, from 0
    uint8_t role = 0;     // SdoRole
    // Taken from the row when the transfer starts, so that a row pointed
    // elsewhere meanwhile cannot redirect this transfer's frames or callback.
    uint32_t sendCobId = 0;    // the line's own frames leave on it
    uint32_t receiveCobId = 0; // the peer's frames arrive on it
    uint8_t peerNodeId = kNoNodeId; // client: the server's node id
    uint8_t state = 0;    // SdoState
    uint8_t toggle = 0;
    uint32_t abortCode = 0;
    uint16_t index = 0;
    uint8_t subIndex = 0;
    uint32_t count = 0;   // total size; 0 when none was given
    uint32_t offset = 0;  // bytes transferred so far
    uint8_t data[32] = {};
    uint8_t *dynamicData = nullptr; // heap buffer beyond 32 bytes, owned by the line
    uint32_t dynamicDataSize = 0;
    uint8_t crcEnabled = 0;
    uint8_t blockSize = 0;
    uint32_t blockObjectSize = 0;
    uint32_t blockStartOffset = 0;
    uint8_t seqNo = 0;
    uint8_t endEmptyCount = 0;
    uint32_t blockUploadPhase = 0;
    uint8_t lastSegment[8] = {};
    uint8_t dataType = 0;
    int16_t alarmId = kNoAlarm;
    SdoCallback callback = nullptr;
};

// 1 when that communication object is active.
struct CommSwitches {
    uint8_t bootUp = 0;
    uint8_t sdo = 0;
    uint8_t emcy = 0;
    uint8_t sync = 0;
    uint8_t lifeGuard = 0;
    uint8_t pdo = 0;
    uint8_t lss = 0;
};

template <typename T, std::size_t N>
constexpr std::array<T, N> filledArray(T value)
{
    std::array<T, N> a{};
    for (std::size_t i = 0; i < N; ++i)
        a[i] = value;
    return a;
}

struct NodeContext {
    uint8_t *nodeId = nullptr; // 255: no id
    const OdIndexEntry *objectDictionary = nullptr;
    TpdoStatus *pdoStatus = nullptr;
    int16_t *rpdoEventAlarms = nullptr; // one per receive PDO; null: no receive event timers
    AlarmCallback onRpdoEventTimer = nullptr;
    const uint16_t *firstIndex = nullptr; // OdRange positions; first row 0 = empty range
    const uint16_t *lastIndex = nullptr;
    const uint16_t *objectCount = nullptr;
    const uint8_t *isSlave = nullptr;
    uint32_t (*valueRangeTest)(uint8_t dataType, const void *value) = nullptr;
    SdoTransferLine sdoLines[kSdoLineCount];
    uint32_t nmtState = NmtState::Unknown;
    CommSwitches commSwitches;
    NodeHook onInitialisation = nullptr;
    NodeHook onPreOperational = nullptr;
    NodeHook onOperational = nullptr;
    NodeHook onStopped = nullptr;
    NodeHook onNmtResetNode = nullptr;
    NodeHook onNmtResetComm = nullptr;

    // Heartbeat (object 0x1016 consumers, producer time).
    uint8_t *consumerHeartbeatCount = nullptr;
    uint32_t *consumerHeartbeatEntries = nullptr; // bits 23..16 node id, 15..0 time ms
    int16_t *consumerHeartbeatAlarms = nullptr;   // one per consumer entry
    uint16_t *producerHeartbeatTime = nullptr;    // ms
    int16_t producerHeartbeatAlarm = kNoAlarm;
    NodeIdHook onHeartbeatError = nullptr;

    std::array<uint32_t, kNodeIdCount> remoteNodeState = filledArray<uint32_t, kNodeIdCount>(NmtState::Unknown);

    // Node guarding.
    int16_t guardAlarm = kNoAlarm;
    NodeIdHook onNodeGuardError = nullptr;
    uint16_t *guardTime = nullptr; // ms
    uint8_t *lifeTimeFactor = nullptr;
    std::array<uint8_t, kNodeIdCount> lifeCount = {};

    // SYNC.
    int16_t syncAlarm = kNoAlarm;
    uint32_t *syncCobId = nullptr;  // object 0x1005
    uint32_t *syncPeriod = nullptr; // object 0x1006, microseconds
    NodeHook onPostSync = nullptr;
    NodeHook onPostTpdo = nullptr;

    NodeIdHook onSlaveBootUp = nullptr;
    void (*onSlaveStateChange)(NodeContext *node, uint8_t nodeId, uint32_t newState) = nullptr;
    uint8_t ownGuardToggle = 0;

    CanPortSlot *port = nullptr; // null when closed
    OdScanIndex scanIndex = nullptr;
    void (*storeOdSubIndex)(NodeContext *node, uint16_t index, uint8_t subIndex) = nullptr;

    // Concise-DCF configuration of booted slaves.
    const OdIndexEntry *dcfRow = nullptr; // object 0x1F22
    const uint8_t *dcfCursor = nullptr;
    const uint8_t *dcfEnd = nullptr; // end of the node's data: no read goes past it
    uint32_t dcfEntryCount = 0;      // announced by the data
    uint32_t dcfEntriesRead = 0;
    uint8_t dcfState = 0; // 0 idle, 1 verifying, 2 writing, 3 saving
    uint32_t dcfSize = 0;
    const uint8_t *dcfValue = nullptr;

    // Emergency.
    uint8_t emcyErrorState = 0;
    uint32_t emcyHistoryLength = 0;
    uint8_t *emcyErrorCount = nullptr;
    uint32_t *emcyErrorHistory = nullptr;
    uint8_t *errorRegister = nullptr; // object 0x1001
    uint32_t *emcyCobId = nullptr;
    EmcyErrorSlot emcyErrors[kEmcyErrorSlots];
    void (*onEmergency)(NodeContext *node, uint8_t nodeId, uint16_t errorCode, uint8_t errorRegister) = nullptr;

    // Layer setting services.
    uint8_t lssState = 0; // 1 done, 2 timed out, 3 waiting
    uint8_t lssCommand = 0;
    uint8_t lssMode = 0;
    uint32_t lssResult = 0;
    uint8_t lssExtra = 0;
    uint8_t lastNodeId = 0; // last id given to setNodeId
    uint8_t lssSwitchProgress = 0;
    uint8_t lssIdentifyBits = 0;
    const char *lssBitTiming = "none";
    uint16_t lssSwitchDelay = 0;
    uint8_t lssSwitchPhase = 0;
    CanPortSlot *lssKeptPort = nullptr;
    int16_t lssTimeoutAlarm = kNoAlarm;
    int16_t lssSwitchAlarm = kNoAlarm;
    void (*onLssDone)(NodeContext *node, uint8_t command) = nullptr;
    void (*onLssStore)(NodeContext *node, uint8_t *error, uint8_t *specificError) = nullptr;
};
