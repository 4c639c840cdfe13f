// A pseudo-terminal pair for tests of the adapter driver: the driver opens
// the slave path, the test plays the adapter on the master side.
#pragma once

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <unistd.h>

class StackTestPty {
public:
    StackTestPty()
    {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0)
            path_ = ::ptsname(master_);
    }
    ~StackTestPty() { closeMaster(); }
    StackTestPty(const StackTestPty &) = delete;
    StackTestPty &operator=(const StackTestPty &) = delete;

    bool isOpen() const { return master_ >= 0 && !path_.empty(); }
    const std::string &path() const { return path_; }

    // The adapter disappears.
    void closeMaster()
    {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

    // Reads what the driver wrote until count bytes arrived or the wait passed.
    std::string read(std::size_t count, std::chrono::milliseconds wait = std::chrono::seconds(3)) const
    {
        std::string got;
        const auto deadline = std::chrono::steady_clock::now() + wait;
        while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
            pollfd p = {master_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0)
                continue;
            char buffer[512];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n > 0)
                got.append(buffer, static_cast<std::size_t>(n));
        }
        return got;
    }

    bool write(const std::string &text) const
    {
        return ::write(master_, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    }

private:
    int master_ = -1;
    std::string path_;
};
