// The concise-DCF walk frame by frame: nodes without data start at once,
// equal values are not written, one difference writes every entry, values
// longer than 4 bytes are verified, and bad data or failed transfers end the
// walk without reading past the data.
#include "service_fixture.h"

#include "dcf.h"

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

Bytes dcfData(const std::vector<Entry> &entries, uint32_t count)
{
    Bytes data = le(count, 4);
    for (const Entry &e : entries) {
        for (const Bytes &part : {le(e.index, 2), Bytes{e.subIndex}, le(uint32_t(e.value.size()), 4), e.value})
            data.insert(data.end(), part.begin(), part.end());
    }
    return data;
}

// The expedited answer of an upload of up to 4 bytes.
Frame uploaded(const Entry &e)
{
    return sdo(kFromPeer, uint8_t(0x43 + (4 - e.value.size()) * 4), e.index, e.subIndex, e.value);
}

Frame uploadRequest(const Entry &e)
{
    return sdo(kToPeer, 0x40, e.index, e.subIndex);
}

Frame download(const Entry &e)
{
    return sdo(kToPeer, uint8_t(0x23 + (4 - e.value.size()) * 4), e.index, e.subIndex, e.value);
}

class DcfTest : public ServiceTest {
protected:
    void SetUp() override
    {
        ServiceTest::SetUp();
        node.commSwitches.sdo = 1;
        // No transmit PDOs, so that going operational sends nothing of its own.
        value<uint32_t>(0x1800, 1) |= 0x80000000;
        value<uint32_t>(0x1801, 1) |= 0x80000000;
        node.remoteNodeState[kPeerId] = NmtState::Initialisation; // booted
    }

    const std::vector<Entry> entries = {{0x2000, 0, {0x11}}, {0x2001, 2, {0x22, 0x33}}};
};

TEST_F(DcfTest, NodeWithoutUsableDataStartsAtOnce)
{
    const Bytes cases[] = {
        {},                                           // empty subentry
        dcfData({}, 0),                               // no entries
        dcfData({{0x2000, 0, {1, 2}}}, 1),            // fine, but cut below:
    };
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        Bytes data = cases[i];
        if (i == 2)
            data.resize(data.size() - 1); // the value runs past the end of the data
        setDcf(kPeerId, data);
        EXPECT_EQ(startDcf(&node, kPeerId), 1);
        EXPECT_EQ(takeSent(), Frames{kStartPeer}) << "no SDO traffic";
        EXPECT_EQ(node.remoteNodeState[kPeerId], NmtState::Operational);
    }
}

TEST_F(DcfTest, AllEqualNoDownload)
{
    setDcf(kPeerId, dcfData(entries, 2));
    EXPECT_EQ(startDcf(&node, kPeerId), 2);
    EXPECT_EQ(takeSent(), Frames{uploadRequest(entries[0])});
    feed(uploaded(entries[0]));
    EXPECT_EQ(takeSent(), Frames{uploadRequest(entries[1])});
    feed(uploaded(entries[1]));
    EXPECT_EQ(takeSent(), Frames{kStartPeer});
    EXPECT_EQ(node.dcfState, DcfState::Idle);
    EXPECT_EQ(takeEvents(), std::vector<std::string>{"operational"}) << "no booted node left";
}

TEST_F(DcfTest, OneDifferenceWritesEveryEntry)
{
    setDcf(kPeerId, dcfData(entries, 2));
    startDcf(&node, kPeerId);
    feed(uploaded(entries[0]));
    feed(uploaded(Entry{0x2001, 2, {0x22, 0x34}}));
    EXPECT_EQ(takeSent(), (Frames{uploadRequest(entries[0]), uploadRequest(entries[1]), download(entries[0])}));
    feed(sdo(kFromPeer, 0x60, entries[0].index, entries[0].subIndex));
    EXPECT_EQ(takeSent(), Frames{download(entries[1])});
    feed(sdo(kFromPeer, 0x60, entries[1].index, entries[1].subIndex));
    EXPECT_EQ(takeSent(), Frames{kStartPeer});
}

TEST_F(DcfTest, ValueLongerThanFourBytesIsVerified)
{
    const Entry longValue{0x2100, 1, {1, 2, 3, 4, 5, 6}};
    setDcf(kPeerId, dcfData({longValue}, 1));
    startDcf(&node, kPeerId);
    feed(sdo(kFromPeer, 0x41, longValue.index, longValue.subIndex, le(6, 4)));
    feed(frame8(kFromPeer, {0x03, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(takeSent(), (Frames{uploadRequest(longValue), sdo(kToPeer, 0x60, 0x2100, 1), kStartPeer}));
    EXPECT_EQ(node.remoteNodeState[kPeerId], NmtState::Operational);
}

TEST_F(DcfTest, FailedTransferMarksTheNodeUnknown)
{
    setDcf(kPeerId, dcfData(entries, 2));
    startDcf(&node, kPeerId);
    feed(sdo(kFromPeer, 0x80, entries[0].index, entries[0].subIndex, le(0x06020000, 4)));
    EXPECT_EQ(node.remoteNodeState[kPeerId], NmtState::Unknown);
    EXPECT_EQ(node.dcfState, DcfState::Idle) << "free for the next boot-up";
    EXPECT_EQ(takeSent(), Frames{uploadRequest(entries[0])}) << "not started";
    EXPECT_EQ(startDcfIfIdle(&node, kPeerId), 2) << "the line was given back";
}

} // namespace
} // namespace svctest
