// Process data objects. A transmit PDO is rebuilt from its mapping whenever
// it may go out and is sent only when it differs from the frame last sent;
// the event timer forces a send, the inhibit time holds sends back. Receive
// PDOs are cut apart bit by bit and written into the dictionary.
#include "canopen/pdo.h"

#include "canopen/alarm.h"
#include "canopen/od.h"
#include "canopen/port.h"

#include <cstring>

namespace {

// Communication-parameter subentries.
constexpr uint8_t kCobIdSub = 1;
constexpr uint8_t kTypeSub = 2;
constexpr uint8_t kInhibitSub = 3;
constexpr uint8_t kEventSub = 5;
constexpr uint32_t kPdoInvalid = 0x80000000;
constexpr uint32_t kMaxPdoBits = 64;

// Number of rows in a range; 0 when it is empty.
uint32_t rangeSize(const NodeContext *node, int range)
{
    const uint16_t first = node->firstIndex[range];
    if (first == 0 || node->lastIndex[range] < first)
        return 0;
    return static_cast<uint32_t>(node->lastIndex[range] - first + 1);
}

const OdIndexEntry &rangeRow(const NodeContext *node, int range, uint32_t n)
{
    return node->objectDictionary[node->firstIndex[range] + n];
}

// A numeric subentry of a row, 0 when the row has no such subentry.
uint32_t subValue(const OdIndexEntry &row, uint8_t subIndex)
{
    if (subIndex >= row.count)
        return 0;
    const OdSubEntry &sub = row.subEntries[subIndex];
    switch (sub.size) {
    case 1: return *static_cast<const uint8_t *>(sub.value);
    case 2: return *static_cast<const uint16_t *>(sub.value);
    case 4: return *static_cast<const uint32_t *>(sub.value);
    default: return 0;
    }
}

// A valid PDO on that identifier (bits 29 and 30 of the COB-ID entry are flags).
bool carries(const OdIndexEntry &comm, uint16_t cobId)
{
    return (subValue(comm, kCobIdSub) & (kPdoInvalid | 0x7FF)) == cobId;
}

bool isCyclic(uint32_t type)
{
    return type >= 1 && type <= 240;
}

// Mapping entries of a mapping row: how many are in use (subentry 0), never
// more than the row holds.
uint32_t mappedCount(const OdIndexEntry &map)
{
    const uint32_t count = subValue(map, 0);
    return map.count == 0 ? 0 : (count < map.count ? count : map.count - 1u);
}

bool sameFrame(const CanMessage &a, const CanMessage &b)
{
    return a.cobId == b.cobId && a.len == b.len && std::memcmp(a.data, b.data, sizeof a.data) == 0;
}

void onEventTimer(NodeContext *node, uint32_t pdo);
void onInhibitTimer(NodeContext *node, uint32_t pdo);

// Inhibit time in 100 µs units as whole milliseconds, rounded up so that a
// time below 1 ms still holds the next frame back.
uint32_t inhibitMs(uint32_t inhibit)
{
    return (inhibit * 100 + 999) / 1000;
}

// Back to the state of a PDO just configured: no alarm, no count, and the
// event timer's send at once.
void restartTpdo(NodeContext *node, uint32_t pdo)
{
    TpdoStatus &status = node->pdoStatus[pdo];
    status.eventAlarm = deleteAlarm(status.eventAlarm);
    status.inhibitAlarm = deleteAlarm(status.inhibitAlarm);
    status.flags = 0;
    onEventTimer(node, pdo);
}

void onEventTimer(NodeContext *node, uint32_t pdo)
{
    TpdoStatus &status = node->pdoStatus[pdo];
    status.eventAlarm = kNoAlarm;
    status.lastMessage.cobId = 0; // the next build counts as a change
    transmitPdoIfOn(node, pdo);
}

void onInhibitTimer(NodeContext *node, uint32_t pdo)
{
    TpdoStatus &status = node->pdoStatus[pdo];
    status.flags &= static_cast<uint8_t>(~kTpdoInhibitOrHeld);
    status.inhibitAlarm = kNoAlarm;
    transmitPdoIfOn(node, pdo);
}

uint32_t onTpdoParamWritten(NodeContext *node, const OdIndexEntry *row, uint8_t subIndex)
{
    if (subIndex != kTypeSub && subIndex != kInhibitSub && subIndex != kEventSub)
        return 0;
    if (!node->commSwitches.pdo)
        return 0;
    const uint32_t count = tpdoCount(node);
    for (uint32_t n = 0; n < count; ++n) {
        if (&rangeRow(node, OdRange::TpdoComm, n) == row)
            restartTpdo(node, n);
    }
    return 0;
}

bool sendFrame(NodeContext *node, const CanMessage *frame)
{
    return canSend(node->port, frame) == 0;
}

// A receive PDO's event timer ran out: its slot is free again, so the id
// goes before the node hears of it. A kept id would make the next frame of
// this PDO delete whatever alarm has taken the slot since.
void onRpdoEventTimeout(NodeContext *node, uint32_t pdo)
{
    if (node->rpdoEventAlarms != nullptr)
        node->rpdoEventAlarms[pdo] = kNoAlarm;
    if (node->onRpdoEventTimer != nullptr)
        node->onRpdoEventTimer(node, pdo);
}

// Writes the mapped entries of receive PDO n from the frame; 255 when a
// write failed.
uint8_t applyRpdo(NodeContext *node, uint32_t pdo, const CanMessage *frame)
{
    const OdIndexEntry &map = rangeRow(node, OdRange::RpdoMap, pdo);
    // A length beyond 8 (a frame not from the adapter) carries no more than 8 bytes.
    const uint32_t available = static_cast<uint32_t>(frame->len < 8 ? frame->len : 8) * 8;
    const uint32_t count = mappedCount(map);
    uint32_t position = 0;
    for (uint32_t i = 1; i <= count; ++i) {
        const uint32_t entry = subValue(map, static_cast<uint8_t>(i));
        const uint32_t bits = entry & 0xFF;
        if (bits == 0)
            continue;
        if (position + bits > available)
            break; // a short frame carries only the leading entries
        uint8_t value[8] = {};
        copyBits(bits, frame->data, position, false, value, 0, false);
        uint32_t size = (bits - 1) / 8 + 1;
        if (setOdEntry(node, static_cast<uint16_t>(entry >> 16), static_cast<uint8_t>(entry >> 8), value, &size,
                       0) != 0)
            return 255;
        position += bits;
    }
    const uint32_t eventMs = subValue(rangeRow(node, OdRange::RpdoComm, pdo), kEventSub);
    if (node->rpdoEventAlarms != nullptr && eventMs != 0) {
        int16_t &alarm = node->rpdoEventAlarms[pdo];
        alarm = deleteAlarm(alarm);
        if (node->onRpdoEventTimer != nullptr)
            alarm = setAlarm(node, pdo, onRpdoEventTimeout, eventMs, 0);
    }
    return 0;
}

// A remote request for transmit PDO n.
uint8_t answerRequest(NodeContext *node, uint32_t pdo)
{
    TpdoStatus &status = node->pdoStatus[pdo];
    const uint32_t type = subValue(rangeRow(node, OdRange::TpdoComm, pdo), kTypeSub);
    CanMessage frame;
    switch (type) {
    case 252:
        if (status.flags & kTpdoInhibitOrHeld) {
            sendFrame(node, &status.lastMessage);
            return 0;
        }
        [[fallthrough]];
    case 253:
        if (buildPdo(node, pdo, &frame) != 0)
            return 255;
        status.lastMessage = frame;
        sendFrame(node, &frame);
        return 0;
    case 254:
    case 255:
        restartTpdo(node, pdo);
        return 0;
    default:
        return 255;
    }
}

} // namespace

uint32_t tpdoCount(const NodeContext *node)
{
    const uint32_t comm = rangeSize(node, OdRange::TpdoComm);
    const uint32_t map = rangeSize(node, OdRange::TpdoMap);
    return comm < map ? comm : map;
}

uint32_t rpdoCount(const NodeContext *node)
{
    const uint32_t comm = rangeSize(node, OdRange::RpdoComm);
    const uint32_t map = rangeSize(node, OdRange::RpdoMap);
    return comm < map ? comm : map;
}

void copyBits(uint32_t bitCount, const uint8_t *src, uint32_t srcOffset, bool srcReversed, uint8_t *dest,
              uint32_t destOffset, bool destReversed)
{
    for (uint32_t i = 0; i < bitCount; ++i) {
        const uint32_t from = srcOffset + i;
        const uint32_t to = destOffset + i;
        const uint8_t *in = srcReversed ? src - from / 8 : src + from / 8;
        uint8_t *out = destReversed ? dest - to / 8 : dest + to / 8;
        const uint8_t mask = static_cast<uint8_t>(1u << (to % 8));
        if ((*in >> (from % 8)) & 1)
            *out = static_cast<uint8_t>(*out | mask);
        else
            *out = static_cast<uint8_t>(*out & ~mask);
    }
}

int buildPdo(NodeContext *node, uint32_t pdo, CanMessage *frame)
{
    const OdIndexEntry &comm = rangeRow(node, OdRange::TpdoComm, pdo);
    const OdIndexEntry &map = rangeRow(node, OdRange::TpdoMap, pdo);
    *frame = CanMessage{};
    frame->cobId = static_cast<uint16_t>(subValue(comm, kCobIdSub) & 0x7FF);
    const uint32_t count = mappedCount(map);
    uint32_t total = 0;
    for (uint32_t i = 1; i <= count; ++i) {
        const uint32_t entry = subValue(map, static_cast<uint8_t>(i));
        const uint32_t bits = entry & 0xFF;
        if (bits == 0)
            continue;
        if (total + bits > kMaxPdoBits)
            return -1;
        uint8_t value[8] = {};
        uint32_t size = (bits - 1) / 8 + 1;
        uint8_t type = 0;
        if (getOdEntry(node, static_cast<uint16_t>(entry >> 16), static_cast<uint8_t>(entry >> 8), value, &size,
                       &type, 0) != 0)
            return -1;
        copyBits(bits, value, 0, false, frame->data, total, false);
        total += bits;
    }
    // An empty mapping gives an empty frame.
    frame->len = static_cast<uint8_t>(total == 0 ? 0 : (total - 1) / 8 + 1);
    return 0;
}

int transmitPdo(NodeContext *node, uint32_t pdo)
{
    if (pdo >= tpdoCount(node))
        return 0;
    TpdoStatus &status = node->pdoStatus[pdo];
    const OdIndexEntry &comm = rangeRow(node, OdRange::TpdoComm, pdo);
    const uint32_t type = subValue(comm, kTypeSub);
    // Cyclic types count SYNCs in the flags; only the others use the bit.
    if (!isCyclic(type) && (status.flags & kTpdoInhibitOrHeld))
        return 0;
    if (subValue(comm, kCobIdSub) & kPdoInvalid)
        return 0;
    CanMessage frame;
    if (buildPdo(node, pdo, &frame) != 0)
        return 0;
    if (sameFrame(frame, status.lastMessage))
        return 0;
    const uint32_t eventMs = subValue(comm, kEventSub);
    if (eventMs != 0) {
        deleteAlarm(status.eventAlarm);
        status.eventAlarm = setAlarm(node, pdo, onEventTimer, eventMs, 0);
    }
    const uint32_t inhibit = subValue(comm, kInhibitSub);
    if (inhibit != 0 && !isCyclic(type)) {
        deleteAlarm(status.inhibitAlarm);
        status.inhibitAlarm = setAlarm(node, pdo, onInhibitTimer, inhibitMs(inhibit), 0);
        status.flags |= kTpdoInhibitOrHeld;
    }
    status.lastMessage = frame;
    return sendFrame(node, &frame) ? 1 : 0;
}

int transmitPdoIfOn(NodeContext *node, uint32_t pdo)
{
    return node->commSwitches.pdo ? transmitPdo(node, pdo) : 0;
}

void processPdoCycle(NodeContext *node, uint8_t syncFlag)
{
    const uint32_t count = tpdoCount(node);
    for (uint32_t n = 0; n < count; ++n) {
        const OdIndexEntry &comm = rangeRow(node, OdRange::TpdoComm, n);
        if (subValue(comm, kCobIdSub) & kPdoInvalid)
            continue;
        TpdoStatus &status = node->pdoStatus[n];
        const uint32_t type = subValue(comm, kTypeSub);
        if (syncFlag) {
            if (isCyclic(type)) {
                if (++status.flags < type)
                    continue;
                status.flags = 0;
                CanMessage frame;
                if (buildPdo(node, n, &frame) == 0) {
                    status.lastMessage = frame;
                    sendFrame(node, &frame);
                }
            } else if (type == 252) {
                if (buildPdo(node, n, &status.lastMessage) == 0)
                    status.flags |= kTpdoInhibitOrHeld;
                else
                    status.flags &= static_cast<uint8_t>(~kTpdoInhibitOrHeld);
            } else if (type == 0) {
                transmitPdo(node, n);
            }
        } else if ((type == 254 || type == 255) && !(status.flags & kTpdoInhibitOrHeld)) {
            transmitPdo(node, n);
        }
    }
}

void processPdoCycleAtStart(NodeContext *node)
{
    processPdoCycle(node, 0);
}

void startPdo(NodeContext *node)
{
    const uint32_t count = tpdoCount(node);
    for (uint32_t n = 0; n < count; ++n) {
        const uint16_t index = static_cast<uint16_t>(0x1800 + n);
        for (uint8_t sub : {kTypeSub, kInhibitSub, kEventSub})
            registerOdWriteCallback(node, index, sub, onTpdoParamWritten);
    }
    processPdoCycle(node, 0);
}

void stopPdo(NodeContext *node)
{
    const uint32_t count = tpdoCount(node);
    for (uint32_t n = 0; n < count; ++n) {
        TpdoStatus &status = node->pdoStatus[n];
        status.eventAlarm = deleteAlarm(status.eventAlarm);
        status.inhibitAlarm = deleteAlarm(status.inhibitAlarm);
        status.flags = 0;
        status.lastMessage.cobId = 0;
    }
}

uint8_t processPdoFrame(NodeContext *node, const CanMessage *frame)
{
    if (frame->rtr == 0) {
        const uint32_t count = rpdoCount(node);
        for (uint32_t n = 0; n < count; ++n) {
            if (carries(rangeRow(node, OdRange::RpdoComm, n), frame->cobId))
                return applyRpdo(node, n, frame);
        }
        return 255;
    }
    const uint32_t count = tpdoCount(node);
    for (uint32_t n = 0; n < count; ++n) {
        if (carries(rangeRow(node, OdRange::TpdoComm, n), frame->cobId))
            return answerRequest(node, n);
    }
    return 255;
}

int requestPdo(NodeContext *node, uint16_t commIndex)
{
    if (!node->commSwitches.pdo)
        return 0;
    if (commIndex < 0x1400 || static_cast<uint32_t>(commIndex - 0x1400) >= rangeSize(node, OdRange::RpdoComm))
        return -1;
    const OdIndexEntry &comm = rangeRow(node, OdRange::RpdoComm, commIndex - 0x1400u);
    CanMessage frame{};
    frame.cobId = static_cast<uint16_t>(subValue(comm, kCobIdSub) & 0x7FF);
    frame.rtr = 1;
    return sendFrame(node, &frame) ? 1 : -1;
}
