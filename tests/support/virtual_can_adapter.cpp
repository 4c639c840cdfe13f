// The virtual adapter: a pty served by one thread that assembles CR-ended lines from
// the master, routes SDO requests to the nodes and writes answers when they fall due.
#include "virtual_can_adapter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace veqtest {

namespace {

// Longer than any legal line ("t" + 3 + 1 + 16 digits); past it a line is discarded.
constexpr size_t MaxLineLength = 64;

void closeFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

VirtualCanAdapter::VirtualCanAdapter() = default;

VirtualCanAdapter::~VirtualCanAdapter() { stop(); }

bool VirtualCanAdapter::start(std::string* error)
{
    auto fail = [&](const char* what) {
        if (error)
            *error = std::string(what) + ": " + std::strerror(errno);
        closeFds();
        return false;
    };
    if (running_)
        return true;
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0)
        return fail("posix_openpt");
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
        return fail("grantpt/unlockpt");
    char name[128];
    if (::ptsname_r(master_, name, sizeof name) != 0)
        return fail("ptsname_r");
    portPath_ = name;
    slaveHold_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slaveHold_ < 0)
        return fail("open slave");
    termios tio{};
    if (::tcgetattr(slaveHold_, &tio) != 0)
        return fail("tcgetattr");
    ::cfmakeraw(&tio);
    if (::tcsetattr(slaveHold_, TCSANOW, &tio) != 0)
        return fail("tcsetattr");
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    int pipeFds[2];
    if (::pipe2(pipeFds, O_NONBLOCK | O_CLOEXEC) != 0)
        return fail("pipe2");
    wakeRead_ = pipeFds[0];
    wakeWrite_ = pipeFds[1];
    stopping_ = false;
    running_ = true;
    thread_ = std::thread(&VirtualCanAdapter::run, this);
    return true;
}

void VirtualCanAdapter::stop()
{
    if (thread_.joinable()) {
        stopping_ = true;
        wake();
        thread_.join();
    }
    closeFds();
    running_ = false;
}

void VirtualCanAdapter::closeFds()
{
    std::lock_guard<std::mutex> lock(mutex_);
    closeFd(master_);
    closeFd(slaveHold_);
    closeFd(wakeRead_);
    closeFd(wakeWrite_);
}

void VirtualCanAdapter::wake()
{
    if (wakeWrite_ >= 0) {
        const char byte = 1;
        [[maybe_unused]] ssize_t written = ::write(wakeWrite_, &byte, 1);
    }
}

VirtualNode& VirtualCanAdapter::addNode(uint8_t nodeId)
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::unique_ptr<VirtualNode>& slot = nodes_[nodeId];
    if (!slot)
        slot = std::make_unique<VirtualNode>(nodeId);
    return *slot;
}

void VirtualCanAdapter::addPeer(std::shared_ptr<VirtualBusPeer> peer)
{
    std::lock_guard<std::mutex> lock(mutex_);
    peers_.push_back(std::move(peer));
}

VirtualNode* VirtualCanAdapter::node(uint8_t nodeId)
{
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = nodes_.find(nodeId);
    return it == nodes_.end() ? nullptr : it->second.get();
}

void VirtualCanAdapter::setLowerCaseHex(bool lowerCase)
{
    std::lock_guard<std::mutex> lock(mutex_);
    lowerCase_ = lowerCase;
}

void VirtualCanAdapter::setSplitLines(bool split, std::chrono::milliseconds pause)
{
    std::lock_guard<std::mutex> lock(mutex_);
    split_ = split;
    splitPause_ = pause;
}

void VirtualCanAdapter::setGarbageBetweenLines(const std::string& garbage)
{
    std::lock_guard<std::mutex> lock(mutex_);
    garbage_ = garbage;
}

void VirtualCanAdapter::setCommandReplies(bool replies)
{
    std::lock_guard<std::mutex> lock(mutex_);
    replies_ = replies;
}

void VirtualCanAdapter::sendFrame(const CanFrame& frame, std::chrono::milliseconds delay)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        scheduleLine(frameLine(frame, lowerCase_), Clock::now() + delay);
    }
    wake();
}

void VirtualCanAdapter::sendRaw(const std::string& bytes)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        scheduleBytes(bytes, Clock::now(), bytes);
    }
    wake();
}

bool VirtualCanAdapter::channelOpen() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return channelOpen_;
}

char VirtualCanAdapter::bitRate() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return bitRate_;
}

int VirtualCanAdapter::badLines() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return badLines_;
}

void VirtualCanAdapter::run()
{
    while (!stopping_) {
        pollfd fds[2] = {{master_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        timespec timeout{};
        timespec* timeoutPtr = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (outputBlocked_)
                fds[0].events |= POLLOUT;
            const Clock::time_point now = Clock::now();
            const Clock::time_point next = nextWake(now);
            if (next != Clock::time_point::max()) {
                const auto wait = std::chrono::duration_cast<std::chrono::nanoseconds>(
                    std::max(next - now, Clock::duration::zero()));
                timeout.tv_sec = static_cast<time_t>(wait.count() / 1000000000);
                timeout.tv_nsec = static_cast<long>(wait.count() % 1000000000);
                timeoutPtr = &timeout;
            }
        }
        if (::ppoll(fds, 2, timeoutPtr, nullptr) < 0 && errno != EINTR)
            break;
        if (stopping_)
            break;
        if (fds[1].revents & POLLIN) {
            char drain[64];
            while (::read(wakeRead_, drain, sizeof drain) > 0) {
            }
        }
        if (fds[0].revents & POLLIN)
            readInput();
        else if (fds[0].revents & (POLLHUP | POLLERR))
            ::usleep(2000); // cannot happen while slaveHold_ is open; never spin regardless
        const Clock::time_point now = Clock::now();
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto& [id, node] : nodes_) {
            for (const CanFrame& frame : node->checkTimeout(now))
                scheduleLine(frameLine(frame, lowerCase_), now);
        }
        writeDue(now);
    }
}

void VirtualCanAdapter::readInput()
{
    char buffer[4096];
    const ssize_t count = ::read(master_, buffer, sizeof buffer);
    if (count <= 0)
        return;
    const Clock::time_point now = Clock::now();
    std::lock_guard<std::mutex> lock(mutex_);
    for (ssize_t i = 0; i < count; ++i) {
        const char c = buffer[i];
        if (c == '\r') {
            if (discarding_)
                ++badLines_;
            else if (!input_.empty())
                handleLine(input_, now);
            input_.clear();
            discarding_ = false;
        } else if (c == '\n' || discarding_) {
            continue;
        } else if (input_.size() == MaxLineLength) {
            input_.clear();
            discarding_ = true;
        } else {
            input_ += c;
        }
    }
}

void VirtualCanAdapter::handleLine(const std::string& line, Clock::time_point now)
{
    // Status replies of a real adapter: CR for a command done, "z" CR for a frame sent,
    // BEL for anything refused.
    std::string reply = "\a";
    std::vector<CanFrame> answers;
    std::chrono::milliseconds delay{0};
    CanFrame frame;
    if (line == "O" || line == "C") {
        channelOpen_ = line == "O";
        reply = "\r";
    } else if (line.size() == 2 && line[0] == 'S') {
        bitRate_ = line[1];
        reply = "\r";
    } else if (parseFrameLine(line, frame)) {
        if (channelOpen_) {
            reply = "z\r";
            auto it = nodes_.find(static_cast<uint8_t>(frame.id - 0x600));
            if (frame.id > 0x600 && frame.id < 0x680 && it != nodes_.end())
                answers = it->second->receive(frame, now, &delay);
            for (const std::shared_ptr<VirtualBusPeer>& peer : peers_) {
                for (const CanFrame& answer : peer->receive(frame))
                    scheduleLine(frameLine(answer, lowerCase_), now);
            }
        }
    } else {
        ++badLines_;
    }
    // Logged once acted on, so a test that saw the line also sees its effect on the node.
    log_.add(WireDirection::FromMaster, line);
    if (replies_)
        scheduleBytes(reply, now, reply.substr(0, reply.find('\r')));
    for (const CanFrame& answer : answers)
        scheduleLine(frameLine(answer, lowerCase_), now + delay);
}

void VirtualCanAdapter::scheduleLine(const std::string& text, Clock::time_point due)
{
    const std::string line = garbage_ + text + "\r";
    if (!split_) {
        scheduleBytes(line, due, text);
        return;
    }
    // Cut inside the frame text itself, so the reader really holds half a record.
    const size_t cut = garbage_.size() + std::max<size_t>(1, text.size() / 2);
    scheduleBytes(line.substr(0, cut), due, std::nullopt);
    scheduleBytes(line.substr(cut), due + splitPause_, text);
    splitTail_ = std::max(splitTail_, due + splitPause_);
}

void VirtualCanAdapter::scheduleBytes(std::string bytes, Clock::time_point due,
                                      std::optional<std::string> logText)
{
    // Nothing may slip between the two halves of a split line.
    due = std::max(due, splitTail_);
    output_.push({due, nextOrder_++, std::move(bytes), std::move(logText)});
}

void VirtualCanAdapter::writeDue(Clock::time_point now)
{
    outputBlocked_ = false;
    while (!output_.empty() && output_.top().due <= now) {
        Chunk chunk = output_.top();
        output_.pop();
        if (master_ < 0)
            continue;
        const ssize_t written = ::write(master_, chunk.bytes.data(), chunk.bytes.size());
        if (written < 0 && errno != EAGAIN && errno != EINTR)
            continue; // the far side is gone: drop, as a bus would
        if (written < static_cast<ssize_t>(chunk.bytes.size())) {
            chunk.bytes.erase(0, written < 0 ? 0 : static_cast<size_t>(written));
            output_.push(chunk);
            outputBlocked_ = true;
            return;
        }
        if (chunk.logText)
            log_.add(WireDirection::ToMaster, *chunk.logText);
    }
}

Clock::time_point VirtualCanAdapter::nextWake(Clock::time_point) const
{
    Clock::time_point next = Clock::time_point::max();
    if (!output_.empty() && !outputBlocked_)
        next = output_.top().due;
    for (const auto& [id, node] : nodes_) {
        if (auto deadline = node->deadline())
            next = std::min(next, *deadline);
    }
    return next;
}

} // namespace veqtest
