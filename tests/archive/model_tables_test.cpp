// The model's fixed tables against the published checks: squash and stretch
// checksums and spot values, the generated bit-history table (worked cases,
// first rows, SHA-1 of the whole table) and the counter step sizes.
#include "archive/squash_stretch.h"
#include "archive/state_table.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>

using namespace zpaq;

TEST(SquashStretch, ChecksumsOverTheWholeTables)
{
    std::uint32_t s = 0;
    for (int i = 4095; i >= 0; --i)
        s = 3 * s + std::uint32_t(squash(i - 2048));
    EXPECT_EQ(s, 2278286169u);
    s = 0;
    for (int p = 32767; p >= 0; --p)
        s = 3 * s + std::uint32_t(stretch(p));
    EXPECT_EQ(s, 3887533746u);
}

TEST(SquashStretch, SpotValuesAndClamping)
{
    EXPECT_EQ(squash(-2047), 0);
    EXPECT_EQ(squash(-64), 8812);
    EXPECT_EQ(squash(-1), 16256);
    EXPECT_EQ(squash(0), 16384);
    EXPECT_EQ(squash(1), 16511);
    EXPECT_EQ(squash(64), 23955);
    EXPECT_EQ(squash(1000), 32767);
    // Out-of-range inputs clamp instead of indexing outside the table.
    EXPECT_EQ(squash(-100000), squash(-2047));
    EXPECT_EQ(squash(100000), squash(2047));
    EXPECT_EQ(stretch(0), -710);
    EXPECT_EQ(stretch(1), -639);
    EXPECT_EQ(stretch(100), -370);
    EXPECT_EQ(stretch(16383), 0);
    EXPECT_EQ(stretch(16384), 0);
    EXPECT_EQ(stretch(30000), 153);
    EXPECT_EQ(stretch(32767), 710);
}

namespace {

int stateOf(int n0, int n1)
{
    const StateTable &t = stateTable();
    for (int s = 0; s < kStateCount; ++s)
        if (t.n0[s] == n0 && t.n1[s] == n1)
            return s;
    return -1;
}

struct Counts
{
    int n0, n1;
};

Counts after(int n0, int n1, int y)
{
    const StateTable &t = stateTable();
    const int s = t.next[stateOf(n0, n1)][y];
    return {t.n0[s], t.n1[s]};
}

} // namespace

TEST(StateTable, WorkedTransitions)
{
    struct Case
    {
        int n0, n1, y, e0, e1;
    } cases[] = {{20, 0, 0, 20, 0}, {48, 1, 0, 48, 1}, {15, 2, 0, 8, 1}, {8, 3, 0, 6, 2},
                 {8, 3, 1, 5, 3},   {6, 4, 0, 5, 3},   {5, 5, 0, 5, 4},  {5, 5, 1, 4, 5}};
    for (const Case &c : cases) {
        const Counts r = after(c.n0, c.n1, c.y);
        EXPECT_EQ(r.n0, c.e0) << c.n0 << "," << c.n1 << "+" << c.y;
        EXPECT_EQ(r.n1, c.e1) << c.n0 << "," << c.n1 << "+" << c.y;
    }
}

TEST(StateTable, LongRunThenReversal)
{
    const StateTable &t = stateTable();
    int s = stateOf(1, 46);
    const int bits[] = {1, 1, 1, 0, 0, 0, 0, 0, 0};
    const Counts expect[] = {{1, 47}, {1, 48}, {1, 48}, {2, 7}, {3, 6},
                             {4, 5},  {5, 5},  {5, 4},  {6, 4}};
    for (int i = 0; i < 9; ++i) {
        s = t.next[s][bits[i]];
        EXPECT_EQ(t.n0[s], expect[i].n0) << "step " << i;
        EXPECT_EQ(t.n1[s], expect[i].n1) << "step " << i;
    }
    // The two-state pairs remember the last bit: (2,7) reached by a 0 is
    // the "last 0" state, numbered before its "last 1" twin.
    const int viaZero = t.next[stateOf(1, 48)][0];
    EXPECT_EQ(t.n0[viaZero - 0], 2);
    EXPECT_EQ(t.n0[viaZero + 1], 2);
    EXPECT_EQ(t.n1[viaZero + 1], 7);
}

TEST(StateTable, FirstRowsLastStatesAndDigest)
{
    const StateTable &t = stateTable();
    const int rows[16][4] = {{1, 2, 0, 0},    {3, 5, 1, 0},    {4, 6, 0, 1},   {7, 9, 2, 0},
                             {8, 11, 1, 1},   {8, 11, 1, 1},   {10, 12, 0, 2}, {13, 15, 3, 0},
                             {14, 17, 2, 1},  {14, 17, 2, 1},  {16, 19, 1, 2}, {16, 19, 1, 2},
                             {18, 20, 0, 3},  {21, 23, 4, 0},  {22, 25, 3, 1}, {22, 25, 3, 1}};
    for (int s = 0; s < 16; ++s) {
        EXPECT_EQ(t.next[s][0], rows[s][0]) << s;
        EXPECT_EQ(t.next[s][1], rows[s][1]) << s;
        EXPECT_EQ(t.n0[s], rows[s][2]) << s;
        EXPECT_EQ(t.n1[s], rows[s][3]) << s;
    }
    EXPECT_EQ(t.n0[251], 47);
    EXPECT_EQ(t.n1[251], 1);
    EXPECT_EQ(t.n0[254], 1);
    EXPECT_EQ(t.n1[254], 48);
    QByteArray bytes;
    for (int s = 0; s < kStateCount; ++s) {
        bytes.append(char(t.next[s][0]));
        bytes.append(char(t.next[s][1]));
        bytes.append(char(t.n0[s]));
        bytes.append(char(t.n1[s]));
    }
    EXPECT_EQ(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().toStdString(),
              "0dfd017949e343da3d6ec0cc6e0fcb20f21cc2da");
}

TEST(StateTable, InitialProbabilitiesFollowTheCounts)
{
    const StateTable &t = stateTable();
    EXPECT_EQ(t.initialQ[0], 1u << 22); // no history: one half
    for (int s = 0; s < kStateCount; ++s) {
        const double expected = (2.0 * t.n1[s] + 1) / (t.n0[s] + t.n1[s] + 1) * (1 << 22);
        EXPECT_NEAR(double(t.initialQ[s]), expected, 1.0) << s;
    }
}
