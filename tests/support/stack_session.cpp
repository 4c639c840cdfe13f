// The stack session: process-wide request and completion state shared with the stack's
// threads through plain callbacks, guarded by one mutex and condition variable.
#include "stack_session.h"

#include "canopen/alarm.h"
#include "canopen/master_od.h"
#include "canopen/nmt.h"
#include "canopen/port.h"
#include "canopen/sdo.h"
#include "canopen/stack_lock.h"
#include "canopen/stack_timer.h"

#include <condition_variable>
#include <deque>
#include <mutex>

namespace veqtest {

namespace {

using Clock = std::chrono::steady_clock;

// Largest upload a session takes back (the stack refuses more than 16 MiB anyway).
constexpr uint32_t kReadBufferSize = 16u * 1024u * 1024u;

struct PendingStart {
    bool upload = true;
    uint8_t nodeId = 0;
    uint16_t index = 0;
    uint8_t subIndex = 0;
    std::vector<uint8_t> data;
    bool block = false;
};

std::mutex mutex;
std::condition_variable changed;
PendingStart pending;           // written before posting, read by the request function
std::optional<int> startResult; // set by the request function
bool masterReady = false;
std::deque<SdoOutcome> completions;
Clock::time_point postedAt;
std::vector<uint8_t> readBuffer;

void complete(SdoOutcome outcome)
{
    outcome.completed = true;
    std::lock_guard<std::mutex> lock(mutex);
    outcome.elapsed = Clock::now() - postedAt;
    completions.push_back(std::move(outcome));
    changed.notify_all();
}

// SdoCallbacks, under the stack lock in the receive or the timer thread.
void onReadDone(NodeContext* node, uint8_t nodeId)
{
    SdoOutcome outcome;
    outcome.nodeId = nodeId;
    uint32_t size = kReadBufferSize;
    outcome.state = getReadResult(node, nodeId, readBuffer.data(), &size, &outcome.abortCode);
    if (outcome.state == 1)
        outcome.data.assign(readBuffer.begin(), readBuffer.begin() + size);
    closeSdoTransfer(node, nodeId, SdoRole::Client);
    complete(std::move(outcome));
}

void onWriteDone(NodeContext* node, uint8_t nodeId)
{
    SdoOutcome outcome;
    outcome.nodeId = nodeId;
    outcome.state = getWriteResult(node, nodeId, &outcome.abortCode);
    closeSdoTransfer(node, nodeId, SdoRole::Client);
    complete(std::move(outcome));
}

// Alarm callback: the request function of the session (timer thread, stack lock held).
void runPendingStart(NodeContext* node, uint32_t)
{
    PendingStart request;
    {
        std::lock_guard<std::mutex> lock(mutex);
        request = pending;
    }
    const int result = request.upload
        ? readRemoteEntry(node, request.nodeId, request.index, request.subIndex, OdType::Domain,
                          onReadDone, request.block ? 1 : 0)
        : writeRemoteEntry(node, request.nodeId, request.index, request.subIndex,
                           static_cast<uint32_t>(request.data.size()), OdType::Domain,
                           request.data.data(), onWriteDone, request.block ? 1 : 0);
    std::lock_guard<std::mutex> lock(mutex);
    startResult = result;
    changed.notify_all();
}

void onStart(NodeContext*, uint32_t)
{
    setNodeId(&masterNode, 1);
    setNodeState(&masterNode, NmtState::Initialisation);
    std::lock_guard<std::mutex> lock(mutex);
    masterReady = getNodeState(&masterNode) == NmtState::PreOperational;
    changed.notify_all();
}

void onExit(NodeContext*, uint32_t) { setNodeState(&masterNode, NmtState::Stopped); }

} // namespace

StackSession::StackSession()
{
    if (readBuffer.empty())
        readBuffer.resize(kReadBufferSize);
}

StackSession::~StackSession() { disconnect(); }

bool StackSession::connect(const std::string& portPath, char rate)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        masterReady = false;
        completions.clear();
    }
    bindCanDriver();
    initStackTimers();
    const BoardSpec spec{portPath.c_str(), "4800"};
    CanPortSlot* port = openCanPort(&spec, &masterNode);
    if (port == nullptr)
        return false;
    if (changeCanBaudRate(port, &rate) != 0) {
        closeCanPort(&masterNode);
        return false;
    }
    startStackTimerLoop(onStart);
    connected_ = true;
    std::unique_lock<std::mutex> lock(mutex);
    return changed.wait_for(lock, std::chrono::seconds(2), [] { return masterReady; });
}

void StackSession::disconnect()
{
    if (!connected_)
        return;
    stopStackTimerLoop(onExit);
    closeCanPort(&masterNode);
    connected_ = false;
}

void StackSession::pointClientAt(uint8_t nodeId)
{
    setSdoClientChannel(&masterNode, 0, nodeId);
}

int StackSession::post(bool upload, uint8_t nodeId, uint16_t index, uint8_t subIndex,
                       std::vector<uint8_t> data, bool block)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        pending = {upload, nodeId, index, subIndex, std::move(data), block};
        startResult.reset();
        postedAt = Clock::now();
    }
    {
        StackLockGuard lock;
        if (setAlarm(&masterNode, nodeId, runPendingStart, 0, 0) < 0)
            return kNotStarted;
    }
    std::unique_lock<std::mutex> lock(mutex);
    if (!changed.wait_for(lock, std::chrono::seconds(2), [] { return startResult.has_value(); }))
        return kNotStarted;
    return *startResult;
}

int StackSession::startRead(uint8_t nodeId, uint16_t index, uint8_t subIndex, bool block)
{
    return post(true, nodeId, index, subIndex, {}, block);
}

int StackSession::startWrite(uint8_t nodeId, uint16_t index, uint8_t subIndex,
                             std::vector<uint8_t> data, bool block)
{
    return post(false, nodeId, index, subIndex, std::move(data), block);
}

std::optional<SdoOutcome> StackSession::waitForCompletion(std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> lock(mutex);
    if (!changed.wait_for(lock, timeout, [] { return !completions.empty(); }))
        return std::nullopt;
    SdoOutcome outcome = std::move(completions.front());
    completions.pop_front();
    return outcome;
}

SdoOutcome StackSession::exchange(bool upload, uint8_t nodeId, uint16_t index, uint8_t subIndex,
                                  std::vector<uint8_t> data, bool block,
                                  std::chrono::milliseconds timeout)
{
    pointClientAt(nodeId);
    SdoOutcome outcome;
    outcome.start = post(upload, nodeId, index, subIndex, std::move(data), block);
    if (outcome.start != 0)
        return outcome;
    if (auto done = waitForCompletion(timeout)) {
        const int start = outcome.start;
        outcome = std::move(*done);
        outcome.start = start;
    }
    return outcome;
}

SdoOutcome StackSession::read(uint8_t nodeId, uint16_t index, uint8_t subIndex, bool block,
                              std::chrono::milliseconds timeout)
{
    return exchange(true, nodeId, index, subIndex, {}, block, timeout);
}

SdoOutcome StackSession::write(uint8_t nodeId, uint16_t index, uint8_t subIndex,
                               std::vector<uint8_t> data, bool block,
                               std::chrono::milliseconds timeout)
{
    return exchange(false, nodeId, index, subIndex, std::move(data), block, timeout);
}

} // namespace veqtest
