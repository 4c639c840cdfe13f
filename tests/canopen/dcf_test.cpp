// The concise-DCF walk frame by frame: nodes without usable data start at once, equal
// values are not written, one difference writes every entry, values longer than 4 bytes
// are verified, a failed transfer frees the unit.
#include "service_fixture.h"

#include "canopen/dcf.h"

namespace svctest {
namespace {

constexpr uint16_t kToPeer = 0x600 + kPeerId;
constexpr uint16_t kFromPeer = 0x580 + kPeerId;
const Frame kStartPeer{0x000, {1, kPeerId}};

struct Entry {
    uint16_t index;
    uint8_t subIndex;
    Bytes value;
};

Bytes le(uint32_t v, int n)
{
    Bytes bytes;
    for (int i = 0; i < n; ++i)
        bytes.push_back(uint8_t(v >> (8 * i)));
    return bytes;
}

Frame sdo(uint16_t cobId, uint8_t command, const Entry &e, const Bytes &value)
{
    Bytes bytes = {command, uint8_t(e.index), uint8_t(e.index >> 8), e.subIndex};
    bytes.insert(bytes.end(), value.begin(), value.end());
    return frame8(cobId, bytes);
}

Frame uploadRequest(const Entry &e) { return sdo(kToPeer, 0x40, e, {}); }
Frame uploaded(const Entry &e) { return sdo(kFromPeer, uint8_t(0x43 + (4 - e.value.size()) * 4), e, e.value); }
Frame download(const Entry &e) { return sdo(kToPeer, uint8_t(0x23 + (4 - e.value.size()) * 4), e, e.value); }
Frame downloaded(const Entry &e) { return sdo(kFromPeer, 0x60, e, {}); }

class DcfTest : public ServiceTest {
protected:
    void SetUp() override
    {
        ServiceTest::SetUp();
        node.commSwitches.sdo = 1;
        // No valid transmit PDO, so that going operational sends nothing of its own.
        value<uint32_t>(0x1800, 1) |= 0x80000000;
        value<uint32_t>(0x1801, 1) |= 0x80000000;
        node.remoteNodeState[kPeerId] = NmtState::Initialisation; // booted
    }

    // Stores the peer's data: entry count, then the entries (cut by `cut` bytes).
    void setDcf(const std::vector<Entry> &entries, size_t cut = 0)
    {
        data = le(uint32_t(entries.size()), 4);
        for (const Entry &e : entries) {
            for (const Bytes &part : {le(e.index, 2), Bytes{e.subIndex}, le(uint32_t(e.value.size()), 4), e.value})
                data.insert(data.end(), part.begin(), part.end());
        }
        data.resize(data.size() - cut);
        entry(0x1F22, kPeerId).size = uint32_t(data.size());
        entry(0x1F22, kPeerId).value = data.data();
    }

    Bytes data;
    const std::vector<Entry> entries = {{0x2000, 0, {0x11}}, {0x2001, 2, {0x22, 0x33}}};
};

TEST_F(DcfTest, NodeWithoutUsableDataStartsAtOnce)
{
    EXPECT_EQ(startDcf(&node, kPeerId), 1) << "empty subentry";
    setDcf({});
    EXPECT_EQ(startDcf(&node, kPeerId), 1) << "no entries";
    setDcf({{0x2000, 0, {1, 2}}}, 1);
    EXPECT_EQ(startDcf(&node, kPeerId), 1) << "the value runs past the end of the data";
    EXPECT_EQ(takeSent(), Frames(3, kStartPeer)) << "no SDO traffic";
    EXPECT_EQ(node.remoteNodeState[kPeerId], NmtState::Operational);
}

TEST_F(DcfTest, AllEqualNoDownload)
{
    setDcf(entries);
    EXPECT_EQ(startDcf(&node, kPeerId), 2);
    feed(uploaded(entries[0]));
    feed(uploaded(entries[1]));
    EXPECT_EQ(takeSent(), (Frames{uploadRequest(entries[0]), uploadRequest(entries[1]), kStartPeer}));
    EXPECT_EQ(node.dcfState, DcfState::Idle);
    EXPECT_EQ(takeEvents(), Events{"operational"}) << "no booted node left";
}

TEST_F(DcfTest, OneDifferenceWritesEveryEntry)
{
    setDcf(entries);
    startDcf(&node, kPeerId);
    feed(uploaded(entries[0]));
    feed(uploaded(Entry{0x2001, 2, {0x22, 0x34}}));
    feed(downloaded(entries[0]));
    feed(downloaded(entries[1]));
    EXPECT_EQ(takeSent(), (Frames{uploadRequest(entries[0]), uploadRequest(entries[1]), download(entries[0]),
                                  download(entries[1]), kStartPeer}));
}

TEST_F(DcfTest, EntryRunningPastTheDataEndsTheWalk)
{
    setDcf(entries, 1); // the second value lacks its last byte
    EXPECT_EQ(startDcf(&node, kPeerId), 2);
    feed(uploaded(entries[0]));
    EXPECT_EQ(takeSent(), (Frames{uploadRequest(entries[0]), kStartPeer})) << "verified as far as it goes";
    node.remoteNodeState[kPeerId] = NmtState::Initialisation;
    startDcf(&node, kPeerId);
    feed(uploaded(Entry{0x2000, 0, {0x12}}));
    feed(downloaded(entries[0]));
    EXPECT_EQ(takeSent(), (Frames{uploadRequest(entries[0]), download(entries[0]), kStartPeer}));
    EXPECT_EQ(node.remoteNodeState[kPeerId], NmtState::Operational);
    EXPECT_EQ(node.dcfState, DcfState::Idle);
}

TEST_F(DcfTest, ValueLongerThanFourBytesIsVerified)
{
    const Entry longValue{0x2100, 1, {1, 2, 3, 4, 5, 6}};
    setDcf({longValue});
    startDcf(&node, kPeerId);
    feed(sdo(kFromPeer, 0x41, longValue, le(6, 4)));
    feed(frame8(kFromPeer, {0x03, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(takeSent(), (Frames{uploadRequest(longValue), sdo(kToPeer, 0x60, longValue, {}), kStartPeer}));
}

TEST_F(DcfTest, FailedTransferMarksTheNodeUnknown)
{
    setDcf(entries);
    startDcf(&node, kPeerId);
    feed(sdo(kFromPeer, 0x80, entries[0], le(0x06020000, 4)));
    EXPECT_EQ(node.remoteNodeState[kPeerId], NmtState::Unknown);
    EXPECT_EQ(takeSent(), Frames{uploadRequest(entries[0])}) << "not started";
    EXPECT_EQ(startDcfIfIdle(&node, kPeerId), 2) << "unit and SDO line free for the next boot-up";
}

TEST_F(DcfTest, SaveThenResetTheNode)
{
    const Entry save{0x1010, 1, {'s', 'a', 'v', 'e'}};
    EXPECT_EQ(saveDcfNode(&node, kPeerId), 0);
    feed(downloaded(save));
    EXPECT_EQ(takeSent(), (Frames{download(save), {0x000, {129, kPeerId}}}));
    EXPECT_EQ(node.remoteNodeState[kPeerId], NmtState::Unknown) << "until it boots again";
}

} // namespace
} // namespace svctest
