// Dictionary access through getOdEntry / setOdEntry: the refusals in their
// order, size handling, text entries, write callbacks and the store hook; and
// the master's own table as the rest of the system relies on it.
#include "canopen/abort_codes.h"
#include "canopen/master_od.h"
#include "canopen/od.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A small dictionary of our own for the cases the master's table lacks.
char text[8] = "abc";
uint8_t writeOnlyValue = 7;
uint8_t rangeChecked = 5;
uint8_t readOnlyStored = 1;
uint8_t stored = 0;
const OdSubEntry textEntries[] = {
    {OdAccess::ReadWrite, OdType::VisibleString, 8, text},
    {OdAccess::WriteOnly, OdType::Unsigned8, 1, &writeOnlyValue},
    {OdAccess::ReadWrite, 0x9F, 1, &rangeChecked},
    {OdAccess::ReadOnly | OdAccess::StoreMark, OdType::Unsigned8, 1, &readOnlyStored},
    {OdAccess::ReadWrite | OdAccess::StoreMark, OdType::Unsigned8, 1, &stored},
};
const OdIndexEntry testRow = {textEntries, 5};

const OdIndexEntry *testScanIndex(uint16_t index, uint32_t *abortCode, OdWriteCallback **callbacks)
{
    *callbacks = nullptr;
    if (index != 0x3000) {
        *abortCode = SdoAbort::NoSuchObject;
        return nullptr;
    }
    return &testRow;
}

int storeCalls = 0;
uint16_t storedIndex = 0;
uint8_t storedSub = 0;
void countStore(NodeContext *, uint16_t index, uint8_t subIndex)
{
    ++storeCalls;
    storedIndex = index;
    storedSub = subIndex;
}

NodeContext testNode()
{
    NodeContext node;
    node.scanIndex = testScanIndex;
    node.valueRangeTest = masterValueRangeTest;
    node.storeOdSubIndex = countStore;
    return node;
}

uint32_t readU32(uint16_t index, uint8_t sub)
{
    uint32_t value = 0;
    uint32_t size = 4;
    uint8_t type = 0;
    EXPECT_EQ(getOdEntry(&masterNode, index, sub, &value, &size, &type, 1), 0u) << std::hex << index;
    return value;
}

TEST(OdRead, RefusalsInTheirOrder)
{
    uint8_t buffer[8];
    uint32_t size = sizeof buffer;
    uint8_t type = 0;
    EXPECT_EQ(getOdEntry(&masterNode, 0x1234, 0, buffer, &size, &type, 1), SdoAbort::NoSuchObject);
    EXPECT_EQ(getOdEntry(&masterNode, 0x1018, 5, buffer, &size, &type, 1), SdoAbort::NoSuchSubIndex);
    EXPECT_EQ(getOdEntry(&masterNode, 0x1018, 5, nullptr, &size, &type, 1), SdoAbort::NoSuchSubIndex)
        << "the subindex is checked before the destination";
    EXPECT_EQ(getOdEntry(&masterNode, 0x1000, 0, nullptr, &size, &type, 1), SdoAbort::GeneralError);

    NodeContext node = testNode();
    EXPECT_EQ(getOdEntry(&node, 0x3000, 1, buffer, &size, &type, 1), SdoAbort::WriteOnly);
    size = sizeof buffer;
    EXPECT_EQ(getOdEntry(&node, 0x3000, 1, buffer, &size, &type, 0), 0u) << "without access check";
    EXPECT_EQ(buffer[0], 7);
}

TEST(OdRead, SmallBufferReportsTheNeededSize)
{
    uint8_t buffer[2];
    uint32_t size = 2;
    uint8_t type = 0;
    EXPECT_EQ(getOdEntry(&masterNode, 0x1000, 0, buffer, &size, &type, 1), SdoAbort::OutOfMemory);
    EXPECT_EQ(size, 4u);
    uint32_t value = 0;
    EXPECT_EQ(getOdEntry(&masterNode, 0x1000, 0, &value, &size, &type, 1), 0u) << "retry with the size given";
    EXPECT_EQ(value, 0x191u);
    EXPECT_EQ(type, OdType::Unsigned32);
    EXPECT_EQ(size, 4u);
}

TEST(OdRead, TextStopsAtNulAndNeverPastTheEntry)
{
    NodeContext node = testNode();
    std::strcpy(text, "abc");
    char buffer[32];
    std::memset(buffer, '#', sizeof buffer);
    uint32_t size = 2;
    uint8_t type = 0;
    EXPECT_EQ(getOdEntry(&node, 0x3000, 0, buffer, &size, &type, 1), SdoAbort::OutOfMemory)
        << "the size check comes first, for texts too";
    EXPECT_EQ(size, 8u);
    size = sizeof buffer;
    EXPECT_EQ(getOdEntry(&node, 0x3000, 0, buffer, &size, &type, 1), 0u);
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(std::string(buffer, 3), "abc");
    EXPECT_EQ(buffer[3], '#');
    EXPECT_EQ(type, OdType::VisibleString);

    std::memcpy(text, "12345678", 8); // fills the entry, no NUL inside it
    size = sizeof buffer;
    EXPECT_EQ(getOdEntry(&node, 0x3000, 0, buffer, &size, &type, 1), 0u);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(buffer[8], '#');
}

TEST(OdWrite, RefusalsAndSizes)
{
    uint32_t value = 0x12345678;
    uint32_t size = 4;
    EXPECT_EQ(setOdEntry(&masterNode, 0x1234, 0, &value, &size, 1), SdoAbort::NoSuchObject);
    EXPECT_EQ(setOdEntry(&masterNode, 0x1000, 1, &value, &size, 1), SdoAbort::NoSuchSubIndex);
    EXPECT_EQ(setOdEntry(&masterNode, 0x1000, 0, &value, &size, 1), SdoAbort::ReadOnly);
    EXPECT_EQ(readU32(0x1000, 0), 0x191u);

    uint16_t shortValue = 0x0601;
    size = 2;
    EXPECT_EQ(setOdEntry(&masterNode, 0x1280, 1, &shortValue, &size, 1), SdoAbort::LengthMismatch);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(readU32(0x1280, 1), 0u) << "nothing stored";

    size = 0;
    EXPECT_EQ(setOdEntry(&masterNode, 0x1280, 1, nullptr, &size, 1), 0u) << "0 bytes store nothing";
    EXPECT_EQ(size, 4u);
}

TEST(OdWrite, WithoutAccessCheckAReadOnlyEntryIsStored)
{
    uint32_t value = 0xCAFE;
    uint32_t size = 4;
    EXPECT_EQ(setOdEntry(&masterNode, 0x1000, 0, &value, &size, 0), 0u);
    EXPECT_EQ(readU32(0x1000, 0), 0xCAFEu);
    value = 0x191;
    EXPECT_EQ(setOdEntry(&masterNode, 0x1000, 0, &value, &size, 0), 0u);
}

TEST(OdWrite, ShorterTextIsTerminatedLongerIsRefused)
{
    NodeContext node = testNode();
    std::memcpy(text, "12345678", 8);
    uint32_t size = 2;
    EXPECT_EQ(setOdEntry(&node, 0x3000, 0, "xy", &size, 1), 0u);
    EXPECT_EQ(size, 8u);
    EXPECT_STREQ(text, "xy");
    size = 9;
    EXPECT_EQ(setOdEntry(&node, 0x3000, 0, "123456789", &size, 1), SdoAbort::LengthMismatch);
    EXPECT_EQ(size, 8u);
}

TEST(OdWrite, ValueRangeTestStopsTheWrite)
{
    NodeContext node = testNode();
    uint8_t zero = 0;
    uint8_t three = 3;
    uint32_t size = 1;
    EXPECT_EQ(setOdEntry(&node, 0x3000, 2, &zero, &size, 1), SdoAbort::ValueRange);
    EXPECT_EQ(rangeChecked, 5) << "nothing stored";
    EXPECT_EQ(setOdEntry(&node, 0x3000, 2, &three, &size, 1), 0u);
    EXPECT_EQ(rangeChecked, 3);
}

TEST(OdWrite, StoreMarkRunsTheStoreHookAndKeepsReadOnlyEntriesReadOnly)
{
    NodeContext node = testNode();
    storeCalls = 0;
    uint8_t value = 9;
    uint32_t size = 1;
    EXPECT_EQ(setOdEntry(&node, 0x3000, 4, &value, &size, 1), 0u);
    EXPECT_EQ(stored, 9);
    EXPECT_EQ(storeCalls, 1);
    EXPECT_EQ(storedIndex, 0x3000);
    EXPECT_EQ(storedSub, 4);
    EXPECT_EQ(setOdEntry(&node, 0x3000, 3, &value, &size, 1), SdoAbort::ReadOnly)
        << "the store mark does not make a read-only entry writable";
    EXPECT_EQ(readOnlyStored, 1);
    EXPECT_EQ(storeCalls, 1);
}

uint32_t callbackResult = 0;
int callbackCalls = 0;
uint32_t valueSeenByCallback = 0;
uint32_t onSyncWritten(NodeContext *, const OdIndexEntry *row, uint8_t subIndex)
{
    ++callbackCalls;
    valueSeenByCallback = *static_cast<uint32_t *>(row->subEntries[subIndex].value);
    return callbackResult;
}

TEST(OdWriteCallback, RunsAfterTheValueIsStoredAndItsRefusalIsPassedOn)
{
    ASSERT_EQ(registerOdWriteCallback(&masterNode, 0x1006, 0, onSyncWritten), 0u);
    callbackCalls = 0;
    callbackResult = 0;
    uint32_t period = 20000;
    uint32_t size = 4;
    EXPECT_EQ(setOdEntry(&masterNode, 0x1006, 0, &period, &size, 1), 0u);
    EXPECT_EQ(callbackCalls, 1);
    EXPECT_EQ(valueSeenByCallback, 20000u);

    callbackResult = SdoAbort::ValueRange;
    period = 50000;
    EXPECT_EQ(setOdEntry(&masterNode, 0x1006, 0, &period, &size, 1), SdoAbort::ValueRange);
    EXPECT_EQ(readU32(0x1006, 0), 50000u) << "the value stays stored";

    ASSERT_EQ(registerOdWriteCallback(&masterNode, 0x1006, 0, nullptr), 0u);
    EXPECT_EQ(setOdEntry(&masterNode, 0x1006, 0, &period, &size, 1), 0u);
    EXPECT_EQ(callbackCalls, 2);
}

TEST(OdWriteCallback, ObjectsWithoutCallbackSlotsRegisterNothing)
{
    EXPECT_EQ(registerOdWriteCallback(&masterNode, 0x1000, 0, onSyncWritten), 0u);
    EXPECT_EQ(registerOdWriteCallback(&masterNode, 0x1800, 6, onSyncWritten), 0u) << "past the count";
    EXPECT_EQ(registerOdWriteCallback(&masterNode, 0x1234, 0, onSyncWritten), SdoAbort::NoSuchObject);
    callbackCalls = 0;
    uint32_t value = 0x191;
    uint32_t size = 4;
    EXPECT_EQ(setOdEntry(&masterNode, 0x1000, 0, &value, &size, 0), 0u);
    EXPECT_EQ(callbackCalls, 0);
}

TEST(MasterDictionary, TwentyObjectsWithTheirCallbackArrays)
{
    const uint16_t indexes[] = {0x1000, 0x1001, 0x1005, 0x1006, 0x1016, 0x1018, 0x1280,
                                0x1400, 0x1600, 0x1800, 0x1A00, 0x2000, 0x200F, 0x2010,
                                0x2011, 0x2012, 0x2013, 0x2014, 0x2015, 0x2016};
    for (int i = 0; i < kMasterObjectCount; ++i) {
        uint32_t abortCode = 1;
        OdWriteCallback *callbacks = nullptr;
        EXPECT_EQ(masterScanIndex(indexes[i], &abortCode, &callbacks), &masterObjectDictionary[i]);
        EXPECT_EQ(abortCode, 0u);
        const bool hasCallbacks = indexes[i] == 0x1005 || indexes[i] == 0x1006 || indexes[i] == 0x1800;
        EXPECT_EQ(callbacks != nullptr, hasCallbacks) << std::hex << indexes[i];
    }
    uint32_t abortCode = 0;
    OdWriteCallback *callbacks = nullptr;
    EXPECT_EQ(masterScanIndex(0x200E, &abortCode, &callbacks), nullptr);
    EXPECT_EQ(abortCode, SdoAbort::NoSuchObject);
    EXPECT_EQ(masterScanIndex(0x2017, &abortCode, &callbacks), nullptr);
}

TEST(MasterDictionary, InitialValues)
{
    EXPECT_EQ(readU32(0x1005, 0), 0x40000080u);
    EXPECT_EQ(readU32(0x1016, 1), 0x004005DCu);
    EXPECT_EQ(readU32(0x1400, 1), 0x1C0u);
    EXPECT_EQ(readU32(0x1600, 8), 0x20160001u);
    EXPECT_EQ(readU32(0x1800, 1), 0x223u);
    EXPECT_EQ(readU32(0x1A00, 1), 0x20000008u);
    EXPECT_EQ(masterObjectDictionary[kMasterSdoClientRow].count, 4);
    EXPECT_EQ(masterObjectDictionary[8].subEntries[0].access, OdAccess::ReadWrite) << "0x1600 sub 0";
    EXPECT_EQ(masterObjectDictionary[12].subEntries[0].dataType, OdType::Boolean);

    EXPECT_EQ(*masterNode.objectCount, 20);
    EXPECT_EQ(masterNode.firstIndex[OdRange::SdoServer], 0);
    EXPECT_EQ(masterNode.firstIndex[OdRange::SdoClient], 6);
    EXPECT_EQ(masterNode.lastIndex[OdRange::TpdoMap], 10);
    EXPECT_EQ(masterNode.nmtState, NmtState::Unknown);
    EXPECT_EQ(*masterNode.nodeId, 0);
    EXPECT_EQ(*masterNode.emcyCobId, 0x80u);
}

TEST(MasterDictionary, ValueRangeTestOnlyRefusesZeroOfType9F)
{
    const uint8_t zero = 0;
    const uint8_t one = 1;
    EXPECT_EQ(masterValueRangeTest(0x9F, &zero), SdoAbort::ValueRange);
    EXPECT_EQ(masterValueRangeTest(0x9F, &one), 0u);
    EXPECT_EQ(masterValueRangeTest(OdType::Unsigned8, &zero), 0u);
}

} // namespace
