// One virtual CANopen node behind the virtual adapter: its object dictionary, its SDO
// server and the node-level faults (silence, late answers). Every method is thread-safe:
// tests change entries and faults while the adapter's thread serves the node.
#pragma once

#include "virtual_object_dictionary.h"
#include "virtual_sdo_server.h"

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace veqtest {

struct DeviceIdentity {
    uint32_t vendorId = 0x000000A5;
    uint32_t productCode = 0x00001234;
    uint32_t revision = 0x00010002;
    uint32_t serialNumber = 0x0BADCAFE;
};

class VirtualNode {
public:
    explicit VirtualNode(uint8_t nodeId);
    VirtualNode(const VirtualNode&) = delete;
    VirtualNode& operator=(const VirtualNode&) = delete;

    uint8_t nodeId() const { return nodeId_; }

    // --- Object dictionary ---
    // The objects every device has: 0x1000 device type, 0x1001 error register, 0x1008
    // device name, 0x1018 identity (subs 0-4) and 0x1200 server SDO parameters, all
    // read-only. A fresh node has an empty dictionary.
    void addStandardObjects(const std::string& deviceName, uint32_t deviceType = 0x00000191,
                            const DeviceIdentity& identity = {});
    void setEntry(uint16_t index, uint8_t subIndex, VirtualEntry entry);
    void setU8(uint16_t index, uint8_t subIndex, uint8_t value, Access access = Access::ReadWrite);
    void setU16(uint16_t index, uint8_t subIndex, uint16_t value, Access access = Access::ReadWrite);
    void setU32(uint16_t index, uint8_t subIndex, uint32_t value, Access access = Access::ReadWrite);
    void setString(uint16_t index, uint8_t subIndex, const std::string& text,
                   Access access = Access::ReadOnly);
    // Variable-size bytes (e.g. the stored EDS at 0x1021); up to 1 MiB may be downloaded.
    void setDomain(uint16_t index, uint8_t subIndex, std::vector<uint8_t> bytes,
                   Access access = Access::ReadWrite);
    void removeEntry(uint16_t index, uint8_t subIndex);
    // Current bytes of an entry (after downloads), nothing when it does not exist.
    std::optional<std::vector<uint8_t>> value(uint16_t index, uint8_t subIndex) const;

    // --- Faults ---
    // A silent node receives requests and never answers.
    void setSilent(bool silent);
    // Answer this many more requests, then fall silent (a device that dies mid-transfer).
    void goSilentAfter(int answeredRequests);
    // Every answer leaves this long after its request arrived (0 = at once).
    void setAnswerDelay(std::chrono::milliseconds delay);
    // See VirtualSdoServer::abortNextRequest and ::wrongToggle.
    void abortNextRequest(uint32_t code, int afterRequests = 0);
    void wrongToggle(int afterSegments = 0);
    void setBlockSize(uint8_t segmentsPerBlock);
    void setServerTimeout(std::chrono::milliseconds timeout);

    // --- Observations ---
    int requestsReceived() const;
    int transfersCompleted() const;
    uint32_t lastClientAbort() const;

    // --- Used by the adapter's thread ---
    // A frame for this node; returns the answers and how long to hold them back.
    std::vector<CanFrame> receive(const CanFrame& frame, Clock::time_point now,
                                  std::chrono::milliseconds* delay);
    std::vector<CanFrame> checkTimeout(Clock::time_point now);
    std::optional<Clock::time_point> deadline() const;

private:
    std::vector<CanFrame> filterAnswers(std::vector<CanFrame> answers);

    const uint8_t nodeId_;
    mutable std::mutex mutex_;
    VirtualObjectDictionary dictionary_;
    VirtualSdoServer server_;
    bool silent_ = false;
    int answersBeforeSilence_ = -1; // -1: no limit
    std::chrono::milliseconds delay_{0};
    int requestsReceived_ = 0;
};

} // namespace veqtest
