// The record of every line that crossed the virtual adapter's serial line, in both
// directions, with bounded waits for a line to appear. Thread-safe.
#pragma once

#include "virtual_sdo_server.h" // Clock

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace veqtest {

enum class WireDirection {
    FromMaster, // received by the adapter: "O", "S5", "C", request frames; logged once the
                // adapter and its node have acted on them
    ToMaster,   // written by the adapter: answer frames, status replies; logged once written
};

struct WireLine {
    WireDirection direction;
    std::string text; // without the CR, exactly as on the wire (case kept)
    Clock::time_point at;
};

class WireLog {
public:
    using Match = std::function<bool(const std::string&)>;

    void add(WireDirection direction, std::string text);
    void clear();
    // Number of lines logged so far: a mark from which later waits may search.
    size_t size() const;
    std::vector<WireLine> lines() const;
    std::vector<std::string> texts(WireDirection direction) const;
    // Waits at most `timeout` for a line in `direction` at a position >= from that
    // matches; returns its position.
    std::optional<size_t> waitFor(WireDirection direction, const Match& match,
                                  std::chrono::milliseconds timeout, size_t from = 0) const;
    std::optional<size_t> waitFor(WireDirection direction, const std::string& text,
                                  std::chrono::milliseconds timeout, size_t from = 0) const;
    // Waits until at least `count` lines in `direction` are logged in total.
    bool waitForCount(WireDirection direction, size_t count, std::chrono::milliseconds timeout) const;

private:
    std::optional<size_t> findLocked(WireDirection direction, const Match& match, size_t from) const;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<WireLine> lines_;
};

} // namespace veqtest
