// termios and poll based serial device access for the adapter driver.
#include "canopen/adapter/serial_device.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

std::string serialDevicePath(const char *busName)
{
    if (busName == nullptr || busName[0] == '\0')
        return std::string();
    if (busName[0] == '/')
        return busName;
    return std::string("/dev/") + busName;
}

unsigned serialSpeedFor(const char *rate)
{
    struct RateSpeed {
        long rate;
        speed_t speed;
    };
    static const RateSpeed table[] = {
        {50, B50},         {75, B75},         {110, B110},       {134, B134},
        {150, B150},       {200, B200},       {300, B300},       {600, B600},
        {1200, B1200},     {1800, B1800},     {2400, B2400},     {4800, B4800},
        {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600},
        {115200, B115200}, {230400, B230400}, {460800, B460800}, {500000, B500000},
        {576000, B576000}, {921600, B921600}, {1000000, B1000000}, {1152000, B1152000},
        {1500000, B1500000}, {2000000, B2000000}, {3000000, B3000000}, {4000000, B4000000},
    };
    if (rate == nullptr || rate[0] == '\0')
        return 0;
    char *end = nullptr;
    errno = 0;
    const long value = std::strtol(rate, &end, 10);
    if (errno != 0 || *end != '\0')
        return 0;
    for (const RateSpeed &entry : table) {
        if (entry.rate == value)
            return entry.speed;
    }
    return 0;
}

int openSerialDevice(const std::string &path, unsigned speed, SerialOpenError *error)
{
    *error = SerialOpenError::None;
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = SerialOpenError::Open;
        return -1;
    }
    ::ioctl(fd, TIOCEXCL); // no sharing; a pty or a privileged opener may ignore it
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0) {
        *error = SerialOpenError::GetSettings;
        ::close(fd);
        return -1;
    }
    ::cfmakeraw(&settings);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    if (::cfsetispeed(&settings, speed) != 0 || ::cfsetospeed(&settings, speed) != 0 ||
        ::tcsetattr(fd, TCSANOW, &settings) != 0) {
        *error = SerialOpenError::SetSettings;
        ::close(fd);
        return -1;
    }
    return fd;
}

bool writeSerial(int fd, const char *bytes, std::size_t count, int timeoutMs, bool *pending)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    if (pending != nullptr)
        *pending = false;
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd, bytes + done, count - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return false;
        if (pending != nullptr)
            *pending = true;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        pollfd p = {fd, POLLOUT, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno != EINTR)
            return false;
        if (ready > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL)))
            return false;
    }
    return true;
}
