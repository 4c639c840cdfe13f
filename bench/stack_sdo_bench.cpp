// SDO figures of the master stack through its serial adapter driver against the virtual
// device on a pty: sequential expedited reads (rate, median and 99th-percentile round
// trip), a 64 KiB segmented upload (and, for comparison, a block upload), and the CPU
// time of an idle connected stack.
#include "stack_session.h"
#include "virtual_can_adapter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <vector>

using namespace std::chrono;
using veqtest::SdoOutcome;

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const size_t at = std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5));
    return values[at];
}

// Best of `runs` uploads of the 0x2100 domain, in KiB/s; 0 when one failed.
double uploadRate(veqtest::StackSession& session, size_t bytes, bool block, int runs)
{
    double best = 0;
    for (int i = 0; i < runs; ++i) {
        const auto start = steady_clock::now();
        const SdoOutcome out = session.read(5, 0x2100, 0, block, seconds(60));
        const double secs = duration<double>(steady_clock::now() - start).count();
        if (out.state != 1 || out.data.size() != bytes)
            return 0;
        best = std::max(best, double(bytes) / 1024.0 / secs);
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    const int reads = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int idleSeconds = argc > 2 ? std::atoi(argv[2]) : 5;

    veqtest::VirtualCanAdapter adapter;
    veqtest::VirtualNode& node = adapter.addNode(5);
    node.addStandardObjects("Bench drive");
    const size_t uploadBytes = 64 * 1024;
    std::vector<uint8_t> payload(uploadBytes);
    for (size_t i = 0; i < payload.size(); ++i)
        payload[i] = uint8_t(i * 7);
    node.setDomain(0x2100, 0, payload);
    std::string error;
    if (!adapter.start(&error)) {
        std::fprintf(stderr, "virtual adapter: %s\n", error.c_str());
        return 1;
    }
    veqtest::StackSession session;
    if (!session.connect(adapter.portPath())) {
        std::fprintf(stderr, "stack did not connect to %s\n", adapter.portPath().c_str());
        return 1;
    }
    std::printf("\n");

    // Sequential expedited reads of 0x1000.
    for (int i = 0; i < 200; ++i)
        session.read(5, 0x1000, 0);
    std::vector<double> roundTrips;
    std::vector<steady_clock::time_point> starts, ends;
    roundTrips.reserve(size_t(reads));
    int failures = 0;
    const auto readsStart = steady_clock::now();
    for (int i = 0; i < reads; ++i) {
        const auto start = steady_clock::now();
        const SdoOutcome out = session.read(5, 0x1000, 0);
        const auto end = steady_clock::now();
        roundTrips.push_back(duration<double, std::milli>(end - start).count());
        starts.push_back(start);
        ends.push_back(end);
        failures += out.state != 1;
    }
    const double readsSecs = duration<double>(steady_clock::now() - readsStart).count();
    std::printf("expedited reads:     %d in %.3f s, %.0f reads/s, %d failed\n", reads, readsSecs,
                reads / readsSecs, failures);
    std::printf("round trip:          median %.3f ms, 99th percentile %.3f ms, max %.3f ms\n",
                percentile(roundTrips, 0.5), percentile(roundTrips, 0.99),
                *std::max_element(roundTrips.begin(), roundTrips.end()));

    // Where the time goes, from the device's wire log stamps (one clock for all):
    // out = posting the read until the device has the request line (timer thread, SDO
    // start, writer thread, pty); device = request in until answer written; back = answer
    // written until the waiting thread has the outcome (pty, receive thread, callback).
    const auto lines = adapter.log().lines();
    std::vector<double> out, device, back;
    size_t at = lines.size() - size_t(2 * reads);
    for (int i = 0; i < reads && at + 1 < lines.size(); ++i, at += 2) {
        if (lines[at].direction != veqtest::WireDirection::FromMaster
            || lines[at + 1].direction != veqtest::WireDirection::ToMaster)
            break;
        out.push_back(duration<double, std::milli>(lines[at].at - starts[size_t(i)]).count());
        device.push_back(duration<double, std::milli>(lines[at + 1].at - lines[at].at).count());
        back.push_back(duration<double, std::milli>(ends[size_t(i)] - lines[at + 1].at).count());
    }
    if (out.size() == size_t(reads)) {
        std::printf("  out (stack+pty):   median %.3f ms, 99th percentile %.3f ms\n", percentile(out, 0.5),
                    percentile(out, 0.99));
        std::printf("  virtual device:    median %.3f ms, 99th percentile %.3f ms\n",
                    percentile(device, 0.5), percentile(device, 0.99));
        std::printf("  back (pty+stack):  median %.3f ms, 99th percentile %.3f ms\n", percentile(back, 0.5),
                    percentile(back, 0.99));
    }

    std::printf("segmented upload:    64 KiB at %.0f KiB/s (best of 3)\n",
                uploadRate(session, uploadBytes, false, 3));
    std::printf("block upload:        64 KiB at %.0f KiB/s (best of 3)\n",
                uploadRate(session, uploadBytes, true, 3));

    // Idle: connected, nothing to do.
    const double cpuBefore = cpuSeconds();
    const auto idleStart = steady_clock::now();
    std::this_thread::sleep_for(seconds(idleSeconds));
    const double idleWall = duration<double>(steady_clock::now() - idleStart).count();
    const double idleCpu = cpuSeconds() - cpuBefore;
    std::printf("idle connection:     %.3f s CPU over %.1f s, %.3f%% of a core "
                "(stack and virtual device together)\n",
                idleCpu, idleWall, 100.0 * idleCpu / idleWall);

    session.disconnect();
    adapter.stop();
    return failures == 0 ? 0 : 1;
}
