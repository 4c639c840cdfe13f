// The virtual node's SDO server, frame by frame over the pty: it stands in for real
// devices in every end-to-end test, so each protocol road and abort code is pinned here.
#include "sdo_abort_codes.h"
#include "virtual_device_fixture.h"

#include <numeric>

namespace veqtest {
namespace {

using SdoServerTest = VirtualDeviceTest;

std::vector<uint8_t> counting(size_t size)
{
    std::vector<uint8_t> bytes(size);
    std::iota(bytes.begin(), bytes.end(), uint8_t(1));
    return bytes;
}

CanFrame abortAnswer(uint16_t index, uint8_t sub, uint32_t code)
{
    return CanFrame(0x585, {0x80, uint8_t(index), uint8_t(index >> 8), sub, uint8_t(code),
                            uint8_t(code >> 8), uint8_t(code >> 16), uint8_t(code >> 24)});
}

TEST_F(SdoServerTest, ExpeditedUploadsSayHowManyBytesTheyCarry)
{
    openChannel();
    node->setU8(0x2001, 0, 0xAB);
    node->setU16(0x2002, 0, 0xBEEF);
    EXPECT_EQ(exchange({0x40, 0x00, 0x10, 0x00, 0, 0, 0, 0}),
              answer({0x43, 0x00, 0x10, 0x00, 0x91, 0x01, 0x00, 0x00}));
    EXPECT_EQ(exchange({0x40, 0x01, 0x20, 0x00, 0, 0, 0, 0}),
              answer({0x4F, 0x01, 0x20, 0x00, 0xAB, 0, 0, 0}));
    EXPECT_EQ(exchange({0x40, 0x02, 0x20, 0x00, 0, 0, 0, 0}),
              answer({0x4B, 0x02, 0x20, 0x00, 0xEF, 0xBE, 0, 0}));
}

TEST_F(SdoServerTest, SegmentedUploadAlternatesToggleAndMarksTheLastSegment)
{
    openChannel();
    const std::vector<uint8_t> name = counting(20);
    node->setDomain(0x2100, 0, name);
    EXPECT_EQ(exchange({0x40, 0x00, 0x21, 0x00, 0, 0, 0, 0}),
              answer({0x41, 0x00, 0x21, 0x00, 20, 0, 0, 0}));
    EXPECT_EQ(exchange({0x60, 0, 0, 0, 0, 0, 0, 0}), answer({0x00, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(exchange({0x70, 0, 0, 0, 0, 0, 0, 0}), answer({0x10, 8, 9, 10, 11, 12, 13, 14}));
    // 6 bytes left: one unused byte (n = 1) and the last bit.
    EXPECT_EQ(exchange({0x60, 0, 0, 0, 0, 0, 0, 0}), answer({0x03, 15, 16, 17, 18, 19, 20, 0}));
    EXPECT_EQ(node->transfersCompleted(), 1);
}

TEST_F(SdoServerTest, EmptyEntryIsASegmentedUploadOfZeroBytes)
{
    openChannel();
    node->setDomain(0x1021, 0, {});
    EXPECT_EQ(exchange({0x40, 0x21, 0x10, 0x00, 0, 0, 0, 0}),
              answer({0x41, 0x21, 0x10, 0x00, 0, 0, 0, 0}));
    EXPECT_EQ(exchange({0x60, 0, 0, 0, 0, 0, 0, 0}), answer({0x0F, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(SdoServerTest, LongUploadArrivesWholeAndInOrder)
{
    openChannel();
    const std::vector<uint8_t> data = counting(889);
    node->setDomain(0x1021, 0, data);
    ASSERT_EQ(exchange({0x40, 0x21, 0x10, 0x00, 0, 0, 0, 0}),
              answer({0x41, 0x21, 0x10, 0x00, 0x79, 0x03, 0, 0}));
    std::vector<uint8_t> received;
    for (uint8_t toggle = 0;; toggle ^= 1) {
        const auto segment = exchange({uint8_t(0x60 | (toggle << 4)), 0, 0, 0, 0, 0, 0, 0});
        ASSERT_TRUE(segment);
        ASSERT_EQ(segment->data[0] & 0x10, toggle << 4);
        const int count = 7 - ((segment->data[0] >> 1) & 7);
        received.insert(received.end(), segment->data.begin() + 1, segment->data.begin() + 1 + count);
        if (segment->data[0] & 1)
            break;
    }
    EXPECT_EQ(received, data);
}

TEST_F(SdoServerTest, RefusalsCarryTheirAbortCodes)
{
    openChannel();
    node->setU32(0x2003, 0, 7, Access::WriteOnly);
    node->setU16(0x2004, 0, 1);
    struct Case {
        const char* what;
        std::initializer_list<uint8_t> request;
        CanFrame expected;
    };
    const Case cases[] = {
        {"no such object", {0x40, 0x00, 0x30, 0x00, 0, 0, 0, 0}, abortAnswer(0x3000, 0, abort::NoSuchObject)},
        {"no such subindex", {0x40, 0x18, 0x10, 0x09, 0, 0, 0, 0}, abortAnswer(0x1018, 9, abort::NoSuchSubindex)},
        {"read of write-only", {0x40, 0x03, 0x20, 0x00, 0, 0, 0, 0}, abortAnswer(0x2003, 0, abort::WriteOnly)},
        {"write of read-only", {0x23, 0x00, 0x10, 0x00, 1, 2, 3, 4}, abortAnswer(0x1000, 0, abort::ReadOnly)},
        {"4 bytes into 2", {0x23, 0x04, 0x20, 0x00, 1, 2, 3, 4}, abortAnswer(0x2004, 0, abort::WrongLength)},
        {"segmented 3 into 2", {0x21, 0x04, 0x20, 0x00, 3, 0, 0, 0}, abortAnswer(0x2004, 0, abort::WrongLength)},
        {"command 7", {0xE0, 0x00, 0x10, 0x00, 0, 0, 0, 0}, abortAnswer(0x1000, 0, abort::InvalidCommand)},
        {"segment without transfer", {0x60, 0, 0, 0, 0, 0, 0, 0}, abortAnswer(0, 0, abort::InvalidCommand)},
        {"block size 0", {0xA0, 0x08, 0x10, 0x00, 0, 0, 0, 0}, abortAnswer(0x1008, 0, abort::InvalidBlockSize)},
        {"block size 128", {0xA0, 0x08, 0x10, 0x00, 128, 0, 0, 0}, abortAnswer(0x1008, 0, abort::InvalidBlockSize)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(exchange(c.request), c.expected) << c.what;
    // A refused write leaves the value alone.
    EXPECT_EQ(node->value(0x2004, 0), (std::vector<uint8_t>{1, 0}));
}

TEST_F(SdoServerTest, WrongToggleFromTheClientAbortsBothWays)
{
    openChannel();
    ASSERT_EQ(exchange({0x40, 0x08, 0x10, 0x00, 0, 0, 0, 0})->data[0], 0x41);
    EXPECT_EQ(exchange({0x70, 0, 0, 0, 0, 0, 0, 0}), abortAnswer(0x1008, 0, abort::ToggleNotAlternated));

    node->setDomain(0x2100, 0, {});
    ASSERT_EQ(exchange({0x21, 0x00, 0x21, 0x00, 14, 0, 0, 0})->data[0], 0x60);
    ASSERT_EQ(exchange({0x00, 1, 2, 3, 4, 5, 6, 7})->data[0], 0x20);
    EXPECT_EQ(exchange({0x01, 1, 2, 3, 4, 5, 6, 7}), abortAnswer(0x2100, 0, abort::ToggleNotAlternated));
    EXPECT_EQ(node->value(0x2100, 0), std::vector<uint8_t>{});
}

TEST_F(SdoServerTest, DownloadsStoreExactlyTheAnnouncedBytes)
{
    openChannel();
    node->setU16(0x2004, 0, 0);
    node->setU8(0x2005, 0, 0);
    node->setDomain(0x2100, 0, {});
    // Expedited with size, and without size into a fixed 1-byte entry.
    EXPECT_EQ(exchange({0x2B, 0x04, 0x20, 0x00, 0x34, 0x12, 0xFF, 0xFF}), answer({0x60, 0x04, 0x20, 0x00, 0, 0, 0, 0}));
    EXPECT_EQ(node->value(0x2004, 0), (std::vector<uint8_t>{0x34, 0x12}));
    EXPECT_EQ(exchange({0x22, 0x05, 0x20, 0x00, 0x77, 0, 0, 0}), answer({0x60, 0x05, 0x20, 0x00, 0, 0, 0, 0}));
    EXPECT_EQ(node->value(0x2005, 0), std::vector<uint8_t>{0x77});
    // Segmented, 7 bytes in one last segment.
    EXPECT_EQ(exchange({0x21, 0x00, 0x21, 0x00, 7, 0, 0, 0}), answer({0x60, 0x00, 0x21, 0x00, 0, 0, 0, 0}));
    EXPECT_EQ(exchange({0x01, 1, 2, 3, 4, 5, 6, 7}), answer({0x20, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(node->value(0x2100, 0), counting(7));
    // Segmented, 10 bytes: a full segment, then 3 bytes with toggle 1 (0x10 | 4 << 1 | 1).
    EXPECT_EQ(exchange({0x21, 0x00, 0x21, 0x00, 10, 0, 0, 0})->data[0], 0x60);
    EXPECT_EQ(exchange({0x00, 1, 2, 3, 4, 5, 6, 7}), answer({0x20, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(exchange({0x19, 8, 9, 10, 0, 0, 0, 0}), answer({0x30, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(node->value(0x2100, 0), counting(10));
    // More bytes than announced is refused and nothing is stored.
    EXPECT_EQ(exchange({0x21, 0x00, 0x21, 0x00, 3, 0, 0, 0})->data[0], 0x60);
    EXPECT_EQ(exchange({0x01, 1, 2, 3, 4, 5, 6, 7}), abortAnswer(0x2100, 0, abort::WrongLength));
    EXPECT_EQ(node->value(0x2100, 0), counting(10));
}

TEST_F(SdoServerTest, BlockUploadSendsBlocksAndResendsWhatWasNotAcknowledged)
{
    openChannel();
    node->setDomain(0x2100, 0, counting(20));
    EXPECT_EQ(exchange({0xA0, 0x00, 0x21, 0x00, 16, 0, 0, 0}), answer({0xC2, 0x00, 0x21, 0x00, 20, 0, 0, 0}));
    send({0xA3, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(nextFrame(), answer({0x01, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(nextFrame(), answer({0x02, 8, 9, 10, 11, 12, 13, 14}));
    EXPECT_EQ(nextFrame(), answer({0x83, 15, 16, 17, 18, 19, 20, 0}));
    // Only the first segment arrived: the rest comes again, renumbered from 1.
    send({0xA2, 1, 16, 0, 0, 0, 0, 0});
    EXPECT_EQ(nextFrame(), answer({0x01, 8, 9, 10, 11, 12, 13, 14}));
    EXPECT_EQ(nextFrame(), answer({0x82, 15, 16, 17, 18, 19, 20, 0}));
    // All acknowledged: end with one unused byte in the last segment (0xC1 | 1 << 2).
    EXPECT_EQ(exchange({0xA2, 2, 16, 0, 0, 0, 0, 0}), answer({0xC5, 0, 0, 0, 0, 0, 0, 0}));
    send({0xA1, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_FALSE(client->readLine(50ms)) << "the end confirmation is not answered";
    EXPECT_EQ(exchange({0x40, 0x00, 0x10, 0x00, 0, 0, 0, 0})->data[0], 0x43);
}

TEST_F(SdoServerTest, BlockUploadHonoursTheClientsBlockSize)
{
    openChannel();
    node->setDomain(0x2100, 0, counting(21));
    ASSERT_EQ(exchange({0xA0, 0x00, 0x21, 0x00, 2, 0, 0, 0})->data[0], 0xC2);
    send({0xA3, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(nextFrame()->data[0], 0x01);
    EXPECT_EQ(nextFrame()->data[0], 0x02);
    EXPECT_FALSE(client->readLine(30ms));
    send({0xA2, 2, 2, 0, 0, 0, 0, 0});
    EXPECT_EQ(nextFrame(), answer({0x81, 15, 16, 17, 18, 19, 20, 21}));
    // 21 bytes fill the last segment: no unused bytes.
    EXPECT_EQ(exchange({0xA2, 1, 2, 0, 0, 0, 0, 0}), answer({0xC1, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(SdoServerTest, BlockUploadOfAnEmptyEntryIsOneEmptySegment)
{
    openChannel();
    node->setDomain(0x1021, 0, {});
    ASSERT_EQ(exchange({0xA0, 0x21, 0x10, 0x00, 16, 0, 0, 0}), answer({0xC2, 0x21, 0x10, 0x00, 0, 0, 0, 0}));
    EXPECT_EQ(exchange({0xA3, 0, 0, 0, 0, 0, 0, 0}), answer({0x81, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(exchange({0xA2, 1, 16, 0, 0, 0, 0, 0}), answer({0xDD, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(SdoServerTest, BlockDownloadAcknowledgesTheLastGoodSegment)
{
    openChannel();
    node->setDomain(0x2100, 0, {});
    node->setBlockSize(4);
    EXPECT_EQ(exchange({0xC6, 0x00, 0x21, 0x00, 10, 0, 0, 0}), answer({0xA0, 0x00, 0x21, 0x00, 4, 0, 0, 0}));
    // Segment 1 is lost; 2 arrives out of order and is the last: acknowledge 0.
    send({0x82, 8, 9, 10, 0, 0, 0, 0});
    EXPECT_EQ(nextFrame(), answer({0xA2, 0, 4, 0, 0, 0, 0, 0}));
    send({0x01, 1, 2, 3, 4, 5, 6, 7});
    send({0x82, 8, 9, 10, 0, 0, 0, 0});
    EXPECT_EQ(nextFrame(), answer({0xA2, 2, 4, 0, 0, 0, 0, 0}));
    // End: 4 unused bytes in the last segment.
    EXPECT_EQ(exchange({0xD1, 0, 0, 0, 0, 0, 0, 0}), answer({0xA1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(node->value(0x2100, 0), counting(10));
}

TEST_F(SdoServerTest, BlockDownloadOfAWrongSizeIsRefusedAtTheEnd)
{
    openChannel();
    node->setDomain(0x2100, 0, {9});
    ASSERT_EQ(exchange({0xC6, 0x00, 0x21, 0x00, 9, 0, 0, 0})->data[0], 0xA0);
    send({0x01, 1, 2, 3, 4, 5, 6, 7});
    EXPECT_EQ(exchange({0x82, 8, 9, 10, 0, 0, 0, 0})->data[0], 0xA2);
    EXPECT_EQ(exchange({0xD1, 0, 0, 0, 0, 0, 0, 0}), abortAnswer(0x2100, 0, abort::WrongLength));
    EXPECT_EQ(node->value(0x2100, 0), std::vector<uint8_t>{9});
}

TEST_F(SdoServerTest, ClientAbortEndsTheTransferAndIsRemembered)
{
    openChannel();
    ASSERT_EQ(exchange({0x40, 0x08, 0x10, 0x00, 0, 0, 0, 0})->data[0], 0x41);
    send({0x80, 0x08, 0x10, 0x00, 0x00, 0x00, 0x04, 0x05});
    EXPECT_FALSE(client->readLine(30ms));
    EXPECT_EQ(node->lastClientAbort(), abort::TimedOut);
    EXPECT_EQ(exchange({0x60, 0, 0, 0, 0, 0, 0, 0}), abortAnswer(0, 0, abort::InvalidCommand));
}

TEST_F(SdoServerTest, IdleTransferTimesOutWithAnAbort)
{
    openChannel();
    node->setServerTimeout(30ms);
    ASSERT_EQ(exchange({0x40, 0x08, 0x10, 0x00, 0, 0, 0, 0})->data[0], 0x41);
    EXPECT_EQ(nextFrame(), abortAnswer(0x1008, 0, abort::TimedOut));
}

TEST_F(SdoServerTest, InjectedFaults)
{
    openChannel();
    // Abort on the second request of a segmented upload.
    node->abortNextRequest(0x06060000, 1);
    ASSERT_EQ(exchange({0x40, 0x08, 0x10, 0x00, 0, 0, 0, 0})->data[0], 0x41);
    EXPECT_EQ(exchange({0x60, 0, 0, 0, 0, 0, 0, 0}), abortAnswer(0x1008, 0, 0x06060000));
    // Wrong toggle in the second segment only.
    node->wrongToggle(1);
    ASSERT_EQ(exchange({0x40, 0x08, 0x10, 0x00, 0, 0, 0, 0})->data[0], 0x41);
    EXPECT_EQ(exchange({0x60, 0, 0, 0, 0, 0, 0, 0})->data[0], 0x00);
    EXPECT_EQ(exchange({0x70, 0, 0, 0, 0, 0, 0, 0})->data[0], 0x09); // 0x19 with the toggle cleared
    // Silence after one answer, then silence lifted.
    node->goSilentAfter(1);
    EXPECT_TRUE(exchange({0x40, 0x00, 0x10, 0x00, 0, 0, 0, 0}));
    EXPECT_FALSE(exchange({0x40, 0x00, 0x10, 0x00, 0, 0, 0, 0}, 60ms));
    node->setSilent(false);
    EXPECT_TRUE(exchange({0x40, 0x00, 0x10, 0x00, 0, 0, 0, 0}));
    EXPECT_EQ(node->requestsReceived(), 8);
}

} // namespace
} // namespace veqtest
