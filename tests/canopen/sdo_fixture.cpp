// The SDO test bench: dictionary, frame capture and recording callbacks.
#include "sdo_fixture.h"

#include "canopen/abort_codes.h"
#include "canopen/alarm.h"
#include "canopen/master_od.h"
#include "canopen/od.h"
#include "canopen/sdo.h"
#include "canopen/stack_clock.h"
#include "canopen/stack_timer.h"

#include <algorithm>
#include <cstring>
#include <iomanip>
#include <mutex>

namespace sdotest {

std::vector<Completion> SdoTest::completions;
int SdoTest::countedCalls = 0;
uint32_t SdoTest::clockMs = 1000;

namespace {

// Dictionary storage, reset before every test.
uint32_t deviceType;
uint8_t serverSubCount;
uint32_t serverRequestCob, serverAnswerCob;
uint8_t clientSubCount;
uint32_t clientRequestCob, clientAnswerCob;
uint8_t clientPeer;
uint8_t spareSubCount;
uint32_t spareRequestCob, spareAnswerCob;
uint8_t sparePeer;
uint8_t u8Value;
uint32_t u32Value, readOnlyValue, writeOnlyValue;
char textValue[40];
uint8_t domain0[1], domain1[1], domain7[7], domain8[8], domain889[889];
uint8_t hugeDomain[0x30000];
uint8_t rangeValue;

const OdSubEntry deviceTypeSubs[] = {{OdAccess::ReadOnly, OdType::Unsigned32, 4, &deviceType}};
const OdSubEntry serverSubs[] = {
    {OdAccess::ReadOnly, OdType::Unsigned8, 1, &serverSubCount},
    {OdAccess::ReadWrite, OdType::Unsigned32, 4, &serverRequestCob},
    {OdAccess::ReadWrite, OdType::Unsigned32, 4, &serverAnswerCob},
};
const OdSubEntry clientSubs[] = {
    {OdAccess::ReadOnly, OdType::Unsigned8, 1, &clientSubCount},
    {OdAccess::ReadWrite, OdType::Unsigned32, 4, &clientRequestCob},
    {OdAccess::ReadWrite, OdType::Unsigned32, 4, &clientAnswerCob},
    {OdAccess::ReadWrite, OdType::Unsigned8, 1, &clientPeer},
};
const OdSubEntry spareSubs[] = {
    {OdAccess::ReadOnly, OdType::Unsigned8, 1, &spareSubCount},
    {OdAccess::ReadWrite, OdType::Unsigned32, 4, &spareRequestCob},
    {OdAccess::ReadWrite, OdType::Unsigned32, 4, &spareAnswerCob},
    {OdAccess::ReadWrite, OdType::Unsigned8, 1, &sparePeer},
};
const OdSubEntry u8Subs[] = {{OdAccess::ReadWrite, OdType::Unsigned8, 1, &u8Value}};
const OdSubEntry u32Subs[] = {{OdAccess::ReadWrite, OdType::Unsigned32, 4, &u32Value}};
const OdSubEntry readOnlySubs[] = {{OdAccess::ReadOnly, OdType::Unsigned32, 4, &readOnlyValue}};
const OdSubEntry writeOnlySubs[] = {{OdAccess::WriteOnly, OdType::Unsigned32, 4, &writeOnlyValue}};
const OdSubEntry textSubs[] = {{OdAccess::ReadWrite, OdType::VisibleString, 40, textValue}};
const OdSubEntry domainSubs[] = {
    {OdAccess::ReadWrite, OdType::Domain, 0, domain0},
    {OdAccess::ReadWrite, OdType::Domain, 1, domain1},
    {OdAccess::ReadWrite, OdType::Domain, 7, domain7},
    {OdAccess::ReadWrite, OdType::Domain, 8, domain8},
    {OdAccess::ReadWrite, OdType::Domain, 889, domain889},
    {OdAccess::ReadOnly, OdType::Domain, sizeof hugeDomain, hugeDomain},
    {OdAccess::ReadWrite, 0x9F, 1, &rangeValue},
};

const OdIndexEntry rows[] = {
    {deviceTypeSubs, 1}, // row 0 cannot start a range
    {serverSubs, 3},     {clientSubs, 4}, {spareSubs, 4},     {u8Subs, 1},   {u32Subs, 1},
    {readOnlySubs, 1},   {writeOnlySubs, 1}, {textSubs, 1}, {domainSubs, 7},
};
const uint16_t rowIndex[] = {0x1000, 0x1200, 0x1280, 0x1281, kU8, kU32, kU32ReadOnly, kU32WriteOnly, kText, kDomains};
const uint16_t rowCount = sizeof rows / sizeof rows[0];
const uint16_t firstRows[OdRange::Count] = {1, 2, 0, 0, 0, 0};
const uint16_t lastRows[OdRange::Count] = {1, 3, 0, 0, 0, 0};
uint8_t localNodeId = 5;

const OdIndexEntry *scanTestIndex(uint16_t index, uint32_t *abortCode, OdWriteCallback **callbacks)
{
    *callbacks = nullptr;
    for (uint16_t i = 0; i < rowCount; ++i) {
        if (rowIndex[i] == index)
            return &rows[i];
    }
    *abortCode = SdoAbort::NoSuchObject;
    return nullptr;
}

void resetDictionary()
{
    deviceType = 0x191;
    serverSubCount = 2;
    serverRequestCob = kToUs;
    serverAnswerCob = kFromUs;
    clientSubCount = 3;
    clientRequestCob = kToPeer;
    clientAnswerCob = kFromPeer;
    clientPeer = kPeerId;
    spareSubCount = 3;
    spareRequestCob = spareAnswerCob = 0;
    sparePeer = 0;
    u8Value = 0;
    u32Value = 0;
    readOnlyValue = 0x12345678;
    writeOnlyValue = 0;
    std::memset(textValue, 0, sizeof textValue);
    std::memset(domain0, 0, sizeof domain0);
    std::memset(domain1, 0, sizeof domain1);
    std::memset(domain7, 0, sizeof domain7);
    std::memset(domain8, 0, sizeof domain8);
    std::memset(domain889, 0, sizeof domain889);
    rangeValue = 1;
}

std::mutex sentMutex;
std::vector<Frame> sentFrames;

uint8_t captureSend(CanHandle, const CanMessage *frame)
{
    std::lock_guard<std::mutex> lock(sentMutex);
    sentFrames.push_back(Frame{frame->cobId, Bytes(frame->data, frame->data + frame->len)});
    return 0;
}

uint32_t testClock()
{
    return SdoTest::clockMs;
}

} // namespace

void PrintTo(const Frame &frame, std::ostream *out)
{
    *out << std::hex << std::setfill('0') << "0x" << std::setw(3) << frame.cobId << " [";
    for (size_t i = 0; i < frame.data.size(); ++i)
        *out << (i ? " " : "") << std::setw(2) << unsigned(frame.data[i]);
    *out << "]" << std::dec;
}

Frame sdo(uint16_t cobId, uint8_t command, uint16_t index, uint8_t subIndex, uint32_t value)
{
    return Frame{cobId,
                 {command, uint8_t(index), uint8_t(index >> 8), subIndex, uint8_t(value), uint8_t(value >> 8),
                  uint8_t(value >> 16), uint8_t(value >> 24)}};
}

Frame seg(uint16_t cobId, uint8_t command, const Bytes &bytes)
{
    Frame frame{cobId, Bytes(8, 0)};
    frame.data[0] = command;
    for (size_t i = 0; i < bytes.size() && i < 7; ++i)
        frame.data[i + 1] = bytes[i];
    return frame;
}

Bytes pattern(uint32_t n, uint8_t seed)
{
    Bytes bytes(n);
    for (uint32_t i = 0; i < n; ++i)
        bytes[i] = static_cast<uint8_t>(seed + i * 7 + (i >> 8));
    return bytes;
}

Bytes slice(const Bytes &data, size_t from, size_t n)
{
    return Bytes(data.begin() + static_cast<long>(from), data.begin() + static_cast<long>(from + n));
}

Frames segmentsOf(uint16_t cobId, const Bytes &data)
{
    Frames frames;
    uint8_t toggle = 0;
    for (size_t at = 0;; at += 7, toggle ^= 1) {
        const size_t remaining = data.size() - at;
        if (remaining > 7) {
            frames.push_back(seg(cobId, static_cast<uint8_t>(toggle * 16), slice(data, at, 7)));
            continue;
        }
        const uint8_t command = static_cast<uint8_t>(toggle * 16 + (7 - remaining) * 2 + 1);
        frames.push_back(seg(cobId, command, slice(data, at, remaining)));
        return frames;
    }
}

Frames toggled(uint16_t cobId, uint8_t base, size_t count)
{
    Frames frames;
    for (size_t i = 0; i < count; ++i)
        frames.push_back(seg(cobId, static_cast<uint8_t>(base + (i & 1) * 16)));
    return frames;
}

Frames blockOf(uint16_t cobId, const Bytes &data, size_t offset, uint8_t blockSize)
{
    Frames frames;
    for (unsigned seq = 1; seq <= blockSize; ++seq, offset += 7) {
        const size_t remaining = data.size() - offset;
        const bool last = remaining <= 7;
        frames.push_back(seg(cobId, static_cast<uint8_t>(last ? seq | 0x80 : seq),
                             slice(data, offset, last ? remaining : 7)));
        if (last)
            break;
    }
    return frames;
}

uint8_t blockEnd(size_t n)
{
    const size_t lastBytes = n == 0 ? 0 : n - (n - 1) / 7 * 7;
    return static_cast<uint8_t>(0xC1 + (7 - lastBytes) * 4);
}

uint8_t *entryBytes(uint16_t index, uint8_t subIndex)
{
    uint32_t code = 0;
    OdWriteCallback *callbacks = nullptr;
    const OdIndexEntry *row = scanTestIndex(index, &code, &callbacks);
    return static_cast<uint8_t *>(row->subEntries[subIndex].value);
}

void SdoTest::SetUp()
{
    resetDictionary();
    completions.clear();
    countedCalls = 0;
    {
        std::lock_guard<std::mutex> lock(sentMutex);
        sentFrames.clear();
    }
    clockMs = 1000;
    bench.setUp(node, port, testClock);
    canDriver.send = captureSend;

    node.nodeId = &localNodeId;
    node.objectDictionary = rows;
    node.firstIndex = firstRows;
    node.lastIndex = lastRows;
    node.objectCount = &rowCount;
    node.scanIndex = scanTestIndex;
    node.valueRangeTest = masterValueRangeTest;
    node.nmtState = NmtState::PreOperational;
    node.commSwitches.sdo = 1;
}

void SdoTest::TearDown() { bench.tearDown(node); }

std::vector<Frame> SdoTest::takeSent()
{
    std::lock_guard<std::mutex> lock(sentMutex);
    std::vector<Frame> frames;
    frames.swap(sentFrames);
    return frames;
}

void SdoTest::feed(const Frame &frame)
{
    CanMessage message{};
    message.cobId = frame.cobId;
    message.len = static_cast<uint8_t>(frame.data.size());
    std::copy(frame.data.begin(), frame.data.end(), message.data);
    processSdoFrame(&node, &message);
}

void SdoTest::feedShort(uint16_t cobId, const Bytes &bytes)
{
    feed(Frame{cobId, bytes});
}

void SdoTest::fireAlarms()
{
    runStackTimerWake();
}

void SdoTest::onRead(NodeContext *node, uint8_t nodeId)
{
    Completion done{nodeId, 0, 0, Bytes(0x40000)};
    uint32_t size = static_cast<uint32_t>(done.data.size());
    done.result = getReadResult(node, nodeId, done.data.data(), &size, &done.abortCode);
    done.data.resize(done.result == SdoState::Finished ? size : 0);
    completions.push_back(done);
    closeSdoTransfer(node, nodeId, SdoRole::Client);
}

void SdoTest::onWrite(NodeContext *node, uint8_t nodeId)
{
    Completion done{nodeId, 0, 0, {}};
    done.result = getWriteResult(node, nodeId, &done.abortCode);
    completions.push_back(done);
    closeSdoTransfer(node, nodeId, SdoRole::Client);
}

void SdoTest::onAnyOnlyCount(NodeContext *, uint8_t)
{
    ++countedCalls;
}

int SdoTest::startRead(uint16_t index, uint8_t subIndex, uint8_t block)
{
    return readRemoteEntry(&node, kPeerId, index, subIndex, OdType::Domain, onRead, block);
}

int SdoTest::startWrite(uint16_t index, uint8_t subIndex, const Bytes &data, uint8_t block)
{
    return writeRemoteEntry(&node, kPeerId, index, subIndex, static_cast<uint32_t>(data.size()), OdType::Domain,
                            data.data(), onWrite, block);
}

} // namespace sdotest
