// The SDO server of a node with an SDO server row, frame by frame: uploads
// and downloads of every kind into the test dictionary, the dictionary's
// refusals as abort codes, and the client mistakes it must refuse.
#include "sdo_fixture.h"

#include "canopen/abort_codes.h"
#include "canopen/dispatch.h"
#include "canopen/sdo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace sdotest {
namespace {

class SdoServerTest : public SdoTest {
protected:
    void expectAllLinesFree()
    {
        for (const SdoTransferLine &l : node.sdoLines)
            EXPECT_EQ(l.state, SdoState::Free);
    }

    Bytes stored(uint8_t sub, uint32_t n) { return Bytes(entryBytes(kDomains, sub), entryBytes(kDomains, sub) + n); }
};

// --- uploads ------------------------------------------------------------------

TEST_F(SdoServerTest, ExpeditedUploads)
{
    feed(sdo(kToUs, 0x40, kU32ReadOnly, 0));
    *entryBytes(kU8, 0) = 0x5A;
    feed(sdo(kToUs, 0x40, kU8, 0));
    std::strcpy(reinterpret_cast<char *>(entryBytes(kText, 0)), "abc");
    feed(sdo(kToUs, 0x40, kText, 0));
    EXPECT_EQ(takeSent(), (Frames{sdo(kFromUs, 0x43, kU32ReadOnly, 0, 0x12345678), sdo(kFromUs, 0x4F, kU8, 0, 0x5A),
                                  sdo(kFromUs, 0x47, kText, 0, 0x636261)}));
    expectAllLinesFree();
}

class SdoServerSizes : public SdoServerTest, public ::testing::WithParamInterface<int> {};

TEST_P(SdoServerSizes, SegmentedUploadOfEachSize)
{
    const uint8_t sub = static_cast<uint8_t>(GetParam());
    const uint32_t n = kDomainSizes[sub];
    if (n >= 1 && n <= 4)
        GTEST_SKIP() << "answered expedited";
    const Bytes data = pattern(n, 0x21);
    std::copy(data.begin(), data.end(), entryBytes(kDomains, sub));
    feed(sdo(kToUs, 0x40, kDomains, sub));
    ASSERT_EQ(takeSent(), Frames{sdo(kFromUs, 0x41, kDomains, sub, n)});
    const Frames segments = segmentsOf(kFromUs, data);
    for (const Frame &request : toggled(kToUs, 0x60, segments.size()))
        feed(request);
    EXPECT_EQ(takeSent(), segments);
    expectAllLinesFree();
}

TEST_P(SdoServerSizes, SegmentedDownloadOfEachSize)
{
    const uint8_t sub = static_cast<uint8_t>(GetParam());
    const uint32_t n = kDomainSizes[sub];
    const Bytes data = pattern(n, 0x61);
    feed(sdo(kToUs, 0x21, kDomains, sub, n));
    ASSERT_EQ(takeSent(), Frames{sdo(kFromUs, 0x60, kDomains, sub)});
    const Frames segments = segmentsOf(kToUs, data);
    for (size_t i = 0; i + 1 < segments.size(); ++i)
        feed(segments[i]);
    EXPECT_EQ(stored(sub, n), Bytes(n, 0)) << "stored before the transfer was complete";
    feed(segments.back());
    EXPECT_EQ(takeSent(), toggled(kFromUs, 0x20, segments.size()));
    EXPECT_EQ(stored(sub, n), data);
    expectAllLinesFree();
}

TEST_P(SdoServerSizes, BlockDownloadOfEachSize)
{
    const uint8_t sub = static_cast<uint8_t>(GetParam());
    const uint32_t n = kDomainSizes[sub];
    const Bytes data = pattern(n, 0x71);
    feed(sdo(kToUs, 0xC2, kDomains, sub, n));
    ASSERT_EQ(takeSent(), Frames{sdo(kFromUs, 0xA0, kDomains, sub, 16)});
    size_t offset = 0;
    do {
        const Frames block = blockOf(kToUs, data, offset, 16);
        for (const Frame &segment : block)
            feed(segment);
        ASSERT_EQ(takeSent(), Frames{seg(kFromUs, 0xA2, {static_cast<uint8_t>(block.size()), 16})});
        offset += block.size() * 7;
    } while (offset < n);
    EXPECT_EQ(stored(sub, n), Bytes(n, 0)) << "stored before the end frame";
    feed(seg(kToUs, blockEnd(n)));
    EXPECT_EQ(takeSent(), Frames{seg(kFromUs, 0xA1)});
    EXPECT_EQ(stored(sub, n), data);
    expectAllLinesFree();
}

TEST_P(SdoServerSizes, BlockUploadOfEachSize)
{
    const uint8_t sub = static_cast<uint8_t>(GetParam());
    const uint32_t n = kDomainSizes[sub];
    const Bytes data = pattern(n, 0x11);
    std::copy(data.begin(), data.end(), entryBytes(kDomains, sub));
    feed(sdo(kToUs, 0xA0, kDomains, sub, 5)); // blocks of 5 segments
    ASSERT_EQ(takeSent(), Frames{sdo(kFromUs, 0xC2, kDomains, sub, n)});
    feed(seg(kToUs, 0xA3));
    size_t offset = 0;
    do {
        const Frames block = blockOf(kFromUs, data, offset, 5);
        ASSERT_EQ(takeSent(), block);
        feed(seg(kToUs, 0xA2, {static_cast<uint8_t>(block.size()), 5}));
        offset += block.size() * 7;
    } while (offset < n);
    EXPECT_EQ(takeSent(), Frames{seg(kFromUs, blockEnd(n))});
    feed(seg(kToUs, 0xA1));
    EXPECT_TRUE(takeSent().empty());
    expectAllLinesFree();
}

INSTANTIATE_TEST_SUITE_P(Domains, SdoServerSizes, ::testing::Values(0, 1, 2, 3, 4));

TEST_F(SdoServerTest, ExpeditedDownloads)
{
    feed(sdo(kToUs, 0x2F, kU8, 0, 0x42));
    feed(sdo(kToUs, 0x23, kU32, 0, 0xCAFEBABE));
    feed(sdo(kToUs, 0x33, kDomains, 0)); // empty: not four bytes
    EXPECT_EQ(takeSent(),
              (Frames{sdo(kFromUs, 0x60, kU8, 0), sdo(kFromUs, 0x60, kU32, 0), sdo(kFromUs, 0x60, kDomains, 0)}));
    EXPECT_EQ(*entryBytes(kU8, 0), 0x42);
    uint32_t value = 0;
    std::memcpy(&value, entryBytes(kU32, 0), 4);
    EXPECT_EQ(value, 0xCAFEBABEu);
    expectAllLinesFree();
}

TEST_F(SdoServerTest, BlockUploadResendsFromTheAcknowledgedSegment)
{
    const Bytes data = pattern(889, 3);
    std::memcpy(entryBytes(kDomains, 4), data.data(), data.size());
    feed(sdo(kToUs, 0xA0, kDomains, 4, 4));
    feed(seg(kToUs, 0xA3));
    EXPECT_EQ(takeSent().size(), 5u); // the answer and 4 segments
    feed(seg(kToUs, 0xA2, {1, 3}));
    EXPECT_EQ(takeSent(), (Frames{seg(kFromUs, 1, Bytes(data.begin() + 7, data.begin() + 14)),
                                  seg(kFromUs, 2, Bytes(data.begin() + 14, data.begin() + 21)),
                                  seg(kFromUs, 3, Bytes(data.begin() + 21, data.begin() + 28))}));
}

TEST_F(SdoServerTest, ReachedThroughDispatchWhileSdoIsOn)
{
    CanMessage frame{kToUs, 0, 8, {0x40, 0x02, 0x20, 0x00, 0, 0, 0, 0}};
    dispatchCanMessage(&node, &frame);
    EXPECT_EQ(takeSent(), Frames{sdo(kFromUs, 0x43, kU32ReadOnly, 0, 0x12345678)});
    node.commSwitches.sdo = 0;
    dispatchCanMessage(&node, &frame);
    EXPECT_TRUE(takeSent().empty());
}

// --- refusals -------------------------------------------------------------------

struct RefusalCase {
    const char *name;
    Frame request;
    Frame answer;
};

class SdoServerRefusal : public SdoServerTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(SdoServerRefusal, AnswersWithTheAbortCode)
{
    feed(GetParam().request);
    EXPECT_EQ(takeSent(), Frames{GetParam().answer});
    expectAllLinesFree();
}

INSTANTIATE_TEST_SUITE_P(
    Dictionary, SdoServerRefusal,
    ::testing::Values(
        RefusalCase{"NoSuchObject", sdo(kToUs, 0x40, 0x3000, 0), sdo(kFromUs, 0x80, 0x3000, 0, 0x06020000)},
        RefusalCase{"NoSuchSubIndex", sdo(kToUs, 0x40, kU32, 9), sdo(kFromUs, 0x80, kU32, 9, 0x06090011)},
        RefusalCase{"ReadWriteOnly", sdo(kToUs, 0x40, kU32WriteOnly, 0),
                    sdo(kFromUs, 0x80, kU32WriteOnly, 0, 0x06010001)},
        RefusalCase{"WriteReadOnly", sdo(kToUs, 0x23, kU32ReadOnly, 0, 1),
                    sdo(kFromUs, 0x80, kU32ReadOnly, 0, 0x06010002)},
        RefusalCase{"WrongLength", sdo(kToUs, 0x2B, kU32, 0, 1), sdo(kFromUs, 0x80, kU32, 0, 0x06070010)},
        RefusalCase{"ValueRange", sdo(kToUs, 0x2F, kDomains, kRangeSub, 0),
                    sdo(kFromUs, 0x80, kDomains, kRangeSub, 0x06090030)},
        RefusalCase{"TooBigToServe", sdo(kToUs, 0x40, kDomains, kHugeSub),
                    sdo(kFromUs, 0x80, kDomains, kHugeSub, 0x05040005)},
        RefusalCase{"BlockTooBigToServe", sdo(kToUs, 0xA0, kDomains, kHugeSub, 16),
                    sdo(kFromUs, 0x80, kDomains, kHugeSub, 0x05040005)},
        RefusalCase{"BlockSize128", sdo(kToUs, 0xA0, kU32, 0, 128), sdo(kFromUs, 0x80, kU32, 0, 0x05040002)},
        RefusalCase{"AnnouncedPastTheLimit", sdo(kToUs, 0x21, kDomains, 4, kSdoMaxTransferSize + 1),
                    sdo(kFromUs, 0x80, kDomains, 4, 0x05040005)},
        RefusalCase{"BlockAnnouncedPastTheLimit", sdo(kToUs, 0xC2, kDomains, 4, kSdoMaxTransferSize + 1),
                    sdo(kFromUs, 0x80, kDomains, 4, 0x05040005)},
        RefusalCase{"SegmentWithoutTransfer", seg(kToUs, 0x00, pattern(7)), sdo(kFromUs, 0x80, 0, 0, 0x08000021)},
        RefusalCase{"SegmentRequestWithoutTransfer", seg(kToUs, 0x60), sdo(kFromUs, 0x80, 0, 0, 0x08000021)},
        RefusalCase{"BlockEndWithoutTransfer", seg(kToUs, 0xC1), sdo(kFromUs, 0x80, 0, 0, 0x08000021)},
        RefusalCase{"BlockStartWithoutTransfer", seg(kToUs, 0xA3), sdo(kFromUs, 0x80, 0, 0, 0x08000021)},
        RefusalCase{"Specifier7", sdo(kToUs, 0xE0, kU32, 0), sdo(kFromUs, 0x80, 0, 0, 0x05040001)}),
    [](const ::testing::TestParamInfo<RefusalCase> &info) { return info.param.name; });

TEST_F(SdoServerTest, StrayAbortIsDropped)
{
    feed(sdo(kToUs, 0x80, kU32, 0, 0x05040000));
    EXPECT_TRUE(takeSent().empty());
}

TEST_F(SdoServerTest, ShortRequestIsAnsweredWithGeneralError)
{
    feed(sdo(kToUs, 0x21, kDomains, 4, 889));
    takeSent();
    feedShort(kToUs, {0x00, 1, 2});
    EXPECT_EQ(takeSent(), Frames{sdo(kFromUs, 0x80, 0, 0, SdoAbort::GeneralError)});
    expectAllLinesFree();
}

TEST_F(SdoServerTest, WrongToggleEndsTheTransfer)
{
    feed(sdo(kToUs, 0x21, kDomains, 4, 889));
    feed(seg(kToUs, 0x00, pattern(7)));
    takeSent();
    feed(seg(kToUs, 0x00, pattern(7)));
    EXPECT_EQ(takeSent(), Frames{sdo(kFromUs, 0x80, kDomains, 4, SdoAbort::ToggleNotAlternated)});
    expectAllLinesFree();

    feed(sdo(kToUs, 0x40, kDomains, 4));
    takeSent();
    feed(seg(kToUs, 0x70));
    EXPECT_EQ(takeSent(), Frames{sdo(kFromUs, 0x80, kDomains, 4, SdoAbort::ToggleNotAlternated)});
    expectAllLinesFree();
}

TEST_F(SdoServerTest, NewInitiateOnABusyChannelIsRefused)
{
    feed(sdo(kToUs, 0x21, kDomains, 4, 889));
    takeSent();
    feed(sdo(kToUs, 0x40, kU32, 0));
    EXPECT_EQ(takeSent(), Frames{sdo(kFromUs, 0x80, kDomains, 4, SdoAbort::LocalControl)});
    expectAllLinesFree();
}

TEST_F(SdoServerTest, NoFreeLineIsRefused)
{
    for (SdoTransferLine &l : node.sdoLines) {
        l.state = SdoState::Finished;
        l.role = SdoRole::Client;
        l.channel = 7;
    }
    feed(sdo(kToUs, 0x40, kU32, 0));
    EXPECT_EQ(takeSent(), Frames{sdo(kFromUs, 0x80, kU32, 0, SdoAbort::LocalControl)});
    for (SdoTransferLine &l : node.sdoLines)
        l = SdoTransferLine();
}

TEST_F(SdoServerTest, FailedStoreIsNotConfirmed)
{
    // 8 bytes for the 889-byte entry: the dictionary refuses the length, and
    // the client must hear that instead of a confirmation.
    feed(sdo(kToUs, 0x21, kDomains, 4, 8));
    feed(seg(kToUs, 0x00, pattern(7)));
    takeSent();
    feed(seg(kToUs, 0x1D, pattern(1)));
    EXPECT_EQ(takeSent(), Frames{sdo(kFromUs, 0x80, kDomains, 4, SdoAbort::LengthMismatch)});
    expectAllLinesFree();

    feed(sdo(kToUs, 0xC2, kDomains, 4, 3));
    feed(seg(kToUs, 0x81, pattern(3)));
    takeSent();
    feed(seg(kToUs, 0xC1 + 4 * 4));
    EXPECT_EQ(takeSent(), Frames{sdo(kFromUs, 0x80, kDomains, 4, SdoAbort::LengthMismatch)});
    expectAllLinesFree();
}

TEST_F(SdoServerTest, DownloadShortOfTheAnnouncedSizeIsRefused)
{
    feed(sdo(kToUs, 0x21, kDomains, 3, 8));
    takeSent();
    feed(seg(kToUs, 0x03, pattern(6)));
    EXPECT_EQ(takeSent(), Frames{sdo(kFromUs, 0x80, kDomains, 3, SdoAbort::LocalControl)});
    EXPECT_EQ(stored(3, 8), Bytes(8, 0));

    feed(sdo(kToUs, 0xC2, kDomains, 3, 8));
    feed(seg(kToUs, 0x81, pattern(7)));
    takeSent();
    feed(seg(kToUs, 0xC1));
    EXPECT_EQ(takeSent(), Frames{sdo(kFromUs, 0x80, kDomains, 3, SdoAbort::LocalControl)});
    expectAllLinesFree();
}

TEST_F(SdoServerTest, ClientAbortFreesTheLine)
{
    feed(sdo(kToUs, 0xC2, kDomains, 4, 889));
    feed(seg(kToUs, 1, pattern(7)));
    feed(sdo(kToUs, 0x80, kDomains, 4, 0x05040000));
    EXPECT_EQ(takeSent().size(), 1u); // only the initiate answer
    expectAllLinesFree();
}

TEST_F(SdoServerTest, BlockUploadStartOnlyOnce)
{
    feed(sdo(kToUs, 0xA0, kDomains, 4, 16));
    feed(seg(kToUs, 0xA3));
    takeSent();
    feed(seg(kToUs, 0xA3));
    EXPECT_EQ(takeSent(), Frames{sdo(kFromUs, 0x80, kDomains, 4, SdoAbort::LocalControl)});
    expectAllLinesFree();
}

} // namespace
} // namespace sdotest
