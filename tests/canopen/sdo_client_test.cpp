// The SDO client frame by frame: expedited and segmented uploads and
// downloads of every size class, the refusals of a start, and every way a
// transfer can go wrong (toggle, sizes, stray and short frames, peer aborts).
#include "sdo_fixture.h"

#include "canopen/abort_codes.h"
#include "canopen/alarm.h"
#include "canopen/sdo.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace sdotest {
namespace {

class SdoClientTest : public SdoTest {
protected:
    // Plays a server that answers an upload of data segmented.
    void serveSegmentedUpload(uint16_t index, uint8_t sub, const Bytes &data)
    {
        ASSERT_EQ(takeSent(), Frames{sdo(kToPeer, 0x40, index, sub)});
        feed(sdo(kFromPeer, 0x41, index, sub, static_cast<uint32_t>(data.size())));
        const Frames segments = segmentsOf(kFromPeer, data);
        for (const Frame &segment : segments)
            feed(segment);
        Frames requests = toggled(kToPeer, 0x60, segments.size());
        requests[0] = sdo(kToPeer, 0x60, index, sub); // the first request repeats the object
        EXPECT_EQ(takeSent(), requests);
    }

    // Plays a server that takes a download of data.
    void serveDownload(uint16_t index, uint8_t sub, const Bytes &data)
    {
        const uint32_t n = static_cast<uint32_t>(data.size());
        if (n <= 4) {
            Frame initiate = sdo(kToPeer, static_cast<uint8_t>(0x23 + (4 - n) * 4), index, sub);
            std::copy(data.begin(), data.end(), initiate.data.begin() + 4);
            ASSERT_EQ(takeSent(), Frames{initiate});
            feed(sdo(kFromPeer, 0x60, index, sub));
            EXPECT_TRUE(takeSent().empty());
            return;
        }
        ASSERT_EQ(takeSent(), Frames{sdo(kToPeer, 0x21, index, sub, n)});
        const Frames segments = segmentsOf(kToPeer, data);
        feed(sdo(kFromPeer, 0x60, index, sub));
        for (const Frame &ack : toggled(kFromPeer, 0x20, segments.size()))
            feed(ack);
        EXPECT_EQ(takeSent(), segments);
    }

    void expectOneCompletion(uint32_t result, uint32_t abortCode, const Bytes &data = {})
    {
        ASSERT_EQ(completions.size(), 1u);
        EXPECT_EQ(completions[0].nodeId, kPeerId);
        EXPECT_EQ(completions[0].result, result);
        EXPECT_EQ(completions[0].abortCode, abortCode);
        EXPECT_EQ(completions[0].data, data);
    }

    void expectAllLinesFree()
    {
        for (const SdoTransferLine &l : node.sdoLines)
            EXPECT_EQ(l.state, SdoState::Free);
    }

    // The transfer of index/sub was aborted here with code: the abort frame went
    // to the peer, the callback saw it, and the line is gone.
    void expectAbortedHere(uint16_t index, uint8_t sub, uint32_t code)
    {
        EXPECT_EQ(takeSent(), Frames{sdo(kToPeer, 0x80, index, sub, code)});
        expectOneCompletion(kSdoNoClientLine, code);
        expectAllLinesFree();
    }
};

// --- expedited upload -------------------------------------------------------

struct ExpeditedCase {
    uint8_t command;
    Bytes payload; // bytes 4..7 of the answer
    Bytes expected;
};

class SdoExpeditedUpload : public SdoClientTest, public ::testing::WithParamInterface<ExpeditedCase> {};

TEST_P(SdoExpeditedUpload, TakesTheAnnouncedBytes)
{
    const ExpeditedCase &c = GetParam();
    ASSERT_EQ(startRead(kU32, 0), 0);
    ASSERT_EQ(takeSent(), Frames{sdo(kToPeer, 0x40, kU32, 0)});
    Frame answer = sdo(kFromPeer, c.command, kU32, 0);
    for (size_t i = 0; i < c.payload.size(); ++i)
        answer.data[4 + i] = c.payload[i];
    feed(answer);
    expectOneCompletion(SdoState::Finished, 0, c.expected);
    EXPECT_TRUE(takeSent().empty());
    expectAllLinesFree();
}

INSTANTIATE_TEST_SUITE_P(Sizes, SdoExpeditedUpload,
                         ::testing::Values(ExpeditedCase{0x43, {1, 2, 3, 4}, {1, 2, 3, 4}},
                                           ExpeditedCase{0x47, {1, 2, 3, 4}, {1, 2, 3}},
                                           ExpeditedCase{0x4B, {1, 2, 3, 4}, {1, 2}},
                                           ExpeditedCase{0x4F, {9, 2, 3, 4}, {9}},
                                           // no size indicated: all four bytes count
                                           ExpeditedCase{0x42, {5, 6, 7, 8}, {5, 6, 7, 8}}));

// --- segmented upload and download, by size ---------------------------------

class SdoSegmentedSizes : public SdoClientTest, public ::testing::WithParamInterface<uint32_t> {};

TEST_P(SdoSegmentedSizes, UploadDeliversEveryByte)
{
    const Bytes data = pattern(GetParam());
    ASSERT_EQ(startRead(kDomains, 4), 0);
    serveSegmentedUpload(kDomains, 4, data);
    expectOneCompletion(SdoState::Finished, 0, data);
    expectAllLinesFree();
}

TEST_P(SdoSegmentedSizes, DownloadSendsEveryByte)
{
    const Bytes data = pattern(GetParam(), 0x31);
    ASSERT_EQ(startWrite(kDomains, 4, data), 0);
    serveDownload(kDomains, 4, data);
    expectOneCompletion(SdoState::Finished, 0);
    expectAllLinesFree();
}

INSTANTIATE_TEST_SUITE_P(Sizes, SdoSegmentedSizes, ::testing::Values(0u, 1u, 4u, 5u, 7u, 8u, 20u, 40u, 889u));

// --- result getters -------------------------------------------------------------

TEST_F(SdoClientTest, FortyByteUploadNeedsABufferOfItsSize)
{
    ASSERT_EQ(readRemoteEntry(&node, kPeerId, kDomains, 4, OdType::Domain, onAnyOnlyCount, 0), 0);
    feed(sdo(kFromPeer, 0x41, kDomains, 4, 40));
    const Bytes data = pattern(40);
    for (int i = 0; i < 5; ++i)
        feed(seg(kFromPeer, static_cast<uint8_t>((i & 1) * 16), Bytes(data.begin() + i * 7, data.begin() + i * 7 + 7)));
    feed(seg(kFromPeer, 0x15, Bytes(data.begin() + 35, data.end()))); // toggle 1, 5 bytes, last
    ASSERT_EQ(countedCalls, 1);
    EXPECT_EQ(line(0).dynamicDataSize, 0x20000u); // moved to the heap past 32 bytes

    Bytes buffer(70);
    uint32_t size = 32;
    uint32_t abortCode = 1;
    EXPECT_EQ(getReadResult(&node, kPeerId, buffer.data(), &size, &abortCode), kSdoBufferTooSmall);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(line(0).state, SdoState::Finished); // the line stays for a bigger buffer
    size = 70;
    EXPECT_EQ(getReadResult(&node, kPeerId, buffer.data(), &size, &abortCode), SdoState::Finished);
    EXPECT_EQ(size, 40u);
    EXPECT_EQ(abortCode, 0u);
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 40), data);
    EXPECT_EQ(line(0).state, SdoState::Free);
}

TEST_F(SdoClientTest, GettersWhileRunningAndWithoutALine)
{
    ASSERT_EQ(readRemoteEntryPolled(&node, kPeerId, kU32, 0, OdType::Unsigned32, 0), 0);
    uint32_t size = 8;
    uint32_t abortCode = 0;
    Bytes buffer(8);
    EXPECT_EQ(getReadResult(&node, kPeerId, buffer.data(), &size, &abortCode), SdoState::Upload);
    EXPECT_EQ(getWriteResult(&node, kPeerId, &abortCode), SdoState::Upload);
    EXPECT_EQ(closeSdoTransfer(&node, kPeerId, SdoRole::Client), 0u);
    EXPECT_EQ(closeSdoTransfer(&node, kPeerId, SdoRole::Client), kSdoNoLineClosed);
    EXPECT_EQ(getReadResult(&node, kPeerId, buffer.data(), &size, &abortCode), kSdoNoClientLine);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(getWriteResult(&node, kPeerId, &abortCode), kSdoNoClientLine);
    EXPECT_EQ(getReadResult(&node, 0x33, buffer.data(), &size, &abortCode), kSdoNoClientLine);
    EXPECT_EQ(closeSdoTransfer(&node, 0x33, SdoRole::Client), kSdoNoClientLine);
}

TEST_F(SdoClientTest, PolledDownloadResultFreesTheLine)
{
    const Bytes data = {1, 2};
    ASSERT_EQ(writeRemoteEntryPolled(&node, kPeerId, kU8, 0, 2, OdType::Unsigned16, data.data(), 0), 0);
    feed(sdo(kFromPeer, 0x60, kU8, 0));
    uint32_t abortCode = 1;
    EXPECT_EQ(getWriteResult(&node, kPeerId, &abortCode), SdoState::Finished);
    EXPECT_EQ(abortCode, 0u);
    expectAllLinesFree();
}

// --- refused starts -------------------------------------------------------------

TEST_F(SdoClientTest, SecondTransferToTheSameNodeIsBusy)
{
    ASSERT_EQ(startRead(kU32, 0), 0);
    takeSent();
    EXPECT_EQ(startRead(kU8, 0), -1);
    EXPECT_EQ(startWrite(kU8, 0, {1}), -1);
    EXPECT_TRUE(takeSent().empty());
    // A finished line not yet fetched still blocks the node.
    feed(sdo(kFromPeer, 0x43, kU32, 0, 7));
    completions.clear();
    EXPECT_EQ(readRemoteEntryPolled(&node, kPeerId, kU32, 0, 7, 0), 0);
    feed(sdo(kFromPeer, 0x43, kU32, 0, 7));
    EXPECT_EQ(startRead(kU8, 0), -1);
}

TEST_F(SdoClientTest, NoFreeLineRefusesTheStart)
{
    for (SdoTransferLine &l : node.sdoLines) {
        l.state = SdoState::Finished;
        l.role = SdoRole::Server;
        l.channel = 9;
    }
    EXPECT_EQ(startRead(kU32, 0), -1);
    EXPECT_EQ(startWrite(kU32, 0, pattern(100)), -1);
    EXPECT_TRUE(takeSent().empty());
    for (SdoTransferLine &l : node.sdoLines)
        l = SdoTransferLine();
}

TEST_F(SdoClientTest, RefusalsOfTheChannelLookup)
{
    EXPECT_EQ(readRemoteEntry(&node, 0x33, kU32, 0, 7, onRead, 0), kSdoNoRowForNode);
    EXPECT_EQ(writeRemoteEntry(&node, 0x33, kU32, 0, 1, 7, "x", onWrite, 0), kSdoNoRowForNode);
    const uint16_t noRanges[OdRange::Count] = {0, 0, 0, 0, 0, 0};
    node.firstIndex = noRanges;
    EXPECT_EQ(startRead(kU32, 0), kSdoNoClientRows);
    EXPECT_TRUE(takeSent().empty());
}

TEST_F(SdoClientTest, WrongNmtStateOrSendFailureFreesTheLine)
{
    node.nmtState = NmtState::Stopped;
    EXPECT_EQ(startRead(kU32, 0), -1);
    EXPECT_EQ(startWrite(kU32, 0, pattern(100)), -1);
    expectAllLinesFree();
    node.nmtState = NmtState::Operational;
    node.port = nullptr; // canSend fails
    EXPECT_EQ(startRead(kU32, 0), -1);
    expectAllLinesFree();
    EXPECT_EQ(highestAlarm, -1) << "the time-out alarm must go with the line";
}

TEST_F(SdoClientTest, NullDataWithBytesIsRefused)
{
    EXPECT_EQ(writeRemoteEntry(&node, kPeerId, kU32, 0, 4, 7, nullptr, onWrite, 0), -1);
    expectAllLinesFree();
}

TEST_F(SdoClientTest, AutoChannelClaimsTheUnusedClientRow)
{
    ASSERT_EQ(readRemoteEntryAutoChannel(&node, 0x33, kU32, 0, 7, onRead, 0), 0);
    EXPECT_EQ(takeSent(), Frames{sdo(0x633, 0x40, kU32, 0)});
    feed(sdo(0x5B3, 0x43, kU32, 0, 0xAABBCCDD));
    ASSERT_EQ(completions.size(), 1u);
    EXPECT_EQ(completions[0].nodeId, 0x33);
    EXPECT_EQ(completions[0].data, (Bytes{0xDD, 0xCC, 0xBB, 0xAA}));
    // The row now belongs to 0x33; a third node finds no unused row.
    EXPECT_EQ(writeRemoteEntryAutoChannel(&node, 0x34, kU8, 0, 1, 5, "x", onWrite, 0), kSdoNoRowForNode);
}

TEST_F(SdoClientTest, RunningTransferAndChannelRepointing)
{
    EXPECT_FALSE(isSdoClientTransferRunning(&node, kPeerId));
    ASSERT_EQ(startRead(kU32, 0), 0);
    EXPECT_TRUE(isSdoClientTransferRunning(&node, kPeerId));
    EXPECT_FALSE(isSdoClientTransferRunning(&node, 0x33));
    feed(sdo(kFromPeer, 0x43, kU32, 0, 1));
    EXPECT_FALSE(isSdoClientTransferRunning(&node, kPeerId));

    EXPECT_EQ(setSdoClientChannel(&node, 1, 0x33), 0u);
    EXPECT_EQ(readRemoteEntry(&node, 0x33, kU32, 0, 7, onRead, 0), 0);
    EXPECT_EQ(takeSent().back(), sdo(0x633, 0x40, kU32, 0));
    EXPECT_EQ(setSdoClientChannel(&node, 5, 0x33), SdoAbort::NoSuchObject) << "no row 0x1285";
}

// --- protocol violations and aborts ---------------------------------------------

// A segmented upload of kDomains sub 4 with its announced size, segments that
// are fine, and the one that breaks it.
struct UploadSegmentFault {
    const char *name;
    uint32_t announced;
    Frames before;
    Frame segment;
    uint32_t code;
};

class SdoUploadSegmentFault : public SdoClientTest, public ::testing::WithParamInterface<UploadSegmentFault> {};

TEST_P(SdoUploadSegmentFault, Aborts)
{
    const UploadSegmentFault &c = GetParam();
    ASSERT_EQ(startRead(kDomains, 4), 0);
    feed(sdo(kFromPeer, 0x41, kDomains, 4, c.announced));
    for (const Frame &segment : c.before)
        feed(segment);
    takeSent();
    feed(c.segment);
    expectAbortedHere(kDomains, 4, c.code);
}

INSTANTIATE_TEST_SUITE_P(
    Segments, SdoUploadSegmentFault,
    ::testing::Values(
        UploadSegmentFault{"WrongToggle", 20, {seg(kFromPeer, 0x00, pattern(7))}, seg(kFromPeer, 0x00, pattern(7)),
                           SdoAbort::ToggleNotAlternated},
        UploadSegmentFault{"PastTheAnnouncedSize", 10, {seg(kFromPeer, 0x00, pattern(7))},
                           seg(kFromPeer, 0x10, pattern(7)), SdoAbort::LocalControl},
        // Ended after 7 of 200 000 bytes: success would hand out bytes that never arrived.
        UploadSegmentFault{"LastSegmentShortOfTheAnnouncedSize", 200000, {}, seg(kFromPeer, 0x01, pattern(7)),
                           SdoAbort::LocalControl}),
    [](const ::testing::TestParamInfo<UploadSegmentFault> &info) { return info.param.name; });

TEST_F(SdoClientTest, WrongToggleInDownloadAckAborts)
{
    ASSERT_EQ(startWrite(kDomains, 4, pattern(20)), 0);
    feed(sdo(kFromPeer, 0x60, kDomains, 4));
    takeSent();
    feed(seg(kFromPeer, 0x30)); // first segment went with toggle 0
    EXPECT_EQ(takeSent(), Frames{sdo(kToPeer, 0x80, kDomains, 4, SdoAbort::ToggleNotAlternated)});
    expectOneCompletion(kSdoNoClientLine, SdoAbort::ToggleNotAlternated);
}

TEST_F(SdoClientTest, PeerAbortEndsTheTransferWithItsCode)
{
    ASSERT_EQ(startRead(0x1234, 1), 0);
    takeSent();
    feed(sdo(kFromPeer, 0x80, 0x1234, 1, 0x06020000));
    EXPECT_TRUE(takeSent().empty());
    expectOneCompletion(SdoState::AbortedByPeer, 0x06020000);
    expectAllLinesFree(); // closed by the callback
}

struct ViolationCase {
    const char *name;
    uint8_t blockMode;
    bool download;
    Frame answer;
    uint32_t code;
};

class SdoClientViolation : public SdoClientTest, public ::testing::WithParamInterface<ViolationCase> {
protected:
    // Starts the case's transfer of object kU32 and forgets its first frame.
    int startRoad(const ViolationCase &c)
    {
        const int started =
            c.download ? startWrite(kU32, 0, pattern(20), c.blockMode) : startRead(kU32, 0, c.blockMode);
        takeSent();
        return started;
    }
};

TEST_P(SdoClientViolation, AbortsWithItsCode)
{
    const ViolationCase &c = GetParam();
    ASSERT_EQ(startRoad(c), 0);
    feed(c.answer);
    expectAbortedHere(kU32, 0, c.code);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, SdoClientViolation,
    ::testing::Values(
        ViolationCase{"UploadSpecifier7", 0, false, sdo(kFromPeer, 0xE0, kU32, 0), SdoAbort::InvalidCommand},
        ViolationCase{"DownloadSpecifier7", 0, true, sdo(kFromPeer, 0xFF, kU32, 0), SdoAbort::InvalidCommand},
        ViolationCase{"UploadGetsDownloadAck", 0, false, sdo(kFromPeer, 0x60, kU32, 0), SdoAbort::LocalControl},
        ViolationCase{"DownloadGetsUploadAnswer", 0, true, sdo(kFromPeer, 0x43, kU32, 0), SdoAbort::LocalControl},
        ViolationCase{"BlockDownloadGetsSegment", 1, true, sdo(kFromPeer, 0x20, kU32, 0), SdoAbort::LocalControl},
        ViolationCase{"BlockDownloadSubcommand3", 1, true, sdo(kFromPeer, 0xA3, kU32, 0), SdoAbort::LocalControl},
        ViolationCase{"BlockUploadSpecifier7", 1, false, sdo(kFromPeer, 0xE2, kU32, 0), SdoAbort::InvalidCommand},
        ViolationCase{"UploadSizePastLimit", 0, false, sdo(kFromPeer, 0x41, kU32, 0, kSdoMaxTransferSize + 1),
                      SdoAbort::OutOfMemory},
        ViolationCase{"BlockUploadSizePastLimit", 1, false,
                      sdo(kFromPeer, 0xC2, kU32, 0, kSdoMaxTransferSize + 1), SdoAbort::OutOfMemory}),
    [](const ::testing::TestParamInfo<ViolationCase> &info) { return info.param.name; });

// A late answer to an earlier request names that request's object: it must
// neither end nor advance this transfer, whose time-out keeps running.
class SdoClientAnswerForAnotherObject : public SdoClientViolation {};

TEST_P(SdoClientAnswerForAnotherObject, IsIgnoredAndTheTimeOutStillRuns)
{
    const ViolationCase &c = GetParam();
    ASSERT_EQ(startRoad(c), 0);
    feed(c.answer);
    EXPECT_TRUE(takeSent().empty());
    EXPECT_TRUE(completions.empty());
    EXPECT_TRUE(isSdoClientTransferRunning(&node, kPeerId));
    fireAlarms();
    EXPECT_EQ(takeSent(), Frames{sdo(kToPeer, 0x80, kU32, 0, SdoAbort::TimedOut)});
    expectOneCompletion(kSdoNoClientLine, SdoAbort::TimedOut);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, SdoClientAnswerForAnotherObject,
    ::testing::Values(
        ViolationCase{"ExpeditedUploadAnswer", 0, false, sdo(kFromPeer, 0x4F, kU8, 0, 0x5A), 0},
        ViolationCase{"SegmentedUploadAnswerOtherSub", 0, false, sdo(kFromPeer, 0x41, kU32, 1, 20), 0},
        ViolationCase{"DownloadAck", 0, true, sdo(kFromPeer, 0x60, kU8, 0), 0},
        ViolationCase{"UploadAnswerDuringDownload", 0, true, sdo(kFromPeer, 0x4F, kU8, 0, 0x5A), 0},
        ViolationCase{"DownloadAckDuringUpload", 0, false, sdo(kFromPeer, 0x60, kU8, 0), 0},
        ViolationCase{"BlockDownloadAnswer", 1, true, sdo(kFromPeer, 0xA0, kU8, 0, 16), 0},
        ViolationCase{"BlockUploadAnswer", 1, false, sdo(kFromPeer, 0xC2, kU8, 0, 4), 0},
        ViolationCase{"UploadAbort", 0, false, sdo(kFromPeer, 0x80, kU8, 0, SdoAbort::ReadOnly), 0},
        ViolationCase{"DownloadAbort", 0, true, sdo(kFromPeer, 0x80, kU8, 0, SdoAbort::ReadOnly), 0},
        ViolationCase{"BlockUploadAbort", 1, false, sdo(kFromPeer, 0x80, kU8, 0, SdoAbort::ReadOnly), 0}),
    [](const ::testing::TestParamInfo<ViolationCase> &info) { return info.param.name; });

TEST_F(SdoClientTest, AbortNamingNoObjectIsTaken)
{
    ASSERT_EQ(startRead(kU32, 0), 0);
    feed(sdo(kFromPeer, 0x80, 0, 0, SdoAbort::GeneralError));
    expectOneCompletion(SdoState::AbortedByPeer, SdoAbort::GeneralError);
}

TEST_F(SdoClientTest, TransferKeepsItsPeerWhenTheRowIsRepointed)
{
    ASSERT_EQ(startRead(kU32, 0), 0);
    takeSent();
    ASSERT_EQ(setSdoClientChannel(&node, 0, 0x33), 0u);
    EXPECT_EQ(readRemoteEntry(&node, 0x33, kU32, 0, 7, onRead, 0), -1) << "the channel is still busy";
    EXPECT_TRUE(isSdoClientTransferRunning(&node, kPeerId));
    fireAlarms();
    EXPECT_EQ(takeSent(), Frames{sdo(kToPeer, 0x80, kU32, 0, SdoAbort::TimedOut)}) << "to the old peer";
    expectOneCompletion(kSdoNoClientLine, SdoAbort::TimedOut);
    expectAllLinesFree();

    // The old peer's answer on its own COB-ID still ends its transfer.
    ASSERT_EQ(setSdoClientChannel(&node, 0, kPeerId), 0u);
    ASSERT_EQ(startRead(kU32, 0), 0);
    ASSERT_EQ(setSdoClientChannel(&node, 0, 0x33), 0u);
    completions.clear();
    feed(sdo(kFromPeer, 0x43, kU32, 0, 0x01020304));
    expectOneCompletion(SdoState::Finished, 0, {4, 3, 2, 1});
    expectAllLinesFree();

    // So does an abort of the channel's line.
    ASSERT_EQ(setSdoClientChannel(&node, 0, kPeerId), 0u);
    ASSERT_EQ(startRead(kU32, 0), 0);
    ASSERT_EQ(setSdoClientChannel(&node, 0, 0x33), 0u);
    takeSent();
    EXPECT_EQ(abortSdo(&node, 0, SdoRole::Client, kU32, 0, SdoAbort::GeneralError), 0);
    EXPECT_EQ(takeSent(), Frames{sdo(kToPeer, 0x80, kU32, 0, SdoAbort::GeneralError)});
}

TEST_F(SdoClientTest, UploadWithoutSizeStopsAtTheLimit)
{
    ASSERT_EQ(startRead(kDomains, 4), 0);
    feed(sdo(kFromPeer, 0x40, kDomains, 4)); // segmented, size not indicated
    const Bytes seven = pattern(7);
    uint8_t toggle = 0;
    const uint32_t fullSegments = kSdoMaxTransferSize / 7;
    for (uint32_t i = 0; i < fullSegments; ++i) {
        feed(seg(kFromPeer, static_cast<uint8_t>(toggle * 16), seven));
        toggle ^= 1;
    }
    takeSent();
    ASSERT_TRUE(completions.empty());
    EXPECT_EQ(line(0).offset, fullSegments * 7);
    feed(seg(kFromPeer, static_cast<uint8_t>(toggle * 16), seven));
    expectAbortedHere(kDomains, 4, SdoAbort::OutOfMemory);
}

TEST_F(SdoClientTest, SizeAtTheLimitIsAccepted)
{
    ASSERT_EQ(startRead(kDomains, 4), 0);
    takeSent();
    feed(sdo(kFromPeer, 0x41, kDomains, 4, kSdoMaxTransferSize));
    EXPECT_EQ(takeSent(), Frames{sdo(kToPeer, 0x60, kDomains, 4)});
    EXPECT_TRUE(completions.empty());
}

TEST_F(SdoClientTest, ShortFrameAbortsWithGeneralError)
{
    ASSERT_EQ(startRead(kU32, 0), 0);
    takeSent();
    feedShort(kFromPeer, {0x43, 0x01, 0x20, 0x00, 1, 2, 3});
    expectAbortedHere(0, 0, SdoAbort::GeneralError);
    // Without a transfer only the abort frame goes out.
    feedShort(kFromPeer, {});
    EXPECT_EQ(takeSent(), Frames{sdo(kToPeer, 0x80, 0, 0, SdoAbort::GeneralError)});
    EXPECT_EQ(completions.size(), 1u);
}

TEST_F(SdoClientTest, FramesWithoutATransfer)
{
    feed(sdo(kFromPeer, 0x43, kU32, 0, 5));
    EXPECT_EQ(takeSent(), Frames{sdo(kToPeer, 0x80, 0, 0, SdoAbort::LocalControl)});
    feed(sdo(kFromPeer, 0x80, kU32, 0, 0x08000000)); // a stray abort is dropped
    EXPECT_TRUE(takeSent().empty());
    feed(sdo(kFromPeer, 0xE0, kU32, 0));
    EXPECT_EQ(takeSent(), Frames{sdo(kToPeer, 0x80, 0, 0, SdoAbort::InvalidCommand)});
    feed(sdo(0x5A1, 0x43, kU32, 0, 5)); // nobody's COB-ID
    EXPECT_TRUE(takeSent().empty());
    EXPECT_TRUE(completions.empty());
}

TEST_F(SdoClientTest, FinishedLineIsNotDisturbedByLateFrames)
{
    ASSERT_EQ(readRemoteEntryPolled(&node, kPeerId, kU32, 0, 7, 0), 0);
    feed(sdo(kFromPeer, 0x43, kU32, 0, 0x01020304));
    feed(sdo(kFromPeer, 0x80, kU32, 0, 0x06020000));
    feedShort(kFromPeer, {1});
    takeSent();
    Bytes buffer(4);
    uint32_t size = 4;
    uint32_t abortCode = 0;
    EXPECT_EQ(getReadResult(&node, kPeerId, buffer.data(), &size, &abortCode), SdoState::Finished);
    EXPECT_EQ(buffer, (Bytes{4, 3, 2, 1}));
}

TEST_F(SdoClientTest, AbortSdoMarksTheClientLineWithoutCallback)
{
    ASSERT_EQ(startRead(kU32, 0), 0);
    takeSent();
    EXPECT_EQ(abortSdo(&node, 0, SdoRole::Client, kU32, 0, 0x08000020), 0);
    EXPECT_EQ(takeSent(), Frames{sdo(kToPeer, 0x80, kU32, 0, 0x08000020)});
    EXPECT_TRUE(completions.empty());
    EXPECT_EQ(line(0).state, SdoState::AbortedLocally);
    EXPECT_EQ(line(0).alarmId, kNoAlarm);
    uint32_t abortCode = 0;
    EXPECT_EQ(getWriteResult(&node, kPeerId, &abortCode), kSdoNoClientLine);
    EXPECT_EQ(abortCode, 0x08000020u);
    // A locally aborted line does not block the node, and closing frees it.
    EXPECT_EQ(startRead(kU8, 0), 0);
    EXPECT_EQ(closeSdoTransferUnlessAborted(&node, kPeerId), 0u);
    EXPECT_EQ(closeSdoTransfer(&node, kPeerId, SdoRole::Client), 0u);
    expectAllLinesFree();
}

TEST_F(SdoClientTest, InitiateAnswerAfterSegmentsIsRefused)
{
    // Taken as the value, the four bytes would be handed out as the first
    // segment's bytes with a success.
    ASSERT_EQ(startRead(kDomains, 4), 0);
    feed(sdo(kFromPeer, 0x41, kDomains, 4, 20));
    feed(seg(kFromPeer, 0x00, pattern(7)));
    takeSent();
    feed(sdo(kFromPeer, 0x43, kDomains, 4, 0x01020304));
    expectAbortedHere(kDomains, 4, SdoAbort::LocalControl);
}

TEST_F(SdoClientTest, SingleLineOperations)
{
    EXPECT_EQ(findFreeSdoLine(&node), 0);
    ASSERT_EQ(startWrite(kDomains, 4, pattern(20)), 0);
    takeSent();
    EXPECT_EQ(findFreeSdoLine(&node), 1);
    EXPECT_EQ(findSdoLine(&node, 0, SdoRole::Client), 0);
    EXPECT_EQ(findSdoLine(&node, 0, SdoRole::Server), kSdoNoLine);
    EXPECT_EQ(findSdoLine(&node, 1, SdoRole::Client), kSdoNoLine);
    EXPECT_EQ(getSdoRemainingBytes(&node, 0), 20u);
    feed(sdo(kFromPeer, 0x60, kDomains, 4));
    EXPECT_EQ(takeSent().size(), 1u);
    EXPECT_EQ(getSdoRemainingBytes(&node, 0), 13u);
    EXPECT_EQ(getSdoRemainingBytes(&node, kSdoLineCount), 0u);
    setSdoCount(&node, kSdoNoLine, 5); // no such line: nothing happens

    // A count below what already went out: never read past it, abort instead.
    setSdoCount(&node, 0, 3);
    EXPECT_EQ(getSdoRemainingBytes(&node, 0), 0u);
    feed(seg(kFromPeer, 0x20));
    EXPECT_EQ(takeSent(), Frames{sdo(kToPeer, 0x80, kDomains, 4, SdoAbort::GeneralError)});
    expectOneCompletion(kSdoNoClientLine, SdoAbort::GeneralError);

    // A locally aborted line is neither found nor free.
    ASSERT_EQ(readRemoteEntryPolled(&node, kPeerId, kU32, 0, OdType::Unsigned32, 0), 0);
    takeSent();
    EXPECT_EQ(abortSdo(&node, 0, SdoRole::Client, kU32, 0, SdoAbort::GeneralError), 0);
    takeSent();
    EXPECT_EQ(findSdoLine(&node, 0, SdoRole::Client), kSdoNoLine);
    EXPECT_EQ(findFreeSdoLine(&node), 1);
    resetSdo(&node);
}

TEST_F(SdoClientTest, SendFrameOnlyOnAConfiguredChannelWhileActive)
{
    const uint8_t bytes[8] = {0x11, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(sendSdoFrame(&node, 0, SdoRole::Client, bytes), 0);
    EXPECT_EQ(sendSdoFrame(&node, 0, SdoRole::Server, bytes), 0);
    EXPECT_EQ(takeSent(),
              (Frames{seg(kToPeer, 0x11, {2, 3, 4, 5, 6, 7, 8}), seg(kFromUs, 0x11, {2, 3, 4, 5, 6, 7, 8})}));
    EXPECT_NE(sendSdoFrame(&node, 1, SdoRole::Client, bytes), 0); // spare row: COB-ID 0 is NMT's
    EXPECT_NE(sendSdoFrame(&node, 2, SdoRole::Client, bytes), 0); // no such row
    EXPECT_NE(sendSdoFrame(&node, 1, SdoRole::Server, bytes), 0);
    node.nmtState = NmtState::Stopped;
    EXPECT_NE(sendSdoFrame(&node, 0, SdoRole::Client, bytes), 0);
    node.nmtState = NmtState::Operational;
    EXPECT_EQ(sendSdoFrame(&node, 0, SdoRole::Client, bytes), 0);
    EXPECT_EQ(takeSent().size(), 1u);
}

TEST_F(SdoClientTest, ResetFreesEveryLine)
{
    ASSERT_EQ(startWrite(kDomains, 4, pattern(889)), 0);
    resetSdo(&node);
    expectAllLinesFree();
    EXPECT_EQ(highestAlarm, -1);
}

} // namespace
} // namespace sdotest
