// Peers of the master's non-SDO services on the virtual bus, written from the CANopen
// protocols themselves and sharing nothing with the stack: the frames a device produces
// on its own (boot-up, heartbeat, emergency, process data), a heartbeat producer that
// runs on the adapter's schedule, and an LSS slave that answers the master's requests.
//
//     auto lss = std::make_shared<veqtest::VirtualLssSlave>(identity, 5);
//     adapter.addPeer(lss);                                    // sees every master frame
//     veqtest::produceHeartbeats(adapter, 5, 0x05, 50ms, 10); // boot-up, then 10 beats
#pragma once

#include "can_frame_line.h"
#include "virtual_node.h" // DeviceIdentity

#include <chrono>
#include <cstdint>
#include <mutex>
#include <vector>

namespace veqtest {

class VirtualCanAdapter;

// Something on the bus that listens to the master's frames.
class VirtualBusPeer {
public:
    virtual ~VirtualBusPeer() = default;
    // A frame the master sent; the peer's answers, written back at once.
    virtual std::vector<CanFrame> receive(const CanFrame& frame) = 0;
};

// NMT states as a device reports them in its heartbeat.
namespace PeerState {
constexpr uint8_t BootUp = 0x00;
constexpr uint8_t Stopped = 0x04;
constexpr uint8_t Operational = 0x05;
constexpr uint8_t PreOperational = 0x7F;
} // namespace PeerState

CanFrame heartbeatFrame(uint8_t nodeId, uint8_t state); // 0x700 + id, one byte
CanFrame emcyFrame(uint8_t nodeId, uint16_t errorCode, uint8_t errorRegister,
                   std::vector<uint8_t> vendorBytes = {}); // 0x080 + id, always 8 bytes

// A boot-up frame now, then `count` heartbeats with `state`, one every `period`.
// Returns when the last one is scheduled; the adapter writes them on time.
void produceHeartbeats(VirtualCanAdapter& adapter, uint8_t nodeId, uint8_t state,
                       std::chrono::milliseconds period, int count, bool bootUpFirst = true);

// An LSS slave (CiA 305) with an identity and a node id (255: not configured).
class VirtualLssSlave : public VirtualBusPeer {
public:
    VirtualLssSlave(const DeviceIdentity& identity, uint8_t nodeId);

    std::vector<CanFrame> receive(const CanFrame& frame) override;

    bool configurationMode() const;
    uint8_t nodeId() const;
    // Bit-timing table index last configured (-1: none) and the last activation's delay.
    int bitTimingIndex() const;
    int activationDelayMs() const; // -1 before any activation
    int requestsReceived() const;

private:
    std::vector<CanFrame> handle(const std::vector<uint8_t>& request);
    bool identityMatches(uint8_t command, uint32_t value) const;

    const uint32_t identity_[4];
    mutable std::mutex mutex_;
    uint8_t nodeId_;
    uint8_t pendingNodeId_;
    bool configuration_ = false;
    int bitTiming_ = -1;
    int activationDelay_ = -1;
    unsigned selectiveMatched_ = 0; // bits of commands 64..67 matched in turn
    unsigned identifyMatched_ = 0;  // bits of commands 70..75
    int requests_ = 0;
};

// The requests an LSS master sends on 0x7E5: command byte, then up to 7 bytes.
CanFrame lssRequest(uint8_t command, std::vector<uint8_t> bytes = {});

} // namespace veqtest
