// Block transfers of the SDO client frame by frame: downloads (segments
// queued per block, resending from an acknowledgement, the end frame) and
// uploads (acknowledgements, out-of-order segments, the end frame), with the
// block sizes, sequence numbers and sizes a peer can get wrong.
#include "sdo_fixture.h"

#include "canopen/abort_codes.h"
#include "canopen/sdo.h"

#include <gtest/gtest.h>

namespace sdotest {
namespace {

class SdoBlockTest : public SdoTest {
protected:
    // Plays a server taking a block download of data in blocks of blockSize segments.
    void serveBlockDownload(uint16_t index, uint8_t sub, const Bytes &data, uint8_t blockSize)
    {
        ASSERT_EQ(takeSent(), Frames{sdo(kToPeer, 0xC2, index, sub, static_cast<uint32_t>(data.size()))});
        feed(sdo(kFromPeer, 0xA0, index, sub, blockSize));
        size_t offset = 0;
        do {
            const Frames block = blockOf(kToPeer, data, offset, blockSize);
            ASSERT_EQ(takeSent(), block) << "at offset " << offset;
            feed(seg(kFromPeer, 0xA2, {static_cast<uint8_t>(block.size()), blockSize}));
            offset += block.size() * 7;
        } while (offset < data.size());
        EXPECT_EQ(takeSent(), Frames{seg(kToPeer, blockEnd(data.size()))});
        feed(seg(kFromPeer, 0xA1));
        EXPECT_TRUE(takeSent().empty());
    }

    // Plays a server sending data by block upload in blocks of 16 segments.
    void serveBlockUpload(uint16_t index, uint8_t sub, const Bytes &data)
    {
        ASSERT_EQ(takeSent(), Frames{sdo(kToPeer, 0xA0, index, sub, 16)});
        feed(sdo(kFromPeer, 0xC2, index, sub, static_cast<uint32_t>(data.size())));
        ASSERT_EQ(takeSent(), Frames{seg(kToPeer, 0xA3)});
        size_t offset = 0;
        do {
            const Frames block = blockOf(kFromPeer, data, offset, 16);
            for (const Frame &segment : block)
                feed(segment);
            ASSERT_EQ(takeSent(), Frames{seg(kToPeer, 0xA2, {static_cast<uint8_t>(block.size()), 16})})
                << "at offset " << offset;
            offset += block.size() * 7;
        } while (offset < data.size());
        feed(seg(kFromPeer, blockEnd(data.size())));
        EXPECT_EQ(takeSent(), Frames{seg(kToPeer, 0xA1)});
    }

    void expectCompletion(uint32_t result, uint32_t abortCode, const Bytes &data = {})
    {
        ASSERT_EQ(completions.size(), 1u);
        EXPECT_EQ(completions[0].result, result);
        EXPECT_EQ(completions[0].abortCode, abortCode);
        EXPECT_EQ(completions[0].data, data);
    }

    void expectAbort(uint16_t index, uint8_t sub, uint32_t code)
    {
        EXPECT_EQ(takeSent(), Frames{sdo(kToPeer, 0x80, index, sub, code)});
        expectCompletion(kSdoNoClientLine, code);
    }
};

class SdoBlockSizes : public SdoBlockTest, public ::testing::WithParamInterface<uint32_t> {};

TEST_P(SdoBlockSizes, DownloadInBlocksOfSixteen)
{
    const Bytes data = pattern(GetParam(), 0x55);
    ASSERT_EQ(startWrite(kDomains, 4, data, 1), 0);
    serveBlockDownload(kDomains, 4, data, 16);
    expectCompletion(SdoState::Finished, 0);
}

TEST_P(SdoBlockSizes, DownloadInBlocksOfOne)
{
    const Bytes data = pattern(GetParam(), 0x56);
    ASSERT_EQ(startWrite(kDomains, 4, data, 1), 0);
    serveBlockDownload(kDomains, 4, data, 1);
    expectCompletion(SdoState::Finished, 0);
}

TEST_P(SdoBlockSizes, UploadInBlocksOfSixteen)
{
    const Bytes data = pattern(GetParam(), 0x57);
    ASSERT_EQ(startRead(kDomains, 4, 1), 0);
    serveBlockUpload(kDomains, 4, data);
    expectCompletion(SdoState::Finished, 0, data);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SdoBlockSizes, ::testing::Values(0u, 1u, 7u, 8u, 112u, 113u, 889u));

TEST_F(SdoBlockTest, DownloadResendsFromTheAcknowledgedSegment)
{
    const Bytes data = pattern(40);
    ASSERT_EQ(startWrite(kDomains, 4, data, 1), 0);
    takeSent();
    feed(sdo(kFromPeer, 0xA0, kDomains, 4, 4));
    EXPECT_EQ(takeSent().size(), 4u);
    feed(seg(kFromPeer, 0xA2, {2, 4})); // segments 3 and 4 were lost
    auto slice = [&](size_t from, size_t n) { return Bytes(data.begin() + from, data.begin() + from + n); };
    EXPECT_EQ(takeSent(), (Frames{seg(kToPeer, 1, slice(14, 7)), seg(kToPeer, 2, slice(21, 7)),
                                  seg(kToPeer, 3, slice(28, 7)), seg(kToPeer, 0x84, slice(35, 5))}));
    feed(seg(kFromPeer, 0xA2, {4, 4}));
    EXPECT_EQ(takeSent(), Frames{seg(kToPeer, 0xC9)}); // 2 empty bytes in the last segment
    feed(seg(kFromPeer, 0xA1));
    expectCompletion(SdoState::Finished, 0);
}

// A block download the peer answers wrongly: the block size it asks for in
// its initiate answer, then the frame it sends, and the abort that follows.
struct BlockDownloadFault {
    const char *name;
    uint8_t blockSize;
    Bytes answer; // empty: the initiate answer itself is the fault
    uint32_t code;
};

class SdoBlockDownloadFault : public SdoBlockTest, public ::testing::WithParamInterface<BlockDownloadFault> {};

TEST_P(SdoBlockDownloadFault, Aborts)
{
    const BlockDownloadFault &c = GetParam();
    ASSERT_EQ(startWrite(kDomains, 4, pattern(100), 1), 0);
    takeSent();
    feed(sdo(kFromPeer, 0xA0, kDomains, 4, c.blockSize));
    if (!c.answer.empty()) {
        takeSent();
        feed(seg(kFromPeer, c.answer[0], Bytes(c.answer.begin() + 1, c.answer.end())));
    }
    expectAbort(kDomains, 4, c.code);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, SdoBlockDownloadFault,
    ::testing::Values(BlockDownloadFault{"InitiateBlockSize200", 200, {}, SdoAbort::InvalidBlockSize},
                      BlockDownloadFault{"AckBlockSize128", 2, {0xA2, 2, 128}, SdoAbort::InvalidBlockSize},
                      BlockDownloadFault{"AckOfSegmentsNeverSent", 4, {0xA2, 6, 4}, SdoAbort::LocalControl},
                      BlockDownloadFault{"EarlyEndConfirmation", 4, {0xA1}, SdoAbort::LocalControl}),
    [](const ::testing::TestParamInfo<BlockDownloadFault> &info) { return info.param.name; });

TEST_F(SdoBlockTest, DownloadAbortedByThePeer)
{
    ASSERT_EQ(startWrite(kDomains, 4, pattern(100), 1), 0);
    feed(sdo(kFromPeer, 0x80, kDomains, 4, 0x06010002));
    expectCompletion(SdoState::AbortedByPeer, 0x06010002);
}

TEST_F(SdoBlockTest, UploadAcknowledgesFromTheGapAfterOutOfOrderSegments)
{
    const Bytes data = pattern(30);
    auto slice = [&](size_t from, size_t n) { return Bytes(data.begin() + from, data.begin() + from + n); };
    ASSERT_EQ(startRead(kDomains, 4, 1), 0);
    feed(sdo(kFromPeer, 0xC6, kDomains, 4, 30)); // size indicated, CRC offered
    EXPECT_EQ(line(0).crcEnabled, 1);
    takeSent();
    feed(seg(kFromPeer, 1, slice(0, 7)));
    feed(seg(kFromPeer, 3, slice(14, 7))); // segment 2 lost: dropped
    EXPECT_TRUE(takeSent().empty());
    feed(seg(kFromPeer, 0x85, slice(28, 2))); // out of order, but it ends the block
    EXPECT_EQ(takeSent(), Frames{seg(kToPeer, 0xA2, {1, 16})});
    feed(seg(kFromPeer, 1, slice(7, 7)));
    feed(seg(kFromPeer, 2, slice(14, 7)));
    feed(seg(kFromPeer, 3, slice(21, 7)));
    feed(seg(kFromPeer, 0x84, slice(28, 2)));
    EXPECT_EQ(takeSent(), Frames{seg(kToPeer, 0xA2, {4, 16})});
    feed(seg(kFromPeer, 0xC1 + 5 * 4));
    EXPECT_EQ(takeSent(), Frames{seg(kToPeer, 0xA1)});
    expectCompletion(SdoState::Finished, 0, data);
}

struct BlockUploadFault {
    const char *name;
    uint32_t announced;
    Frames segments; // after the start
    Frame finalFrame;
    uint32_t code;
};

class SdoBlockUploadFault : public SdoBlockTest, public ::testing::WithParamInterface<BlockUploadFault> {};

TEST_P(SdoBlockUploadFault, Aborts)
{
    const BlockUploadFault &c = GetParam();
    ASSERT_EQ(startRead(kDomains, 4, 1), 0);
    feed(sdo(kFromPeer, 0xC2, kDomains, 4, c.announced));
    for (const Frame &frame : c.segments)
        feed(frame);
    takeSent();
    feed(c.finalFrame);
    expectAbort(kDomains, 4, c.code);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SdoBlockUploadFault,
    ::testing::Values(
        // 7 + 3 bytes arrive where 20 were announced
        BlockUploadFault{"SizeMismatchAtTheEnd", 20, {seg(kFromPeer, 1, pattern(7)), seg(kFromPeer, 0x82, pattern(3))},
                         seg(kFromPeer, 0xC1 + 4 * 4), SdoAbort::LocalControl},
        // a segment where the end frame belongs
        BlockUploadFault{"NoEndFrameAfterTheLastSegment", 10,
                         {seg(kFromPeer, 1, pattern(7)), seg(kFromPeer, 0x82, pattern(3))}, seg(kFromPeer, 0x83),
                         SdoAbort::LocalControl},
        BlockUploadFault{"SegmentPastTheAnnouncedSize", 10, {seg(kFromPeer, 1, pattern(7))},
                         seg(kFromPeer, 2, pattern(7)), SdoAbort::LocalControl},
        BlockUploadFault{"Specifier7", 10, {}, seg(kFromPeer, 0xE5), SdoAbort::InvalidCommand}),
    [](const ::testing::TestParamInfo<BlockUploadFault> &info) { return info.param.name; });

TEST_F(SdoBlockTest, UploadTellsAnAbortFromALastSegment)
{
    ASSERT_EQ(startRead(kDomains, 4, 1), 0);
    feed(sdo(kFromPeer, 0xC2, kDomains, 4, 3));
    takeSent();
    feed(seg(kFromPeer, 0x81, pattern(3))); // byte 0 0x81: last segment 1, not an abort
    EXPECT_EQ(takeSent(), Frames{seg(kToPeer, 0xA2, {1, 16})});
    feed(sdo(kFromPeer, 0x80, kDomains, 4, 0x08000020));
    expectCompletion(SdoState::AbortedByPeer, 0x08000020);
}

} // namespace
} // namespace sdotest
