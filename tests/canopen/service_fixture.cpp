// The services test bench: dictionary, frame capture, driven clock, hooks.
#include "service_fixture.h"

#include "canopen/abort_codes.h"
#include "canopen/alarm.h"
#include "canopen/dispatch.h"
#include "canopen/master_od.h"
#include "canopen/od.h"
#include "canopen/sdo.h"
#include "canopen/stack_clock.h"
#include "canopen/stack_timer.h"

#include <array>
#include <cstring>
#include <iomanip>
#include <map>

namespace svctest {

int ServiceTest::refusedRemote = 0;
std::vector<std::string> ServiceTest::rates;
bool ServiceTest::refuseRateChange = false;
Events ServiceTest::events;
Frames ServiceTest::sent;

namespace {

// One subentry: type, size, initial value.
struct Sub {
    uint8_t type;
    uint32_t size;
    uint32_t initial;
};
constexpr Sub u8(uint32_t v) { return {OdType::Unsigned8, 1, v}; }
constexpr Sub u16(uint32_t v) { return {OdType::Unsigned16, 2, v}; }
constexpr Sub u32(uint32_t v) { return {OdType::Unsigned32, 4, v}; }

using Object = std::pair<uint16_t, std::vector<Sub>>;

std::vector<Object> objects()
{
    const std::vector<Sub> comm = {u8(5), u32(0), u8(255), u16(0), u8(0), u16(0)};
    const std::vector<Sub> map(9, u32(0));
    std::vector<Object> list = {
        {0x1000, {u32(0x191)}}, {0x1001, {u8(0)}}, {0x1003, {u8(0), u32(0), u32(0), u32(0), u32(0)}},
        {0x1005, {u32(0x40000080)}}, {0x1006, {u32(0)}}, {0x100C, {u16(0)}}, {0x100D, {u8(0)}},
        {0x1016, {u8(2), u32(0), u32(0)}}, {0x1017, {u16(0)}},
        {0x1018, {u8(4), u32(kIdentity[0]), u32(kIdentity[1]), u32(kIdentity[2]), u32(kIdentity[3])}},
        {0x1280, {u8(3), u32(0), u32(0), u8(0)}}, // free client row for the DCF unit
        {0x1400, comm}, {0x1401, comm}, {0x1600, map}, {0x1601, map},
        {0x1800, comm}, {0x1801, comm}, {0x1A00, map}, {0x1A01, map},
        {0x1F22, std::vector<Sub>(kPeerId + 1, Sub{OdType::Domain, 0, 0})},
        {0x2000, {u8(0)}}, {0x2001, {u16(0)}}, {0x2002, {u32(0)}}};
    for (uint16_t index = 0x200F; index <= 0x2016; ++index)
        list.push_back({index, {{OdType::Boolean, 1, 0}}});
    return list;
}

struct Dictionary {
    std::vector<std::vector<OdSubEntry>> subs;
    std::vector<OdIndexEntry> rows;
    std::vector<std::array<OdWriteCallback, 64>> callbacks;
    std::map<uint16_t, size_t> rowOf;
    alignas(8) uint8_t arena[2048];
    uint16_t first[OdRange::Count] = {};
    uint16_t last[OdRange::Count] = {};
    uint16_t count = 0;
} dictionary;

void buildDictionary()
{
    Dictionary &d = dictionary;
    d = Dictionary{};
    const std::vector<Object> list = objects();
    d.subs.resize(list.size());
    d.callbacks.resize(list.size());
    size_t used = 0;
    const uint16_t rangeStart[OdRange::Count] = {0x1200, 0x1280, 0x1400, 0x1600, 0x1800, 0x1A00};
    for (size_t r = 0; r < list.size(); ++r) {
        for (const Sub &sub : list[r].second) {
            used = (used + 3) / 4 * 4; // consecutive u32 subentries form an array
            std::memcpy(d.arena + used, &sub.initial, sub.size);
            d.subs[r].push_back(OdSubEntry{OdAccess::ReadWrite, sub.type, sub.size, d.arena + used});
            used += sub.size;
        }
        d.rows.push_back(OdIndexEntry{d.subs[r].data(), static_cast<uint8_t>(d.subs[r].size())});
        d.rowOf[list[r].first] = r;
        for (int range = 0; range < OdRange::Count; ++range) {
            if (list[r].first >= rangeStart[range] && list[r].first < rangeStart[range] + 0x80) {
                d.first[range] = d.first[range] ? d.first[range] : static_cast<uint16_t>(r);
                d.last[range] = static_cast<uint16_t>(r);
            }
        }
    }
    d.count = static_cast<uint16_t>(list.size());
}

const OdIndexEntry *scanTestIndex(uint16_t index, uint32_t *abortCode, OdWriteCallback **callbacks)
{
    auto it = dictionary.rowOf.find(index);
    *callbacks = it == dictionary.rowOf.end() ? nullptr : dictionary.callbacks[it->second].data();
    *abortCode = it == dictionary.rowOf.end() ? SdoAbort::NoSuchObject : 0;
    return it == dictionary.rowOf.end() ? nullptr : &dictionary.rows[it->second];
}

// The adapter's line protocol has no remote frames: it refuses them.
uint8_t captureSend(CanHandle, const CanMessage *frame)
{
    if (frame->rtr) {
        ++ServiceTest::refusedRemote;
        return 1;
    }
    ServiceTest::sent.push_back(Frame{frame->cobId, Bytes(frame->data, frame->data + frame->len)});
    return 0;
}

uint8_t captureRate(CanHandle, const char *rate)
{
    ServiceTest::rates.push_back(rate);
    return ServiceTest::refuseRateChange ? 1 : 0;
}

uint32_t clockMs = 1000;
uint32_t testClock() { return clockMs; }

void record(std::string text) { ServiceTest::events.push_back(std::move(text)); }
std::string num(unsigned v) { return std::to_string(v); }

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
    Frame frame{cobId, bytes};
    frame.data.resize(8, 0);
    return frame;
}

void ServiceTest::SetUp()
{
    buildDictionary();
    events.clear();
    sent.clear();
    rates.clear();
    refusedRemote = 0;
    refuseRateChange = false;
    clockMs = 1000;
    bench.setUp(node, port, testClock);
    canDriver.send = captureSend;
    canDriver.changeBaudRate = captureRate;

    value<uint32_t>(0x1400, 1) = 0x40000000 | kRpdoCob; // flag bits do not hide the identifier
    value<uint32_t>(0x1401, 1) = 0x301;
    value<uint32_t>(0x1800, 1) = kTpdoCob;
    value<uint32_t>(0x1801, 1) = 0x281;
    Dictionary &d = dictionary;
    node.nodeId = &ownId;
    node.objectDictionary = d.rows.data();
    node.pdoStatus = tpdoStatus;
    node.rpdoEventAlarms = rpdoAlarms;
    node.onRpdoEventTimer = [](NodeContext *, uint32_t n) { record("rpdoEvent " + num(n)); };
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
    node.onHeartbeatError = [](NodeContext *, uint8_t id) { record("hbError " + num(id)); };
    node.onNodeGuardError = [](NodeContext *, uint8_t id) { record("guardError " + num(id)); };
    node.guardTime = &value<uint16_t>(0x100C, 0);
    node.lifeTimeFactor = &value<uint8_t>(0x100D, 0);
    node.syncCobId = &value<uint32_t>(0x1005, 0);
    node.syncPeriod = &value<uint32_t>(0x1006, 0);
    node.onPostSync = [](NodeContext *) { record("postSync"); };
    node.onSlaveBootUp = [](NodeContext *, uint8_t id) { record("boot " + num(id)); };
    node.onSlaveStateChange = [](NodeContext *, uint8_t id, uint32_t s) { record("state " + num(id) + " " + num(s)); };
    node.scanIndex = scanTestIndex;
    node.emcyHistoryLength = 4;
    node.emcyErrorCount = &value<uint8_t>(0x1003, 0);
    node.emcyErrorHistory = &value<uint32_t>(0x1003, 1);
    node.errorRegister = &value<uint8_t>(0x1001, 0);
    node.emcyCobId = &emcyCob;
    node.onEmergency = [](NodeContext *, uint8_t id, uint16_t code, uint8_t reg) {
        record("emcy " + num(id) + " " + num(code) + " " + num(reg));
    };
    node.onLssDone = [](NodeContext *, uint8_t command) { record("lss " + num(command)); };
}

void ServiceTest::TearDown() { bench.tearDown(node); }

Frames ServiceTest::takeSent()
{
    Frames frames;
    frames.swap(sent);
    return frames;
}

Events ServiceTest::takeEvents()
{
    Events taken;
    taken.swap(events);
    return taken;
}

void ServiceTest::feed(uint16_t cobId, const Bytes &data, uint8_t rtr)
{
    CanMessage message{cobId, rtr, static_cast<uint8_t>(data.size()), {}};
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

OdSubEntry &ServiceTest::entry(uint16_t index, uint8_t subIndex)
{
    return dictionary.subs[dictionary.rowOf.at(index)].at(subIndex);
}

uint32_t ServiceTest::write(uint16_t index, uint8_t subIndex, uint32_t v)
{
    uint32_t size = entry(index, subIndex).size;
    return setOdEntry(&node, index, subIndex, &v, &size, 0);
}

void ServiceTest::map(uint16_t mapIndex, const std::vector<uint32_t> &entries)
{
    value<uint8_t>(mapIndex, 0) = static_cast<uint8_t>(entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        value<uint32_t>(mapIndex, static_cast<uint8_t>(i + 1)) = entries[i];
}

} // namespace svctest
