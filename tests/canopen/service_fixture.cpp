// The services test bench: dictionary, frame capture, driven clock, hooks.
#include "service_fixture.h"

#include "abort_codes.h"
#include "alarm.h"
#include "dispatch.h"
#include "master_od.h"
#include "od.h"
#include "sdo.h"
#include "stack_clock.h"
#include "stack_timer.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iomanip>
#include <map>
#include <mutex>
#include <sstream>

namespace svctest {

std::vector<std::string> ServiceTest::events;
bool ServiceTest::refuseRateChange = false;

namespace {

struct Sub {
    uint8_t type;
    uint32_t size;
    uint64_t initial;
};
struct Object {
    uint16_t index;
    std::vector<Sub> subs;
};

Sub u8(uint64_t v) { return {OdType::Unsigned8, 1, v}; }
Sub u16(uint64_t v) { return {OdType::Unsigned16, 2, v}; }
Sub u32(uint64_t v) { return {OdType::Unsigned32, 4, v}; }
Sub boolean() { return {OdType::Boolean, 1, 0}; }

Object pdoComm(uint16_t index, uint32_t cobId)
{
    return {index, {u8(5), u32(cobId), u8(255), u16(0), u8(0), u16(0)}};
}
Object pdoMap(uint16_t index)
{
    return {index, {u8(0), u32(0), u32(0), u32(0), u32(0), u32(0), u32(0), u32(0), u32(0)}};
}

// Rows in index order; the PDO ranges are consecutive rows.
std::vector<Object> objects()
{
    std::vector<Object> list = {
        {0x1000, {u32(0x191)}},
        {0x1001, {u8(0)}},
        {0x1003, {u8(0), u32(0), u32(0), u32(0), u32(0)}},
        {0x1005, {u32(0x40000080)}},
        {0x1006, {u32(0)}},
        {0x100C, {u16(0)}},
        {0x100D, {u8(0)}},
        {0x1016, {u8(2), u32(0), u32(0)}},
        {0x1017, {u16(0)}},
        {0x1018, {u8(4), u32(kIdentity[0]), u32(kIdentity[1]), u32(kIdentity[2]), u32(kIdentity[3])}},
        {0x1280, {u8(3), u32(0), u32(0), u8(0)}},
        pdoComm(0x1400, kRpdoCob), pdoComm(0x1401, 0x301),
        pdoMap(0x1600), pdoMap(0x1601),
        pdoComm(0x1800, kTpdoCob), pdoComm(0x1801, kTpdo2Cob),
        pdoMap(0x1A00), pdoMap(0x1A01),
        {0x1F22, std::vector<Sub>(kPeerId + 2, Sub{OdType::Domain, 0, 0})},
        {0x2000, {u8(0)}},
        {0x2001, {u16(0)}},
        {0x2002, {u32(0)}},
    };
    for (uint16_t index = 0x200F; index <= 0x2016; ++index)
        list.push_back({index, {boolean()}});
    return list;
}

// The dictionary of the running test.
struct Dictionary {
    std::vector<Object> objects;
    std::vector<std::vector<OdSubEntry>> subs;
    std::vector<OdIndexEntry> rows;
    std::vector<std::array<OdWriteCallback, 64>> callbacks;
    std::map<uint16_t, size_t> rowOf;
    std::vector<Bytes> dcf;
    alignas(8) uint8_t arena[4096];
    uint16_t first[OdRange::Count] = {};
    uint16_t last[OdRange::Count] = {};
    uint16_t count = 0;
};
Dictionary dictionary;

void buildDictionary()
{
    Dictionary &d = dictionary;
    d.objects = objects();
    d.subs.assign(d.objects.size(), {});
    d.rows.assign(d.objects.size(), OdIndexEntry{nullptr, 0});
    d.callbacks.assign(d.objects.size(), {});
    d.rowOf.clear();
    d.dcf.assign(kPeerId + 2, Bytes());
    std::memset(d.arena, 0, sizeof d.arena);
    size_t used = 0;
    for (size_t r = 0; r < d.objects.size(); ++r) {
        const Object &object = d.objects[r];
        for (const Sub &sub : object.subs) {
            used = (used + sub.size - 1) / std::max<uint32_t>(sub.size, 1) * std::max<uint32_t>(sub.size, 1);
            void *storage = d.arena + used;
            std::memcpy(storage, &sub.initial, sub.size);
            d.subs[r].push_back(OdSubEntry{OdAccess::ReadWrite, sub.type, sub.size, storage});
            used += sub.size;
        }
        d.rows[r] = OdIndexEntry{d.subs[r].data(), static_cast<uint8_t>(d.subs[r].size())};
        d.rowOf[object.index] = r;
    }
    const uint16_t rangeStart[OdRange::Count] = {0x1200, 0x1280, 0x1400, 0x1600, 0x1800, 0x1A00};
    for (int range = 0; range < OdRange::Count; ++range) {
        for (size_t r = 0; r < d.objects.size(); ++r) {
            const uint16_t index = d.objects[r].index;
            if (index < rangeStart[range] || index >= rangeStart[range] + 0x80)
                continue;
            if (d.first[range] == 0)
                d.first[range] = static_cast<uint16_t>(r);
            d.last[range] = static_cast<uint16_t>(r);
        }
    }
    d.count = static_cast<uint16_t>(d.objects.size());
}

const OdIndexEntry *scanTestIndex(uint16_t index, uint32_t *abortCode, OdWriteCallback **callbacks)
{
    *callbacks = nullptr;
    auto it = dictionary.rowOf.find(index);
    if (it == dictionary.rowOf.end()) {
        *abortCode = SdoAbort::NoSuchObject;
        return nullptr;
    }
    *abortCode = 0;
    *callbacks = dictionary.callbacks[it->second].data();
    return &dictionary.rows[it->second];
}

std::mutex sentMutex;
Frames sentFrames;
int refused = 0;
std::vector<std::string> rateTexts;
uint32_t clockMs = 1000;
CanDriver savedDriver;

uint8_t captureSend(CanHandle, const CanMessage *frame)
{
    std::lock_guard<std::mutex> lock(sentMutex);
    // The adapter's line protocol has no remote frames: it refuses them.
    if (frame->rtr) {
        ++refused;
        return 1;
    }
    sentFrames.push_back(Frame{frame->cobId, Bytes(frame->data, frame->data + frame->len)});
    return 0;
}

uint8_t captureRate(CanHandle, const char *rate)
{
    rateTexts.push_back(rate);
    return ServiceTest::refuseRateChange ? 1 : 0;
}

uint32_t testClock()
{
    return clockMs;
}

std::string hex(unsigned v)
{
    std::ostringstream out;
    out << "0x" << std::hex << v;
    return out.str();
}

void record(const std::string &text)
{
    ServiceTest::events.push_back(text);
}

} // namespace

void PrintTo(const Frame &frame, std::ostream *out)
{
    *out << std::hex << std::setfill('0') << "0x" << std::setw(3) << frame.cobId << " [";
    for (size_t i = 0; i < frame.data.size(); ++i)
        *out << (i ? " " : "") << std::setw(2) << unsigned(frame.data[i]);
    *out << "]" << std::dec;
}

Frame frame8(uint16_t cobId, const Bytes &bytes)
{
    Frame frame{cobId, Bytes(8, 0)};
    std::copy(bytes.begin(), bytes.begin() + static_cast<long>(std::min<size_t>(bytes.size(), 8)),
              frame.data.begin());
    return frame;
}

Frame sdo(uint16_t cobId, uint8_t command, uint16_t index, uint8_t subIndex, const Bytes &value)
{
    Bytes bytes = {command, uint8_t(index), uint8_t(index >> 8), subIndex};
    bytes.insert(bytes.end(), value.begin(), value.end());
    return frame8(cobId, bytes);
}

void ServiceTest::SetUp()
{
    buildDictionary();
    events.clear();
    refuseRateChange = false;
    {
        std::lock_guard<std::mutex> lock(sentMutex);
        sentFrames.clear();
        refused = 0;
        rateTexts.clear();
    }
    savedDriver = canDriver;
    canDriver.send = captureSend;
    canDriver.changeBaudRate = captureRate;

    for (AlarmSlot &slot : alarmSlots)
        slot = AlarmSlot{};
    highestAlarm = -1;
    nextWakeUp = kTimerNotArmed;
    clockMs = 1000;
    setStackClock(testClock);
    initStackTimers();

    Dictionary &d = dictionary;
    node.nodeId = &ownId;
    node.objectDictionary = d.rows.data();
    node.pdoStatus = tpdoStatus;
    node.rpdoEventAlarms = rpdoAlarms;
    node.onRpdoEventTimer = [](NodeContext *, uint32_t n) { record("rpdoEvent " + std::to_string(n)); };
    node.firstIndex = d.first;
    node.lastIndex = d.last;
    node.objectCount = &d.count;
    node.isSlave = &slave;
    node.valueRangeTest = masterValueRangeTest;
    node.nmtState = NmtState::PreOperational;
    node.onOperational = [](NodeContext *) { record("operational"); };
    node.consumerHeartbeatCount = &value<uint8_t>(0x1016, 0);
    node.consumerHeartbeatEntries = &value<uint32_t>(0x1016, 1);
    node.consumerHeartbeatAlarms = consumerAlarms;
    node.producerHeartbeatTime = &value<uint16_t>(0x1017, 0);
    node.onHeartbeatError = [](NodeContext *, uint8_t id) { record("hbError " + std::to_string(id)); };
    node.onNodeGuardError = [](NodeContext *, uint8_t id) { record("guardError " + std::to_string(id)); };
    node.guardTime = &value<uint16_t>(0x100C, 0);
    node.lifeTimeFactor = &value<uint8_t>(0x100D, 0);
    node.syncCobId = &value<uint32_t>(0x1005, 0);
    node.syncPeriod = &value<uint32_t>(0x1006, 0);
    node.onPostSync = [](NodeContext *) { record("postSync"); };
    node.onSlaveBootUp = [](NodeContext *, uint8_t id) { record("boot " + std::to_string(id)); };
    node.onSlaveStateChange = [](NodeContext *, uint8_t id, uint32_t state) {
        record("state " + std::to_string(id) + " " + std::to_string(state));
    };
    node.scanIndex = scanTestIndex;
    node.emcyHistoryLength = 4;
    node.emcyErrorCount = &value<uint8_t>(0x1003, 0);
    node.emcyErrorHistory = &value<uint32_t>(0x1003, 1);
    node.errorRegister = &value<uint8_t>(0x1001, 0);
    node.emcyCobId = &emcyCob;
    node.onEmergency = [](NodeContext *, uint8_t id, uint16_t code, uint8_t reg) {
        record("emcy " + std::to_string(id) + " " + hex(code) + " " + hex(reg));
    };
    node.onLssDone = [](NodeContext *, uint8_t command) { record("lss " + std::to_string(command)); };
    port.handle = &port;
    port.node = &node;
    node.port = &port;
}

void ServiceTest::TearDown()
{
    resetSdo(&node);
    canDriver = savedDriver;
    setStackClock(nullptr);
}

Frames ServiceTest::takeSent()
{
    std::lock_guard<std::mutex> lock(sentMutex);
    Frames frames;
    frames.swap(sentFrames);
    return frames;
}

int ServiceTest::refusedRemote() const
{
    std::lock_guard<std::mutex> lock(sentMutex);
    return refused;
}

std::vector<std::string> ServiceTest::rates() const
{
    std::lock_guard<std::mutex> lock(sentMutex);
    return rateTexts;
}

std::vector<std::string> ServiceTest::takeEvents()
{
    std::vector<std::string> taken;
    taken.swap(events);
    return taken;
}

void ServiceTest::feed(uint16_t cobId, const Bytes &data, uint8_t rtr)
{
    CanMessage message{};
    message.cobId = cobId;
    message.rtr = rtr;
    message.len = static_cast<uint8_t>(data.size());
    std::copy(data.begin(), data.end(), message.data);
    dispatchCanMessage(&node, &message);
}

void ServiceTest::advance(uint32_t ms)
{
    const uint32_t target = clockMs + ms;
    while (nextWakeUp != kTimerNotArmed && lastWake + nextWakeUp <= target) {
        clockMs = lastWake + nextWakeUp;
        runStackTimerWake();
    }
    clockMs = target;
}

void *ServiceTest::valuePointer(uint16_t index, uint8_t subIndex)
{
    const size_t row = dictionary.rowOf.at(index);
    return dictionary.subs[row].at(subIndex).value;
}

uint32_t ServiceTest::write(uint16_t index, uint8_t subIndex, uint32_t v)
{
    const size_t row = dictionary.rowOf.at(index);
    uint32_t size = dictionary.subs[row].at(subIndex).size;
    return setOdEntry(&node, index, subIndex, &v, &size, 0);
}

void ServiceTest::map(uint16_t mapIndex, const std::vector<uint32_t> &entries)
{
    value<uint8_t>(mapIndex, 0) = static_cast<uint8_t>(entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        value<uint32_t>(mapIndex, static_cast<uint8_t>(i + 1)) = entries[i];
}

void ServiceTest::setDcf(uint8_t nodeId, const Bytes &data)
{
    Dictionary &d = dictionary;
    d.dcf[nodeId] = data;
    const size_t row = d.rowOf.at(0x1F22);
    OdSubEntry &sub = d.subs[row][nodeId];
    sub.size = static_cast<uint32_t>(data.size());
    sub.value = d.dcf[nodeId].empty() ? nullptr : d.dcf[nodeId].data();
}

} // namespace svctest
