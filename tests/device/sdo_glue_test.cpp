// The blocking request glue against the virtual device: results, aborts,
// time-outs of starts the stack refuses, late completions, and the identity
// reads built on it.
#include "device_fixture.h"
#include "device/device_identity.h"
#include "device/sdo_request.h"

#include "canopen/master_od.h"
#include "canopen/sdo_client.h"

#include <QElapsedTimer>

namespace {
class SdoGlue : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        node = &connectToDevice();
    }
    veqtest::VirtualNode *node = nullptr;
};
} // namespace

TEST_F(SdoGlue, ReadsReturnTheirOwnValues)
{
    for (uint32_t i = 0; i < 200; ++i) {
        node->setU32(0x2100, uint8_t(i % 2), i);
        const SdoReply reply = sdoRead(5, 0x2100, uint8_t(i % 2), 7);
        ASSERT_TRUE(reply.ok) << i;
        ASSERT_EQ(reply.data.size(), 4);
        EXPECT_EQ(quint8(reply.data[0]), quint8(i)) << i;
    }
}

// Objects 0x2000/1 and 0x2000/8 hold different values, so a swapped
// subindex shows.
TEST_F(SdoGlue, VendorValueReadsTakeTheirOwnSubindex)
{
    node->setU32(0x2000, 1, 0x11223344);
    node->setU32(0x2000, 8, 0x55667788);
    const struct {
        SdoRequestFunction request;
        QByteArray data;
    } reads[] = {{requestVendorValue1, QByteArray("\x44\x33\x22\x11", 4)},
                 {requestVendorValue8, QByteArray("\x88\x77\x66\x55", 4)}};
    for (const auto &read : reads) {
        const SdoReply reply = sdoRequest(5, read.request);
        ASSERT_TRUE(reply.ok);
        EXPECT_EQ(reply.data.toHex(), read.data.toHex());
    }
}

TEST_F(SdoGlue, WriteReachesTheDevice)
{
    node->setU16(0x2101, 0, 0);
    EXPECT_TRUE(sdoWrite(5, 0x2101, 0, 6, QByteArray("\x34\x12", 2)).ok);
    EXPECT_EQ(node->value(0x2101, 0), (std::vector<uint8_t>{0x34, 0x12}));
}

TEST_F(SdoGlue, WriteLongerThanTheRequestBufferIsRefusedWithoutTraffic)
{
    node->setString(0x2102, 0, "", veqtest::Access::ReadWrite);
    const size_t before = fromMaster().size();
    const SdoReply reply = sdoWrite(5, 0x2102, 0, 9, QByteArray(71, 'x'));
    EXPECT_FALSE(reply.ok);
    EXPECT_EQ(fromMaster().size(), before);
    EXPECT_TRUE(sdoWrite(5, 0x2102, 0, 9, QByteArray(70, 'y')).ok);
    EXPECT_EQ(node->value(0x2102, 0)->size(), 70u);
}

TEST_F(SdoGlue, ServerAbortFailsAfterThreeTriesWithItsCode)
{
    const int before = node->requestsReceived();
    const SdoReply reply = sdoRead(5, 0x2FFF, 0, 7); // no such object
    EXPECT_FALSE(reply.ok);
    EXPECT_EQ(reply.abortCode, 0x06020000u);
    EXPECT_TRUE(reply.data.isEmpty());
    EXPECT_EQ(node->requestsReceived() - before, 3);
}

TEST_F(SdoGlue, SilentNodeFailsWithoutAnEarlierSuccessLeakingIn)
{
    node->setU32(0x2100, 0, 0xCAFE);
    ASSERT_TRUE(sdoRead(5, 0x2100, 0, 7).ok);
    node->setSilent(true);
    const size_t mark = adapter.log().size();
    const SdoReply reply = sdoRead(5, 0x2100, 0, 7);
    EXPECT_FALSE(reply.ok);
    EXPECT_TRUE(reply.data.isEmpty());
    // Three upload requests, each ended by the stack's own time-out abort. The
    // adapter may log the lines a little after the exchange has returned.
    const std::string upload = "t60584000210000000000";
    const std::string abort = "t60588000210000000405";
    size_t from = mark;
    for (const std::string &line : {upload, abort, upload, abort, upload, abort}) {
        const auto at = adapter.log().waitFor(WireDirection::FromMaster, line, 1000ms, from);
        ASSERT_TRUE(at.has_value()) << line << " after line " << from;
        from = *at + 1;
    }
    int uploads = 0;
    const auto lines = adapter.log().lines();
    for (size_t i = mark; i < lines.size(); ++i)
        uploads += lines[i].text == upload;
    EXPECT_EQ(uploads, 3);
}

TEST_F(SdoGlue, UploadPastTheSmallBufferFailsButLargeReadTakesIt)
{
    node->setString(0x2103, 0, std::string(100, 'n'));
    EXPECT_FALSE(sdoRead(5, 0x2103, 0, 9).ok);
    SdoRequestCall large;
    large.request = requestParamReadLarge;
    large.nodeId = 5;
    large.index = 0x2103;
    large.dataType = 9;
    const SdoReply reply = runSdoRequestCall(large);
    ASSERT_TRUE(reply.ok);
    EXPECT_EQ(reply.data, QByteArray(100, 'n'));
    EXPECT_TRUE(sdoRead(5, 0x1000, 0, 7).ok); // the line was freed
}

TEST_F(SdoGlue, RefusedStartEndsEachTryByTheWait)
{
    // Node 6 has no client channel pointed at it: the stack refuses to start
    // and no completion ever comes.
    addDevice(6);
    QElapsedTimer timer;
    timer.start();
    const SdoReply reply = sdoRead(6, 0x1000, 0, 7);
    const qint64 elapsed = timer.elapsed();
    EXPECT_FALSE(reply.ok);
    EXPECT_GE(elapsed, 3 * 800 - 50);
    EXPECT_EQ(adapter.node(6)->requestsReceived(), 0);
}

TEST_F(SdoGlue, LateCompletionIsNotTakenForALaterTryOrRequest)
{
    node->setU32(0x2200, 0, 0xAAAAAAAA);
    node->setU32(0x2201, 0, 0x55555555);
    // Answers come after 40 ms, past a 25 ms wait but within the stack's 50 ms.
    connectionSettings.sdoTimeout = 25;
    node->setAnswerDelay(40ms);
    const SdoReply late = sdoRead(5, 0x2200, 0, 7);
    EXPECT_FALSE(late.ok);
    EXPECT_TRUE(late.data.isEmpty());

    connectionSettings.sdoTimeout = 800;
    node->setAnswerDelay(0ms);
    const SdoReply next = sdoRead(5, 0x2201, 0, 7);
    ASSERT_TRUE(next.ok);
    EXPECT_EQ(next.data, QByteArray("\x55\x55\x55\x55", 4));
    // The delayed answers did arrive, each after its try had ended.
    EXPECT_GE(node->transfersCompleted(), 2);
}

TEST_F(SdoGlue, StoredEdsUploadWaitsPastTheReplyTimeout)
{
    std::vector<uint8_t> eds(3000);
    for (size_t i = 0; i < eds.size(); ++i)
        eds[i] = uint8_t(i * 7);
    node->setDomain(0x1021, 0, eds, veqtest::Access::ReadOnly);
    connectionSettings.sdoTimeout = 30; // far shorter than the segmented upload
    SdoRequestCall exchange;
    exchange.request = requestStoredEds;
    exchange.nodeId = 5;
    exchange.waitWhileRunning = true;
    const SdoReply reply = runSdoRequestCall(exchange);
    ASSERT_TRUE(reply.ok);
    EXPECT_EQ(reply.data, QByteArray(reinterpret_cast<const char *>(eds.data()), int(eds.size())));

    // A start the stack refuses ends the wait after one slice, not at the bound.
    addDevice(6);
    exchange.nodeId = 6;
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(runSdoRequestCall(exchange).ok);
    EXPECT_LT(timer.elapsed(), 5000);
}

TEST_F(SdoGlue, DeviceNameIsTrimmedAndFreedOfNuls)
{
    node->setString(0x1008, 0, std::string("  Drive 7\0\0", 11));
    EXPECT_EQ(readDeviceName(5), "Drive 7");
    node->setString(0x1008, 0, std::string("  \0 \0", 5));
    EXPECT_EQ(readDeviceName(5), "CANopen device");
    node->removeEntry(0x1008, 0);
    EXPECT_EQ(readDeviceName(5), "CANopen device");
}

TEST_F(SdoGlue, IdentityValues)
{
    node->setU32(0x2000, 6, 0x00001A2B);
    node->setU32(0x2000, 8, 0);
    node->setU32(0x2000, 2, 0xFFFFFFFE);
    node->setU16(0x2000, 1, 0x1234);
    EXPECT_EQ(readValueAsHex(0x2000, 6, 7), "1a2b");
    EXPECT_EQ(readValueAsHex(0x2000, 8, 7), "");
    EXPECT_EQ(readValueAsHex(0x2000, 9, 7), "");
    EXPECT_EQ(readValueAsDecimal(0x2000, 2, 7), "-2");
    EXPECT_EQ(readValueAsDecimal(0x2000, 1, 6), "4660");
    EXPECT_EQ(readValueAsDecimal(0x2000, 9, 7), "");

    EXPECT_EQ(readStorageFormat(), -1);
    EXPECT_EQ(readModuleCount(), -1);
    node->setU16(0x1022, 0, 128);
    node->setU8(0x1027, 0, 3);
    EXPECT_EQ(readStorageFormat(), 128);
    EXPECT_EQ(readModuleCount(), 3);
    node->setU32(0x1022, 0, 0x00FF0080); // longer answer: only the low two bytes count
    EXPECT_EQ(readStorageFormat(), 128);
}

// The debugging probe prints its outcome and frees the line, waking nobody.
TEST_F(SdoGlue, DebugProbePrintsItsTwoResults)
{
    node->setU32(0x1000, 0, 0x00020192, veqtest::Access::ReadOnly);
    const struct {
        quint8 nodeId;
        const char *request, *printed;
    } cases[] = {
        {5, "t60584000100000000000", "\nResult : 20192\n"},
        {9, "t60984000100000000000", // nobody answers: the stack's time-out
         "\nResult : Failed in getting information for slave 09, AbortCode :5040000 \n"},
    };
    for (const auto &c : cases) {
        connectionSettings.device.nodeId = c.nodeId;
        pointSdoClientAt(c.nodeId);
        const size_t mark = adapter.log().size();
        testing::internal::CaptureStdout();
        probeConfiguredNodeDebug();
        const bool sent = adapter.log().waitFor(WireDirection::FromMaster, c.request, 2000ms, mark).has_value();
        const bool lineFreed = sent && waitUntil([&] { return !isSdoClientTransferRunning(&masterNode, c.nodeId); });
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.printed);
        EXPECT_TRUE(lineFreed) << c.request;
    }
}
