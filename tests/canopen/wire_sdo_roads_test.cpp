// SDO transfers end to end: the real stack, adapter driver and pty against the virtual
// device, for every road (expedited, segmented, block) in both directions and at the
// sizes where segment arithmetic breaks (0, 7, 8 and odd lengths).
#include "wire_test_fixture.h"

namespace veqtest {
namespace {

using WireSdoRoads = WireTest;

TEST_F(WireSdoRoads, ConnectSendsOpenRateAndBootUpInThatOrder)
{
    const auto lines = adapter.log().texts(WireDirection::FromMaster);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 3),
              (std::vector<std::string>{"O", "S5", "t701100"}));
    EXPECT_TRUE(adapter.channelOpen());
    EXPECT_EQ(adapter.bitRate(), '5');

    session.disconnect();
    EXPECT_TRUE(adapter.log().waitFor(WireDirection::FromMaster, "C", 2s));
    EXPECT_FALSE(adapter.channelOpen());
}

TEST_F(WireSdoRoads, ExpeditedUploadsOfOneTwoAndFourBytes)
{
    const size_t mark = adapter.log().size();
    SdoOutcome out = session.read(NodeId, 0x1000, 0);
    EXPECT_TRUE(out.completed);
    EXPECT_EQ(out.state, 1u);
    EXPECT_EQ(out.data, (std::vector<uint8_t>{0x91, 0x01, 0x00, 0x00}));
    // One request, one answer on the wire.
    EXPECT_TRUE(adapter.log().waitFor(WireDirection::FromMaster,
                                      frameLine(0x605, {0x40, 0x00, 0x10, 0x00, 0, 0, 0, 0}), 0ms, mark));
    EXPECT_EQ(session.read(NodeId, 0x2001, 0).data, std::vector<uint8_t>{0x5A});
    EXPECT_EQ(session.read(NodeId, 0x2002, 0).data, (std::vector<uint8_t>{0x34, 0x12}));
    EXPECT_EQ(node->transfersCompleted(), 3);
}

TEST_F(WireSdoRoads, ExpeditedDownloadsSayTheirSize)
{
    const size_t mark = adapter.log().size();
    SdoOutcome out = session.write(NodeId, 0x2002, 0, {0xCD, 0xAB});
    EXPECT_TRUE(out.completed);
    EXPECT_EQ(out.state, 1u);
    EXPECT_EQ(node->value(0x2002, 0), (std::vector<uint8_t>{0xCD, 0xAB}));
    EXPECT_TRUE(adapter.log().waitFor(WireDirection::FromMaster,
                                      frameLine(0x605, {0x2B, 0x02, 0x20, 0x00, 0xCD, 0xAB, 0, 0}), 0ms, mark));

    EXPECT_EQ(session.write(NodeId, 0x2003, 0, {1, 2, 3, 4}).state, 1u);
    EXPECT_EQ(node->value(0x2003, 0), (std::vector<uint8_t>{1, 2, 3, 4}));
}

TEST_F(WireSdoRoads, EmptyDownloadGoesAsOneExpeditedFrame)
{
    node->setDomain(0x2100, 0, {9, 9, 9});
    const size_t mark = adapter.log().size();
    EXPECT_EQ(session.write(NodeId, 0x2100, 0, {}).state, 1u);
    EXPECT_EQ(node->value(0x2100, 0), std::vector<uint8_t>{});
    EXPECT_TRUE(adapter.log().waitFor(WireDirection::FromMaster,
                                      frameLine(0x605, {0x33, 0x00, 0x21, 0x00, 0, 0, 0, 0}), 0ms, mark));
}

TEST_F(WireSdoRoads, SevenByteDownloadIsOneLastSegment)
{
    const size_t mark = adapter.log().size();
    EXPECT_EQ(session.write(NodeId, 0x2100, 0, counting(7)).state, 1u);
    EXPECT_EQ(node->value(0x2100, 0), counting(7));
    EXPECT_EQ(masterLinesSince(mark),
              (std::vector<std::string>{frameLine(0x605, {0x21, 0x00, 0x21, 0x00, 7, 0, 0, 0}),
                                        frameLine(0x605, {0x01, 1, 2, 3, 4, 5, 6, 7})}));
}

class WireSegmentedSizes : public WireTest, public ::testing::WithParamInterface<size_t> {};

TEST_P(WireSegmentedSizes, UploadArrivesWhole)
{
    node->setDomain(0x2100, 0, counting(GetParam()));
    SdoOutcome out = session.read(NodeId, 0x2100, 0);
    ASSERT_TRUE(out.completed);
    EXPECT_EQ(out.state, 1u);
    EXPECT_EQ(out.data, counting(GetParam()));
}

TEST_P(WireSegmentedSizes, DownloadIsStoredWhole)
{
    SdoOutcome out = session.write(NodeId, 0x2100, 0, counting(GetParam()));
    ASSERT_TRUE(out.completed);
    EXPECT_EQ(out.state, 1u);
    EXPECT_EQ(node->value(0x2100, 0), counting(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Sizes, WireSegmentedSizes, ::testing::Values(0, 5, 7, 8, 13, 14, 15, 33, 889));

struct BlockCase {
    size_t size;
    uint8_t deviceBlockSize;
};

class WireBlockTransfers : public WireTest, public ::testing::WithParamInterface<BlockCase> {};

TEST_P(WireBlockTransfers, UploadArrivesWhole)
{
    node->setDomain(0x2100, 0, counting(GetParam().size));
    SdoOutcome out = session.read(NodeId, 0x2100, 0, true);
    ASSERT_TRUE(out.completed);
    EXPECT_EQ(out.state, 1u);
    EXPECT_EQ(out.data, counting(GetParam().size));
    EXPECT_TRUE(adapter.log().waitFor(WireDirection::FromMaster, frameLine(0x605, {0xA1, 0, 0, 0, 0, 0, 0, 0}), 1s));
}

TEST_P(WireBlockTransfers, DownloadIsStoredWhole)
{
    node->setBlockSize(GetParam().deviceBlockSize);
    SdoOutcome out = session.write(NodeId, 0x2100, 0, counting(GetParam().size), true);
    ASSERT_TRUE(out.completed);
    EXPECT_EQ(out.state, 1u);
    EXPECT_EQ(node->value(0x2100, 0), counting(GetParam().size));
}

INSTANTIATE_TEST_SUITE_P(Sizes, WireBlockTransfers,
                         ::testing::Values(BlockCase{0, 16}, BlockCase{7, 16}, BlockCase{8, 16},
                                           BlockCase{20, 2}, BlockCase{112, 16}, BlockCase{113, 16},
                                           BlockCase{889, 127}, BlockCase{889, 3}, BlockCase{5000, 16}));

} // namespace
} // namespace veqtest
