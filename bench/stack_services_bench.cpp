// Figures of the master stack's periodic and consumer services through the serial
// adapter driver against the virtual bus on a pty: SYNC production at 1 ms and 10 ms
// (period error at the stack and on the wire), the delay from a heartbeat that stops to
// the heartbeat-error hook, and received PDOs applied to the dictionary per second.
#include "stack_session.h"
#include "virtual_bus_peers.h"
#include "virtual_can_adapter.h"

#include "canopen/lifeguard.h"
#include "canopen/master_od.h"
#include "canopen/nmt.h"
#include "canopen/od.h"
#include "canopen/stack_lock.h"
#include "canopen/sync.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono;
using Clock = steady_clock;

namespace {

std::mutex timesMutex;
std::vector<Clock::time_point> syncTimes;
std::vector<Clock::time_point> heartbeatErrors;

void onPostSync(NodeContext*)
{
    std::lock_guard<std::mutex> lock(timesMutex);
    syncTimes.push_back(Clock::now());
}

void onHeartbeatError(NodeContext*, uint8_t)
{
    std::lock_guard<std::mutex> lock(timesMutex);
    heartbeatErrors.push_back(Clock::now());
}

struct Error {
    double meanMs = 0;
    double maxMs = 0;
};

// Mean and largest deviation of the intervals between consecutive times from the period.
Error periodError(const std::vector<Clock::time_point>& times, double periodMs)
{
    Error e;
    for (size_t i = 1; i < times.size(); ++i) {
        const double deviation = std::fabs(duration<double, std::milli>(times[i] - times[i - 1]).count() - periodMs);
        e.meanMs += deviation;
        e.maxMs = std::max(e.maxMs, deviation);
    }
    if (times.size() > 1)
        e.meanMs /= double(times.size() - 1);
    return e;
}

std::vector<Clock::time_point> wireTimes(const veqtest::VirtualCanAdapter& adapter, veqtest::WireDirection direction,
                                         const std::string& text, size_t from)
{
    std::vector<Clock::time_point> times;
    const std::vector<veqtest::WireLine> lines = adapter.log().lines();
    for (size_t i = from; i < lines.size(); ++i) {
        if (lines[i].direction == direction && lines[i].text == text)
            times.push_back(lines[i].at);
    }
    return times;
}

void measureSync(veqtest::VirtualCanAdapter& adapter, uint32_t periodMs, int periods)
{
    {
        std::lock_guard<std::mutex> lock(timesMutex);
        syncTimes.clear();
    }
    const size_t mark = adapter.log().size();
    {
        StackLockGuard lock;
        *masterNode.syncPeriod = periodMs * 1000;
        startSync(&masterNode);
    }
    while (true) {
        std::this_thread::sleep_for(milliseconds(periodMs * 10));
        std::lock_guard<std::mutex> lock(timesMutex);
        if (syncTimes.size() > size_t(periods))
            break;
    }
    {
        StackLockGuard lock;
        stopSync(&masterNode);
    }
    std::this_thread::sleep_for(milliseconds(100)); // the last frames reach the wire
    std::vector<Clock::time_point> produced;
    {
        std::lock_guard<std::mutex> lock(timesMutex);
        produced.assign(syncTimes.begin(), syncTimes.begin() + periods + 1);
    }
    std::vector<Clock::time_point> onWire = wireTimes(adapter, veqtest::WireDirection::FromMaster, "t0800", mark);
    if (onWire.size() > size_t(periods + 1))
        onWire.resize(size_t(periods + 1));
    const Error atStack = periodError(produced, periodMs);
    const Error wire = periodError(onWire, periodMs);
    std::printf("SYNC %2u ms, %d periods: produced mean error %.3f ms, max %.3f ms; on the wire (%zu frames) "
                "mean %.3f ms, max %.3f ms\n",
                periodMs, periods, atStack.meanMs, atStack.maxMs, onWire.size(), wire.meanMs, wire.maxMs);
}

void measureHeartbeatLoss(veqtest::VirtualCanAdapter& adapter, int rounds)
{
    constexpr uint32_t consumerMs = 100;
    {
        StackLockGuard lock;
        masterNode.onHeartbeatError = onHeartbeatError;
        *masterNode.consumerHeartbeatEntries = 0x00050000 | consumerMs;
        masterNode.commSwitches.lifeGuard = 1;
    }
    std::vector<double> late;
    for (int round = 0; round < rounds; ++round) {
        {
            std::lock_guard<std::mutex> lock(timesMutex);
            heartbeatErrors.clear();
        }
        const size_t mark = adapter.log().size();
        veqtest::produceHeartbeats(adapter, 5, veqtest::PeerState::Operational, milliseconds(20), 5, false);
        if (round == 0) {
            StackLockGuard lock;
            startHeartbeat(&masterNode);
        }
        const auto deadline = Clock::now() + seconds(2);
        Clock::time_point error{};
        while (Clock::now() < deadline) {
            std::this_thread::sleep_for(milliseconds(5));
            std::lock_guard<std::mutex> lock(timesMutex);
            if (!heartbeatErrors.empty()) {
                error = heartbeatErrors.front();
                break;
            }
        }
        const std::vector<Clock::time_point> beats = wireTimes(
            adapter, veqtest::WireDirection::ToMaster, veqtest::frameLine(veqtest::heartbeatFrame(5, 5)), mark);
        if (error == Clock::time_point{} || beats.empty()) {
            std::printf("heartbeat round %d: no error hook\n", round);
            continue;
        }
        late.push_back(duration<double, std::milli>(error - beats.back()).count() - consumerMs);
    }
    {
        StackLockGuard lock;
        stopHeartbeat(&masterNode);
        masterNode.commSwitches.lifeGuard = 0;
    }
    if (late.empty())
        return;
    double mean = 0;
    for (double v : late)
        mean += v;
    mean /= double(late.size());
    std::printf("heartbeat stop -> error hook, consumer time %u ms, %zu rounds: mean %.3f ms after the consumer "
                "time, max %.3f ms, min %.3f ms\n",
                consumerMs, late.size(), mean, *std::max_element(late.begin(), late.end()),
                *std::min_element(late.begin(), late.end()));
}

// Counts the writes of 0x200F, the first entry the receive PDO maps: one per frame applied.
std::atomic<int> appliedFrames{0};

uint32_t countApplied(NodeContext*, const OdIndexEntry*, uint8_t)
{
    ++appliedFrames;
    return 0;
}

OdWriteCallback countingCallbacks[1] = {countApplied};

const OdIndexEntry* countingScanIndex(uint16_t index, uint32_t* abortCode, OdWriteCallback** callbacks)
{
    const OdIndexEntry* row = masterScanIndex(index, abortCode, callbacks);
    if (index == 0x200F)
        *callbacks = countingCallbacks;
    return row;
}

void measurePdoRate(veqtest::VirtualCanAdapter& adapter, int frames)
{
    {
        StackLockGuard lock;
        masterNode.scanIndex = countingScanIndex;
        setNodeState(&masterNode, NmtState::Operational);
    }
    appliedFrames = 0;
    std::string batch;
    const auto start = Clock::now();
    for (int i = 0; i < frames; ++i) {
        batch += veqtest::frameLine(veqtest::CanFrame(0x1C0, {uint8_t(i)})) + "\r";
        if (batch.size() > 4000 || i + 1 == frames) {
            adapter.sendRaw(batch);
            batch.clear();
        }
    }
    // Until every frame is applied, or nothing more arrives for a second.
    int seen = 0;
    auto lastProgress = Clock::now();
    auto lastApplied = lastProgress;
    while (appliedFrames < frames && Clock::now() - lastProgress < seconds(1)) {
        std::this_thread::sleep_for(microseconds(200));
        if (appliedFrames != seen) {
            seen = appliedFrames;
            lastProgress = lastApplied = Clock::now();
        }
    }
    const double secs = duration<double>(lastApplied - start).count();
    {
        StackLockGuard lock;
        setNodeState(&masterNode, NmtState::PreOperational);
        masterNode.scanIndex = masterScanIndex;
    }
    std::printf("received PDOs: %d of %d frames applied in %.3f s: %.0f PDOs/s\n", int(appliedFrames), frames, secs,
                double(appliedFrames) / secs);
}

} // namespace

int main(int argc, char** argv)
{
    const int periods = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int pdoFrames = argc > 2 ? std::atoi(argv[2]) : 200000;

    veqtest::VirtualCanAdapter adapter;
    adapter.addNode(5).addStandardObjects("Bench drive");
    std::string error;
    if (!adapter.start(&error)) {
        std::printf("virtual adapter: %s\n", error.c_str());
        return 1;
    }
    veqtest::StackSession session;
    if (!session.connect(adapter.portPath())) {
        std::printf("the master did not come up\n");
        return 1;
    }
    {
        StackLockGuard lock;
        masterNode.onPostSync = onPostSync;
    }
    std::printf("\n");
    measureSync(adapter, 1, periods);
    measureSync(adapter, 10, periods);
    measureHeartbeatLoss(adapter, 20);
    measurePdoRate(adapter, pdoFrames);
    session.disconnect();
    adapter.stop();
    return 0;
}
