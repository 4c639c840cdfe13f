// Our client against our own server: the node's client row is pointed at the
// node's own server row and every frame sent is fed straight back, so each
// transfer kind runs end to end in both directions for every size class.
#include "sdo_fixture.h"

#include "canopen/sdo.h"

#include <gtest/gtest.h>

namespace sdotest {
namespace {

constexpr uint8_t kSelf = 5;

struct LoopCase {
    uint8_t sub; // DOMAIN entry of kDomainSizes[sub] bytes
    uint8_t block;
};

class SdoLoopback : public SdoTest, public ::testing::WithParamInterface<LoopCase> {
protected:
    void SetUp() override
    {
        SdoTest::SetUp();
        const OdSubEntry *client = node.objectDictionary[node.firstIndex[OdRange::SdoClient]].subEntries;
        *static_cast<uint32_t *>(client[1].value) = kToUs;
        *static_cast<uint32_t *>(client[2].value) = kFromUs;
        *static_cast<uint8_t *>(client[3].value) = kSelf;
    }

    // Feeds every sent frame back until the exchange is quiet; the number of frames.
    size_t pump()
    {
        size_t frames = 0;
        for (Frames sent = takeSent(); !sent.empty(); sent = takeSent()) {
            for (const Frame &frame : sent)
                feed(frame);
            frames += sent.size();
        }
        return frames;
    }
};

TEST_P(SdoLoopback, WriteThenReadBack)
{
    const LoopCase c = GetParam();
    const Bytes data = pattern(kDomainSizes[c.sub], static_cast<uint8_t>(0x40 + c.sub));
    ASSERT_EQ(writeRemoteEntry(&node, kSelf, kDomains, c.sub, static_cast<uint32_t>(data.size()), OdType::Domain,
                               data.data(), onWrite, c.block),
              0);
    EXPECT_LT(pump(), 400u);
    ASSERT_EQ(completions.size(), 1u);
    EXPECT_EQ(completions[0].result, SdoState::Finished);
    EXPECT_EQ(Bytes(entryBytes(kDomains, c.sub), entryBytes(kDomains, c.sub) + data.size()), data);

    ASSERT_EQ(readRemoteEntry(&node, kSelf, kDomains, c.sub, OdType::Domain, onRead, c.block), 0);
    EXPECT_LT(pump(), 400u);
    ASSERT_EQ(completions.size(), 2u);
    EXPECT_EQ(completions[1].result, SdoState::Finished);
    EXPECT_EQ(completions[1].data, data);
    for (const SdoTransferLine &l : node.sdoLines)
        EXPECT_EQ(l.state, SdoState::Free);
}

INSTANTIATE_TEST_SUITE_P(AllKinds, SdoLoopback,
                         ::testing::Values(LoopCase{0, 0}, LoopCase{1, 0}, LoopCase{2, 0}, LoopCase{3, 0},
                                           LoopCase{4, 0}, LoopCase{0, 1}, LoopCase{1, 1}, LoopCase{2, 1},
                                           LoopCase{3, 1}, LoopCase{4, 1}));

} // namespace
} // namespace sdotest
