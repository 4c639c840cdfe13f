// Generates the bit-history state table from its rule: which count pairs are
// allowed, which have two states, how they are numbered and how a bit moves
// a state.
#include "archive/state_table.h"

#include "archive/decode_error.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace zpaq {

namespace {

// Largest larger count allowed for a smaller count of 0..5.
const int kMaxCount[6] = {20, 48, 15, 8, 6, 5};

bool allowed(int n0, int n1)
{
    const int lo = std::min(n0, n1), hi = std::max(n0, n1);
    return lo < 6 && hi <= kMaxCount[lo];
}

bool hasTwoStates(int n0, int n1) { return n0 > 0 && n1 > 0 && n0 + n1 <= 17; }

int discount(int c)
{
    if (c <= 5)
        return c;
    if (c == 6)
        return 5;
    if (c == 7)
        return 6;
    return 7;
}

// Counts after bit y, before choosing between two states of the pair.
void step(int &n0, int &n1, int y)
{
    const bool flipped = n1 > n0;
    int first = flipped ? n1 : n0, second = flipped ? n0 : n1;
    // Index 0 of the oriented pair is "first".
    const bool yIsFirst = (y == 1) == flipped;
    if (yIsFirst) {
        ++first;
        second = discount(second);
    } else {
        ++second;
        first = discount(first);
    }
    while (!allowed(first, second)) {
        if (second < 2) {
            --first;
        } else {
            first = (first * (second - 1) + second / 2) / second;
            --second;
        }
    }
    n0 = flipped ? second : first;
    n1 = flipped ? first : second;
}

StateTable buildTable()
{
    StateTable t{};
    // (n0, n1, last bit or -1) -> state number
    std::map<std::tuple<int, int, int>, int> number;
    int count = 0;
    for (int total = 0; count < kStateCount && total < 128; ++total) {
        for (int n1 = 0; n1 <= total; ++n1) {
            const int n0 = total - n1;
            if (!allowed(n0, n1))
                continue;
            if (hasTwoStates(n0, n1)) {
                for (int last = 0; last < 2; ++last) {
                    number[{n0, n1, last}] = count;
                    t.n0[count] = std::uint8_t(n0);
                    t.n1[count] = std::uint8_t(n1);
                    ++count;
                }
            } else {
                number[{n0, n1, -1}] = count;
                t.n0[count] = std::uint8_t(n0);
                t.n1[count] = std::uint8_t(n1);
                ++count;
            }
        }
    }
    ZPAQ_ASSERT(count == kStateCount);
    for (int s = 0; s < kStateCount; ++s) {
        for (int y = 0; y < 2; ++y) {
            int n0 = t.n0[s], n1 = t.n1[s];
            step(n0, n1, y);
            const int last = hasTwoStates(n0, n1) ? y : -1;
            t.next[s][y] = std::uint8_t(number.at({n0, n1, last}));
        }
        t.initialQ[s] = std::uint32_t((std::uint64_t(2 * t.n1[s] + 1) << 22) /
                                      std::uint64_t(t.n0[s] + t.n1[s] + 1));
    }
    return t;
}

} // namespace

const StateTable &stateTable()
{
    static const StateTable table = buildTable();
    return table;
}

} // namespace zpaq
