// A virtual USB-CAN adapter on a pseudo-terminal, with virtual CANopen nodes behind it.
// The code under test opens portPath() as its serial port and talks the adapter's lines
// ("O", "C", "S<rate>", "t<id><len><data>", each ended by CR); the adapter hands SDO
// requests (0x600 + id) to its nodes and writes their answers (0x580 + id) back.
//
// Typical use in a test:
//
//     veqtest::VirtualCanAdapter adapter;
//     veqtest::VirtualNode& node = adapter.addNode(5);
//     node.addStandardObjects("Test drive");           // 0x1000, 0x1008, 0x1018, ...
//     node.setDomain(0x1021, 0, edsBytes, veqtest::Access::ReadOnly);
//     ASSERT_TRUE(adapter.start());                    // pty + serving thread
//     openTheStackOn(adapter.portPath());              // e.g. "/dev/pts/7"
//     ASSERT_TRUE(adapter.log().waitFor(veqtest::WireDirection::FromMaster, "S5", 1s));
//     node.setSilent(true);                            // faults at any time
//     auto at = adapter.log().waitFor(FromMaster, frameLine(0x605, {0x80, ...}), 1s);
//
// Every public method is thread-safe. The adapter serves only while the channel is open:
// frames received before "O" or after "C" are logged and dropped, as a real adapter does.
#pragma once

#include "virtual_bus_peers.h"
#include "virtual_node.h"
#include "wire_log.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <queue>
#include <string>
#include <thread>
#include <vector>

namespace veqtest {

class VirtualCanAdapter {
public:
    VirtualCanAdapter();
    ~VirtualCanAdapter(); // stops
    VirtualCanAdapter(const VirtualCanAdapter&) = delete;
    VirtualCanAdapter& operator=(const VirtualCanAdapter&) = delete;

    // Creates the pty (raw mode, so the line discipline neither echoes nor turns CR into
    // LF) and starts serving. False, with the reason in *error, when the pty fails.
    bool start(std::string* error = nullptr);
    // Stops serving and closes the pty: the driver's port goes away (reads fail, writes
    // fail). The log and the nodes stay readable.
    void stop();
    // The port disappearing under the driver, as when the adapter is unplugged (= stop()).
    void vanish() { stop(); }
    bool running() const { return running_; }

    // Path of the pty's slave side, for the code under test to open ("/dev/pts/N").
    std::string portPath() const { return portPath_; }

    // Adds (or returns the existing) node with that id; nodes may be added while serving.
    VirtualNode& addNode(uint8_t nodeId);
    VirtualNode* node(uint8_t nodeId);

    // Adds a peer that sees every frame the master sends (after the nodes) and answers.
    void addPeer(std::shared_ptr<VirtualBusPeer> peer);

    // --- Line faults (apply to lines written from then on) ---
    // Answer hex digits in lower case.
    void setLowerCaseHex(bool lowerCase);
    // Write each line in two parts with a pause between, so the reader gets half a line.
    void setSplitLines(bool split, std::chrono::milliseconds pause = std::chrono::milliseconds(3));
    // Bytes written before every line (e.g. "\a", "xyz\r", "tZZZ\r"); empty = none.
    void setGarbageBetweenLines(const std::string& garbage);
    // Reply like a real adapter: CR after "O", "C" and "S", "z" CR after a sent frame, BEL
    // for a line it does not understand. Off by default.
    void setCommandReplies(bool replies);

    // --- Bus side ---
    // Puts a frame on the wire towards the master, e.g. an unsolicited or stray answer.
    void sendFrame(const CanFrame& frame, std::chrono::milliseconds delay = std::chrono::milliseconds(0));
    // Writes raw bytes towards the master (nothing is added; logged as they are).
    void sendRaw(const std::string& bytes);

    // --- State and log ---
    bool channelOpen() const;
    // Last rate character received with "S", 0 before any.
    char bitRate() const;
    // Received lines that were not understood (garbage, bad frames), and overlong lines.
    int badLines() const;
    // Every line received from and written to the master, with waits (see WireLog).
    const WireLog& log() const { return log_; }
    WireLog& log() { return log_; }

private:
    struct Chunk {
        Clock::time_point due;
        uint64_t order;
        std::string bytes;
        std::optional<std::string> logText; // on a line's last chunk: logged once it is out
        bool operator>(const Chunk& other) const
        {
            return due != other.due ? due > other.due : order > other.order;
        }
    };

    void run();
    void readInput();
    void handleLine(const std::string& line, Clock::time_point now);
    void scheduleLine(const std::string& text, Clock::time_point due);
    void scheduleBytes(std::string bytes, Clock::time_point due, std::optional<std::string> logText);
    void writeDue(Clock::time_point now);
    Clock::time_point nextWake(Clock::time_point now) const;
    void wake();
    void closeFds();

    WireLog log_;
    mutable std::mutex mutex_;
    std::map<uint8_t, std::unique_ptr<VirtualNode>> nodes_;
    std::vector<std::shared_ptr<VirtualBusPeer>> peers_;
    std::priority_queue<Chunk, std::vector<Chunk>, std::greater<Chunk>> output_;
    uint64_t nextOrder_ = 0;
    Clock::time_point splitTail_{}; // last half-line still to be written; nothing may pass it
    bool outputBlocked_ = false;

    bool lowerCase_ = false;
    bool split_ = false;
    std::chrono::milliseconds splitPause_{3};
    std::string garbage_;
    bool replies_ = false;
    bool channelOpen_ = false;
    char bitRate_ = 0;
    int badLines_ = 0;

    std::string input_;
    bool discarding_ = false; // inside an overlong line, until its CR

    int master_ = -1;
    int slaveHold_ = -1; // keeps the pty alive and raw between the driver's opens
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::string portPath_;
    std::thread thread_;
    std::atomic<bool> running_{false};
    std::atomic<bool> stopping_{false};
};

} // namespace veqtest
