// A connected master stack on a serial port, driven as the device layer drives it:
// connect in the stack's order, requests posted as zero-delay alarms under the stack
// lock, each transfer ending in an SdoCallback whose outcome is handed to the test.
// The stack is process-wide, so one session exists at a time.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace veqtest {

// What one SDO client transfer came to.
struct SdoOutcome {
    // Result of readRemoteEntry / writeRemoteEntry (0 started, -1 refused, ...);
    // kNotStarted when the timer thread never ran the request.
    int start = 0;
    bool completed = false; // the callback ran
    uint8_t nodeId = 0;
    // getReadResult / getWriteResult: 1 finished, 0x80 aborted by the peer,
    // 0xFFFFFF85 no line (aborted here, e.g. after the 50 ms time-out).
    uint32_t state = 0;
    uint32_t abortCode = 0;
    std::vector<uint8_t> data; // an upload's bytes when state is 1
    std::chrono::steady_clock::duration elapsed{}; // from posting to the callback
};

class StackSession {
public:
    static constexpr int kNotStarted = -1000;

    StackSession();
    ~StackSession(); // disconnects
    StackSession(const StackSession&) = delete;
    StackSession& operator=(const StackSession&) = delete;

    // bindCanDriver, initStackTimers, openCanPort, changeCanBaudRate, startStackTimerLoop;
    // true once the master has gone pre-operational.
    bool connect(const std::string& portPath, char rate = '5');
    // stopStackTimerLoop (master stopped, lines freed), then closeCanPort.
    void disconnect();
    bool connected() const { return connected_; }

    // Points the master's SDO client channel (0x1280 subs 1-3) at the node.
    void pointClientAt(uint8_t nodeId);

    // Post one start into the timer thread and return its result once it ran.
    int startRead(uint8_t nodeId, uint16_t index, uint8_t subIndex, bool block = false);
    int startWrite(uint8_t nodeId, uint16_t index, uint8_t subIndex, std::vector<uint8_t> data,
                   bool block = false);
    // The next completion that has not been taken yet, waiting at most `timeout`.
    std::optional<SdoOutcome> waitForCompletion(std::chrono::milliseconds timeout);

    // pointClientAt + start + wait: a whole exchange. When the start is refused, or no
    // callback comes within `timeout`, `completed` is false.
    SdoOutcome read(uint8_t nodeId, uint16_t index, uint8_t subIndex, bool block = false,
                    std::chrono::milliseconds timeout = std::chrono::seconds(2));
    SdoOutcome write(uint8_t nodeId, uint16_t index, uint8_t subIndex, std::vector<uint8_t> data,
                     bool block = false, std::chrono::milliseconds timeout = std::chrono::seconds(2));

private:
    int post(bool upload, uint8_t nodeId, uint16_t index, uint8_t subIndex, std::vector<uint8_t> data,
             bool block);
    SdoOutcome exchange(bool upload, uint8_t nodeId, uint16_t index, uint8_t subIndex,
                        std::vector<uint8_t> data, bool block, std::chrono::milliseconds timeout);

    bool connected_ = false;
};

} // namespace veqtest
