// A virtual node: dictionary and SDO server under one lock, plus silence and delay faults.
#include "virtual_node.h"

namespace veqtest {

namespace {

VirtualEntry number(uint32_t value, int size, Access access)
{
    std::vector<uint8_t> bytes(size);
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    return {std::move(bytes), access, true, 0};
}

VirtualEntry variable(std::vector<uint8_t> bytes, Access access)
{
    return {std::move(bytes), access, false, 0};
}

} // namespace

VirtualNode::VirtualNode(uint8_t nodeId) : nodeId_(nodeId), server_(nodeId, dictionary_) {}

void VirtualNode::addStandardObjects(const std::string& deviceName, uint32_t deviceType,
                                     const DeviceIdentity& identity)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const Access ro = Access::ReadOnly;
    dictionary_.set(0x1000, 0, number(deviceType, 4, ro));
    dictionary_.set(0x1001, 0, number(0, 1, ro));
    dictionary_.set(0x1008, 0, variable({deviceName.begin(), deviceName.end()}, ro));
    dictionary_.set(0x1018, 0, number(4, 1, ro));
    dictionary_.set(0x1018, 1, number(identity.vendorId, 4, ro));
    dictionary_.set(0x1018, 2, number(identity.productCode, 4, ro));
    dictionary_.set(0x1018, 3, number(identity.revision, 4, ro));
    dictionary_.set(0x1018, 4, number(identity.serialNumber, 4, ro));
    dictionary_.set(0x1200, 0, number(2, 1, ro));
    dictionary_.set(0x1200, 1, number(0x600u + nodeId_, 4, ro));
    dictionary_.set(0x1200, 2, number(0x580u + nodeId_, 4, ro));
}

void VirtualNode::setEntry(uint16_t index, uint8_t subIndex, VirtualEntry entry)
{
    std::lock_guard<std::mutex> lock(mutex_);
    dictionary_.set(index, subIndex, std::move(entry));
}

void VirtualNode::setU8(uint16_t index, uint8_t subIndex, uint8_t value, Access access)
{
    setEntry(index, subIndex, number(value, 1, access));
}

void VirtualNode::setU16(uint16_t index, uint8_t subIndex, uint16_t value, Access access)
{
    setEntry(index, subIndex, number(value, 2, access));
}

void VirtualNode::setU32(uint16_t index, uint8_t subIndex, uint32_t value, Access access)
{
    setEntry(index, subIndex, number(value, 4, access));
}

void VirtualNode::setString(uint16_t index, uint8_t subIndex, const std::string& text, Access access)
{
    setEntry(index, subIndex, variable({text.begin(), text.end()}, access));
}

void VirtualNode::setDomain(uint16_t index, uint8_t subIndex, std::vector<uint8_t> bytes,
                            Access access)
{
    setEntry(index, subIndex, variable(std::move(bytes), access));
}

void VirtualNode::removeEntry(uint16_t index, uint8_t subIndex)
{
    std::lock_guard<std::mutex> lock(mutex_);
    dictionary_.remove(index, subIndex);
}

std::optional<std::vector<uint8_t>> VirtualNode::value(uint16_t index, uint8_t subIndex) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return dictionary_.value(index, subIndex);
}

void VirtualNode::setSilent(bool silent)
{
    std::lock_guard<std::mutex> lock(mutex_);
    silent_ = silent;
    answersBeforeSilence_ = -1;
}

void VirtualNode::goSilentAfter(int answeredRequests)
{
    std::lock_guard<std::mutex> lock(mutex_);
    silent_ = false;
    answersBeforeSilence_ = answeredRequests;
}

void VirtualNode::setAnswerDelay(std::chrono::milliseconds delay)
{
    std::lock_guard<std::mutex> lock(mutex_);
    delay_ = delay;
}

void VirtualNode::abortNextRequest(uint32_t code, int afterRequests)
{
    std::lock_guard<std::mutex> lock(mutex_);
    server_.abortNextRequest(code, afterRequests);
}

void VirtualNode::wrongToggle(int afterSegments)
{
    std::lock_guard<std::mutex> lock(mutex_);
    server_.wrongToggle(afterSegments);
}

void VirtualNode::setBlockSize(uint8_t segmentsPerBlock)
{
    std::lock_guard<std::mutex> lock(mutex_);
    server_.setBlockSize(segmentsPerBlock);
}

void VirtualNode::setServerTimeout(std::chrono::milliseconds timeout)
{
    std::lock_guard<std::mutex> lock(mutex_);
    server_.setTimeout(timeout);
}

int VirtualNode::requestsReceived() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return requestsReceived_;
}

int VirtualNode::transfersCompleted() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return server_.transfersCompleted();
}

uint32_t VirtualNode::lastClientAbort() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return server_.lastClientAbort();
}

std::vector<CanFrame> VirtualNode::receive(const CanFrame& frame, Clock::time_point now,
                                           std::chrono::milliseconds* delay)
{
    std::lock_guard<std::mutex> lock(mutex_);
    ++requestsReceived_;
    *delay = delay_;
    return filterAnswers(server_.handleRequest(frame, now));
}

std::vector<CanFrame> VirtualNode::checkTimeout(Clock::time_point now)
{
    std::lock_guard<std::mutex> lock(mutex_);
    return filterAnswers(server_.checkTimeout(now));
}

std::optional<Clock::time_point> VirtualNode::deadline() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return server_.deadline();
}

std::vector<CanFrame> VirtualNode::filterAnswers(std::vector<CanFrame> answers)
{
    if (answers.empty())
        return answers;
    if (answersBeforeSilence_ == 0)
        silent_ = true;
    else if (answersBeforeSilence_ > 0)
        --answersBeforeSilence_;
    if (silent_)
        answers.clear();
    return answers;
}

} // namespace veqtest
