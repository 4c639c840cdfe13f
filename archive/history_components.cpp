// Indirect context models over bit histories: ICM maps a context's history
// state to an adaptive probability; ISSE uses it to choose a weight pair that
// adjusts the prediction of an earlier component.
#include "components.h"

#include "squash_stretch.h"
#include "state_table.h"

namespace zpaq {

namespace {

const StateTable &kStates = stateTable();

void advanceState(ComponentState &c, int y)
{
    c.history.at(c.index) = kStates.next[c.state][y];
}

} // namespace

void initIcm(ComponentState &c)
{
    c.history.reset(c.spec.p[0] + 2u);
    c.weights.resize(256);
    for (int s = 0; s < 256; ++s)
        c.weights[s] = s < kStateCount ? std::int32_t(stateTable().initialQ[s]) : 0;
}

void lookUpHistory(ComponentState &c, std::uint32_t h, const BitContext &bc)
{
    if (bc.c8 == 1 || (bc.c8 & 0xF0) == 16)
        c.slot = c.history.find(h + 16 * bc.c8);
    c.index = std::uint32_t(c.slot + (bc.hmap4 & 15));
    c.state = c.history.at(c.index);
}

int predictIcm(ComponentState &c, std::uint32_t, const BitContext &, const int *)
{
    return stretch(c.weights[c.state] >> 8);
}

void updateIcm(ComponentState &c, int y, std::uint32_t, const int *)
{
    std::int32_t &q = c.weights[c.state];
    q += ((y << 15) - y - (q >> 8)) >> 2;
    advanceState(c, y);
}

void initIsse(ComponentState &c)
{
    c.history.reset(c.spec.p[0] + 2u);
    c.weights.resize(512);
    for (int s = 0; s < 256; ++s) {
        c.weights[2 * s] = 32768;
        c.weights[2 * s + 1] =
            s == 0 || s >= kStateCount
                ? 0
                : clamp512k(1024 * std::int64_t(stretch(int(stateTable().initialQ[s] >> 8))));
    }
}

int predictIsse(ComponentState &c, std::uint32_t, const BitContext &, const int *P)
{
    const int s = c.state;
    c.output = clamp2k((std::int64_t(c.weights[2 * s]) * P[c.spec.p[1]] +
                        64 * std::int64_t(c.weights[2 * s + 1])) >>
                       16);
    return c.output;
}

void updateIsse(ComponentState &c, int y, std::uint32_t, const int *P)
{
    const int err = (y << 15) - y - squash(c.output);
    std::int32_t &w0 = c.weights[2 * c.state];
    std::int32_t &w1 = c.weights[2 * c.state + 1];
    w0 = clamp512k(w0 + ((std::int64_t(err) * P[c.spec.p[1]] + 4096) >> 13));
    w1 = clamp512k(w1 + ((err + 16) >> 5));
    advanceState(c, y);
}

} // namespace zpaq
