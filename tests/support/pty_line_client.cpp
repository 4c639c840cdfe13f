// A raw serial-line client for driving the virtual adapter by hand in tests.
#include "pty_line_client.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace veqtest {

using Clock = std::chrono::steady_clock;

PtyLineClient::PtyLineClient(const std::string& path)
{
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0)
        return;
    termios tio{};
    if (::tcgetattr(fd_, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(fd_, TCSANOW, &tio);
    }
}

PtyLineClient::~PtyLineClient()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool PtyLineClient::writeLine(const std::string& text) { return writeRaw(text + "\r"); }

bool PtyLineClient::writeRaw(const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

std::optional<std::string> PtyLineClient::readLine(std::chrono::milliseconds timeout)
{
    const Clock::time_point end = Clock::now() + timeout;
    for (;;) {
        const size_t cr = pending_.find('\r');
        if (cr != std::string::npos) {
            std::string line = pending_.substr(0, cr);
            pending_.erase(0, cr + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        if (left.count() < 0)
            return std::nullopt;
        const std::string more = readAvailable(left);
        if (more.empty() && (hungUp_ || Clock::now() >= end))
            return std::nullopt;
        pending_ += more;
    }
}

std::string PtyLineClient::readAvailable(std::chrono::milliseconds timeout)
{
    pollfd pfd{fd_, POLLIN, 0};
    if (::poll(&pfd, 1, static_cast<int>(timeout.count())) <= 0)
        return {};
    if (!(pfd.revents & POLLIN)) {
        hungUp_ = (pfd.revents & (POLLHUP | POLLERR)) != 0;
        return {};
    }
    char buffer[512];
    const ssize_t count = ::read(fd_, buffer, sizeof buffer);
    return count > 0 ? std::string(buffer, static_cast<size_t>(count)) : std::string();
}

bool PtyLineClient::waitForHangUp(std::chrono::milliseconds timeout)
{
    const Clock::time_point end = Clock::now() + timeout;
    while (Clock::now() < end) {
        pollfd pfd{fd_, POLLIN, 0};
        if (::poll(&pfd, 1, 20) > 0 && (pfd.revents & (POLLHUP | POLLERR)))
            return true;
        char buffer[64];
        if ((pfd.revents & POLLIN) && ::read(fd_, buffer, sizeof buffer) < 0)
            return true;
    }
    return false;
}

} // namespace veqtest
