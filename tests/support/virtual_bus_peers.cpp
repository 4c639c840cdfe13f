// The bus peers: frame builders and the LSS slave's request handling.
#include "virtual_bus_peers.h"

#include "virtual_can_adapter.h"

namespace veqtest {

namespace {

constexpr uint16_t kLssFromMaster = 0x7E5;
constexpr uint16_t kLssFromSlave = 0x7E4;

CanFrame lssAnswer(std::vector<uint8_t> bytes)
{
    bytes.resize(8, 0);
    return CanFrame(kLssFromSlave, bytes);
}

} // namespace

CanFrame heartbeatFrame(uint8_t nodeId, uint8_t state)
{
    return CanFrame(static_cast<uint16_t>(0x700 + nodeId), {state});
}

CanFrame emcyFrame(uint8_t nodeId, uint16_t errorCode, uint8_t errorRegister, std::vector<uint8_t> vendorBytes)
{
    std::vector<uint8_t> bytes = {uint8_t(errorCode), uint8_t(errorCode >> 8), errorRegister};
    vendorBytes.resize(5, 0);
    bytes.insert(bytes.end(), vendorBytes.begin(), vendorBytes.end());
    return CanFrame(static_cast<uint16_t>(0x080 + nodeId), bytes);
}

void produceHeartbeats(VirtualCanAdapter& adapter, uint8_t nodeId, uint8_t state,
                       std::chrono::milliseconds period, int count, bool bootUpFirst)
{
    if (bootUpFirst)
        adapter.sendFrame(heartbeatFrame(nodeId, PeerState::BootUp));
    for (int i = 1; i <= count; ++i)
        adapter.sendFrame(heartbeatFrame(nodeId, state), period * i);
}

CanFrame lssRequest(uint8_t command, std::vector<uint8_t> bytes)
{
    bytes.insert(bytes.begin(), command);
    bytes.resize(8, 0);
    return CanFrame(kLssFromMaster, bytes);
}

VirtualLssSlave::VirtualLssSlave(const DeviceIdentity& identity, uint8_t nodeId)
    : identity_{identity.vendorId, identity.productCode, identity.revision, identity.serialNumber},
      nodeId_(nodeId), pendingNodeId_(nodeId)
{
}

std::vector<CanFrame> VirtualLssSlave::receive(const CanFrame& frame)
{
    if (frame.id != kLssFromMaster || frame.len != 8)
        return {};
    std::lock_guard<std::mutex> lock(mutex_);
    ++requests_;
    return handle(frame.bytes());
}

bool VirtualLssSlave::identityMatches(uint8_t command, uint32_t value) const
{
    switch (command) {
    case 70: return value == identity_[0];
    case 71: return value == identity_[1];
    case 72: return identity_[2] >= value; // revision low
    case 73: return identity_[2] <= value; // revision high
    case 74: return identity_[3] >= value; // serial low
    case 75: return identity_[3] <= value; // serial high
    default: return false;
    }
}

std::vector<CanFrame> VirtualLssSlave::handle(const std::vector<uint8_t>& r)
{
    const uint8_t command = r[0];
    const uint32_t value = readLe32(&r[1]);
    if (command == 4) { // switch mode global
        if (r[1] == 0 && configuration_ && nodeId_ == 255 && pendingNodeId_ != 255)
            nodeId_ = pendingNodeId_;
        configuration_ = r[1] == 1;
        return {};
    }
    if (command >= 64 && command <= 67) { // switch mode selective, one value per request in order
        const unsigned bit = 1u << (command - 64);
        const bool inOrder = selectiveMatched_ == bit - 1;
        selectiveMatched_ = inOrder && value == identity_[command - 64] ? selectiveMatched_ | bit : 0;
        if (selectiveMatched_ != 0x0F)
            return {};
        selectiveMatched_ = 0;
        configuration_ = true;
        return {lssAnswer({68})};
    }
    if (command >= 70 && command <= 75) {
        const unsigned bit = 1u << (command - 70);
        identifyMatched_ = identityMatches(command, value) ? identifyMatched_ | bit : 0;
        if (identifyMatched_ != 0x3F)
            return {};
        identifyMatched_ = 0;
        return {lssAnswer({79})};
    }
    if (command == 76)
        return nodeId_ == 255 ? std::vector<CanFrame>{lssAnswer({80})} : std::vector<CanFrame>{};
    if (!configuration_)
        return {};
    switch (command) {
    case 17: { // configure node id: 1..127, or 255 to remove it
        const uint8_t id = r[1];
        const bool valid = (id >= 1 && id <= 127) || id == 255;
        if (valid)
            pendingNodeId_ = id;
        return {lssAnswer({17, uint8_t(valid ? 0 : 1), 0})};
    }
    case 19: { // configure bit timing from the standard table
        const bool valid = r[1] == 0 && r[2] <= 8;
        if (valid)
            bitTiming_ = r[2];
        return {lssAnswer({19, uint8_t(valid ? 0 : 1), 0})};
    }
    case 21:
        activationDelay_ = r[1] | r[2] << 8;
        return {};
    case 23:
        return {lssAnswer({23, 0, 0})};
    case 90: case 91: case 92: case 93: {
        std::vector<uint8_t> answer(5, 0);
        answer[0] = command;
        writeLe32(&answer[1], identity_[command - 90]);
        return {lssAnswer(answer)};
    }
    case 94:
        return {lssAnswer({94, nodeId_})};
    default:
        return {};
    }
}

bool VirtualLssSlave::configurationMode() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return configuration_;
}

uint8_t VirtualLssSlave::nodeId() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return nodeId_;
}

int VirtualLssSlave::bitTimingIndex() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return bitTiming_;
}

int VirtualLssSlave::activationDelayMs() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return activationDelay_;
}

int VirtualLssSlave::requestsReceived() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

} // namespace veqtest
