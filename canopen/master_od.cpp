// The master's object dictionary: 20 objects with their static value
// storage, the index lookup over them, and the master's node record whose
// pointers lead into that storage.
#include "canopen/master_od.h"

#include "canopen/abort_codes.h"

namespace {

using namespace OdType;
constexpr uint8_t RW = OdAccess::ReadWrite;
constexpr uint8_t RO = OdAccess::ReadOnly;

// Values.
uint32_t deviceType = 0x00000191;
uint8_t errorRegister = 0;
uint32_t syncCobId = 0x40000080;
uint32_t syncPeriodUs = 50000;
uint8_t consumerHeartbeatCount = 1;
uint32_t consumerHeartbeat[1] = {0x004005DC}; // node 0x40 within 1500 ms
uint8_t identityCount = 4;
uint32_t identity[4] = {0, 0, 0, 0};
uint8_t clientCount = 3;
uint32_t clientCobIdToServer = 0;
uint32_t clientCobIdFromServer = 0;
uint8_t clientServerNodeId = 0;
uint8_t rpdoCommCount = 5;
uint32_t rpdoCobId = 0x1C0;
uint8_t rpdoTransmissionType = 1;
uint16_t rpdoInhibitTime = 0;
uint8_t rpdoReserved = 0;
uint16_t rpdoEventTimer = 0;
uint8_t rpdoMapCount = 8;
uint32_t rpdoMap[8] = {0x200F0001, 0x20100001, 0x20110001, 0x20120001,
                       0x20130001, 0x20140001, 0x20150001, 0x20160001};
uint8_t tpdoCommCount = 5;
uint32_t tpdoCobId = 0x223;
uint8_t tpdoTransmissionType = 1;
uint16_t tpdoInhibitTime = 0;
uint8_t tpdoReserved = 0;
uint16_t tpdoEventTimer = 0;
uint8_t tpdoMapCount = 1;
uint32_t tpdoMap[1] = {0x20000008};
uint8_t object2000 = 0;
uint8_t switches[8] = {0, 0, 0, 0, 0, 0, 0, 0}; // 0x200F..0x2016

// Write-callback arrays of the objects that have one.
OdWriteCallback syncCobIdCallbacks[1] = {nullptr};
OdWriteCallback syncPeriodCallbacks[1] = {nullptr};
OdWriteCallback tpdoCommCallbacks[6] = {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

// Subentries.
const OdSubEntry obj1000[] = {{RO, Unsigned32, 4, &deviceType}};
const OdSubEntry obj1001[] = {{RO, Unsigned8, 1, &errorRegister}};
const OdSubEntry obj1005[] = {{RW, Unsigned32, 4, &syncCobId}};
const OdSubEntry obj1006[] = {{RW, Unsigned32, 4, &syncPeriodUs}};
const OdSubEntry obj1016[] = {{RO, Unsigned8, 1, &consumerHeartbeatCount},
                              {RW, Unsigned32, 4, &consumerHeartbeat[0]}};
const OdSubEntry obj1018[] = {{RO, Unsigned8, 1, &identityCount},
                              {RO, Unsigned32, 4, &identity[0]},
                              {RO, Unsigned32, 4, &identity[1]},
                              {RO, Unsigned32, 4, &identity[2]},
                              {RO, Unsigned32, 4, &identity[3]}};
const OdSubEntry obj1280[] = {{RO, Unsigned8, 1, &clientCount},
                              {RW, Unsigned32, 4, &clientCobIdToServer},
                              {RW, Unsigned32, 4, &clientCobIdFromServer},
                              {RW, Unsigned8, 1, &clientServerNodeId}};
const OdSubEntry obj1400[] = {{RO, Unsigned8, 1, &rpdoCommCount},
                              {RW, Unsigned32, 4, &rpdoCobId},
                              {RW, Unsigned8, 1, &rpdoTransmissionType},
                              {RW, Unsigned16, 2, &rpdoInhibitTime},
                              {RW, Unsigned8, 1, &rpdoReserved},
                              {RW, Unsigned16, 2, &rpdoEventTimer}};
const OdSubEntry obj1600[] = {{RW, Unsigned8, 1, &rpdoMapCount},
                              {RW, Unsigned32, 4, &rpdoMap[0]},
                              {RW, Unsigned32, 4, &rpdoMap[1]},
                              {RW, Unsigned32, 4, &rpdoMap[2]},
                              {RW, Unsigned32, 4, &rpdoMap[3]},
                              {RW, Unsigned32, 4, &rpdoMap[4]},
                              {RW, Unsigned32, 4, &rpdoMap[5]},
                              {RW, Unsigned32, 4, &rpdoMap[6]},
                              {RW, Unsigned32, 4, &rpdoMap[7]}};
const OdSubEntry obj1800[] = {{RO, Unsigned8, 1, &tpdoCommCount},
                              {RW, Unsigned32, 4, &tpdoCobId},
                              {RW, Unsigned8, 1, &tpdoTransmissionType},
                              {RW, Unsigned16, 2, &tpdoInhibitTime},
                              {RW, Unsigned8, 1, &tpdoReserved},
                              {RW, Unsigned16, 2, &tpdoEventTimer}};
const OdSubEntry obj1A00[] = {{RW, Unsigned8, 1, &tpdoMapCount},
                              {RW, Unsigned32, 4, &tpdoMap[0]}};
const OdSubEntry obj2000[] = {{RW, Unsigned8, 1, &object2000}};
const OdSubEntry obj200F[] = {{RW, Boolean, 1, &switches[0]}};
const OdSubEntry obj2010[] = {{RW, Boolean, 1, &switches[1]}};
const OdSubEntry obj2011[] = {{RW, Boolean, 1, &switches[2]}};
const OdSubEntry obj2012[] = {{RW, Boolean, 1, &switches[3]}};
const OdSubEntry obj2013[] = {{RW, Boolean, 1, &switches[4]}};
const OdSubEntry obj2014[] = {{RW, Boolean, 1, &switches[5]}};
const OdSubEntry obj2015[] = {{RW, Boolean, 1, &switches[6]}};
const OdSubEntry obj2016[] = {{RW, Boolean, 1, &switches[7]}};

template <std::size_t N>
constexpr OdIndexEntry row(const OdSubEntry (&subEntries)[N])
{
    return OdIndexEntry{subEntries, static_cast<uint8_t>(N)};
}

// Node-record storage that is not part of the dictionary.
uint8_t nodeIdByte = 0;
const uint8_t notSlave = 0;
const uint16_t objectCount = kMasterObjectCount;
// Ranges: SDO server (none), SDO client, RPDO comm, RPDO map, TPDO comm, TPDO map.
const uint16_t firstRows[OdRange::Count] = {0, 6, 7, 8, 9, 10};
const uint16_t lastRows[OdRange::Count] = {0, 6, 7, 8, 9, 10};
TpdoStatus tpdoStatus[1];
int16_t consumerHeartbeatAlarms[1] = {kNoAlarm};
uint16_t producerHeartbeatTime = 0;
uint16_t guardTime = 0;
uint8_t lifeTimeFactor = 0;
uint8_t emcyErrorCount = 0;
uint32_t emcyErrorHistory[1] = {0};
uint32_t emcyCobId = 0x80;

void emptyAlarm(NodeContext *, uint32_t) {}
void emptyHook(NodeContext *) {}
void emptyNodeIdHook(NodeContext *, uint8_t) {}
void emptyStateChangeHook(NodeContext *, uint8_t, uint32_t) {}
void emptyStore(NodeContext *, uint16_t, uint8_t) {}
void emptyEmergencyHook(NodeContext *, uint8_t, uint16_t, uint8_t) {}

} // namespace

const OdIndexEntry masterObjectDictionary[kMasterObjectCount] = {
    row(obj1000), row(obj1001), row(obj1005), row(obj1006), row(obj1016),
    row(obj1018), row(obj1280), row(obj1400), row(obj1600), row(obj1800),
    row(obj1A00), row(obj2000), row(obj200F), row(obj2010), row(obj2011),
    row(obj2012), row(obj2013), row(obj2014), row(obj2015), row(obj2016),
};

const OdIndexEntry *masterScanIndex(uint16_t index, uint32_t *abortCode, OdWriteCallback **callbacks)
{
    int i;
    *callbacks = nullptr;
    switch (index) {
    case 0x1000: i = 0; break;
    case 0x1001: i = 1; break;
    case 0x1005: i = 2; *callbacks = syncCobIdCallbacks; break;
    case 0x1006: i = 3; *callbacks = syncPeriodCallbacks; break;
    case 0x1016: i = 4; break;
    case 0x1018: i = 5; break;
    case 0x1280: i = 6; break;
    case 0x1400: i = 7; break;
    case 0x1600: i = 8; break;
    case 0x1800: i = 9; *callbacks = tpdoCommCallbacks; break;
    case 0x1A00: i = 10; break;
    case 0x2000: i = 11; break;
    default:
        if (index >= 0x200F && index <= 0x2016) {
            i = 12 + (index - 0x200F);
            break;
        }
        *abortCode = SdoAbort::NoSuchObject;
        return nullptr;
    }
    *abortCode = 0;
    return &masterObjectDictionary[i];
}

uint32_t masterValueRangeTest(uint8_t dataType, const void *value)
{
    if (dataType == 0x9F && *static_cast<const uint8_t *>(value) == 0)
        return SdoAbort::ValueRange;
    return 0;
}

namespace {

constexpr NodeContext makeMasterNode()
{
    NodeContext n;
    n.nodeId = &nodeIdByte;
    n.objectDictionary = masterObjectDictionary;
    n.pdoStatus = tpdoStatus;
    n.rpdoEventAlarms = nullptr;
    n.onRpdoEventTimer = emptyAlarm;
    n.firstIndex = firstRows;
    n.lastIndex = lastRows;
    n.objectCount = &objectCount;
    n.isSlave = &notSlave;
    n.valueRangeTest = masterValueRangeTest;
    n.onInitialisation = emptyHook;
    n.onPreOperational = emptyHook;
    n.onOperational = emptyHook;
    n.onStopped = emptyHook;
    n.consumerHeartbeatCount = &consumerHeartbeatCount;
    n.consumerHeartbeatEntries = consumerHeartbeat;
    n.consumerHeartbeatAlarms = consumerHeartbeatAlarms;
    n.producerHeartbeatTime = &producerHeartbeatTime;
    n.onHeartbeatError = emptyNodeIdHook;
    n.onNodeGuardError = emptyNodeIdHook;
    n.guardTime = &guardTime;
    n.lifeTimeFactor = &lifeTimeFactor;
    n.syncCobId = &syncCobId;
    n.syncPeriod = &syncPeriodUs;
    n.onPostSync = emptyHook;
    n.onPostTpdo = emptyHook;
    n.onSlaveBootUp = emptyNodeIdHook;
    n.onSlaveStateChange = emptyStateChangeHook;
    n.scanIndex = masterScanIndex;
    n.storeOdSubIndex = emptyStore;
    n.emcyHistoryLength = 1;
    n.emcyErrorCount = &emcyErrorCount;
    n.emcyErrorHistory = emcyErrorHistory;
    n.errorRegister = &errorRegister;
    n.emcyCobId = &emcyCobId;
    n.onEmergency = emptyEmergencyHook;
    return n;
}

} // namespace

NodeContext masterNode = makeMasterNode();
