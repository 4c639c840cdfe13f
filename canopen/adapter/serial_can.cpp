// The adapter driver: port records, the writer thread that sends queued
// frame lines in the order queued, and the receive path that waits on the
// device with poll() and assembles lines split across reads.
#include "canopen/adapter/serial_can.h"

#include "canopen/adapter/can_line.h"
#include "canopen/adapter/serial_device.h"
#include "canopen/port_thread.h"

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <thread>
#include <unistd.h>

std::atomic<int> canLinkError{0};

namespace {

constexpr int kCommandWaitMs = 500; // "O", "C", "S" and each writer write
constexpr int kReadWaitMs = 500;    // upper bound of one receive
// One read takes what a busy bus delivers between two polls (a full frame
// line is 22 bytes), and its frames must still fit the receive array.
constexpr std::size_t kReadChunk = 1000;
// The shortest record ("t7010") is 5 bytes; the first record of a chunk may
// need only its last byte, the one begun in the previous read.
static_assert(1 + (kReadChunk - 1) / 5 <= kCanReceiveBatch, "a read could yield more frames than fit");
// Lines joined into one write: a whole queued block transfer leaves in a few
// writes instead of one system call per frame, and a long queue still gives
// the close a chance between writes.
constexpr std::size_t kWriteBatch = 64;

struct QueuedLine {
    char text[kCanLineMax + 1];
    uint8_t length;
};

// One open adapter. Records live in a fixed pool for the life of the
// process, so a handle never dangles even if a receive races a close.
struct SerialCanPort {
    std::mutex mutex;
    std::condition_variable changed; // queue, stop request, readers
    bool open = false;
    bool closing = false;
    bool hungUp = false;
    int fd = -1;
    int wakeRead = -1;
    int wakeWrite = -1;
    int readers = 0;
    CanLineParser parser;

    std::mutex writeMutex; // one writer of the device at a time
    std::deque<QueuedLine> queue;
    bool writerStop = false;
    std::thread writer;
};

SerialCanPort portPool[kCanPortSlots];
std::mutex poolMutex;

SerialCanPort *portOf(CanHandle handle)
{
    return static_cast<SerialCanPort *>(handle);
}

bool writeCommand(SerialCanPort *port, const char *text, std::size_t length, bool *pending = nullptr)
{
    std::lock_guard<std::mutex> lock(port->writeMutex);
    return writeSerial(port->fd, text, length, kCommandWaitMs, pending);
}

void serialCanWriterThread(void *argument)
{
    SerialCanPort *port = static_cast<SerialCanPort *>(argument);
    std::string batch;
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(port->mutex);
            port->changed.wait(lock, [port] { return port->writerStop || !port->queue.empty(); });
            if (port->writerStop)
                return;
            batch.clear();
            for (std::size_t i = 0; i < kWriteBatch && !port->queue.empty(); ++i) {
                const QueuedLine &line = port->queue.front();
                batch.append(line.text, line.length);
                port->queue.pop_front();
            }
        }
        const bool written = writeCommand(port, batch.data(), batch.size());
        canLinkError.store(written ? 0 : 1);
    }
}

void stopWriterThread(SerialCanPort *port)
{
    {
        std::lock_guard<std::mutex> lock(port->mutex);
        port->writerStop = true;
    }
    port->changed.notify_all();
    stopPortThread(&port->writer);
}

void closeDescriptors(SerialCanPort *port)
{
    if (port->fd >= 0)
        ::close(port->fd);
    if (port->wakeRead >= 0)
        ::close(port->wakeRead);
    if (port->wakeWrite >= 0)
        ::close(port->wakeWrite);
    port->fd = port->wakeRead = port->wakeWrite = -1;
}

void debugMark(const char *mark)
{
    std::fputs(mark, stdout);
}

} // namespace

CanHandle serialCanOpen(const BoardSpec *spec)
{
    const std::string path = serialDevicePath(spec->busName);
    const unsigned speed = serialSpeedFor(spec->baudRate);
    if (path.empty() || speed == 0)
        return nullptr;

    SerialCanPort *port = nullptr;
    {
        std::lock_guard<std::mutex> lock(poolMutex);
        for (SerialCanPort &candidate : portPool) {
            std::lock_guard<std::mutex> portLock(candidate.mutex);
            if (!candidate.open && candidate.readers == 0 && !candidate.writer.joinable()) {
                port = &candidate;
                port->open = true; // reserved
                break;
            }
        }
    }
    if (port == nullptr)
        return nullptr;

    SerialOpenError error = SerialOpenError::None;
    const int fd = openSerialDevice(path, speed, &error);
    int wake[2] = {-1, -1};
    if (fd >= 0 && ::pipe2(wake, O_NONBLOCK | O_CLOEXEC) != 0) {
        ::close(fd);
        error = SerialOpenError::Open;
    }
    if (error != SerialOpenError::None) {
        if (error == SerialOpenError::GetSettings)
            debugMark("11111");
        else if (error == SerialOpenError::SetSettings)
            debugMark("2222");
        std::lock_guard<std::mutex> lock(port->mutex);
        port->open = false;
        return nullptr;
    }
    {
        std::lock_guard<std::mutex> lock(port->mutex);
        port->fd = fd;
        port->wakeRead = wake[0];
        port->wakeWrite = wake[1];
        port->closing = false;
        port->hungUp = false;
        port->writerStop = false;
        port->queue.clear();
        port->parser.reset();
    }

    bool pending = false;
    const bool opened = writeCommand(port, "O\r", 2, &pending);
    if (!pending)
        debugMark(opened ? "q3" : "q1");
    else
        debugMark(opened ? "q2q4" : "q2q3");
    if (!opened) {
        std::lock_guard<std::mutex> lock(port->mutex);
        closeDescriptors(port);
        port->open = false;
        return nullptr;
    }
    debugMark("333");
    std::fflush(stdout);
    return port;
}

int serialCanClose(CanHandle handle)
{
    SerialCanPort *port = portOf(handle);
    if (port == nullptr)
        return 0;
    {
        std::lock_guard<std::mutex> lock(port->mutex);
        if (!port->open || port->closing)
            return 0;
        port->closing = true;
    }
    // The writer goes first, so nothing is written after "C" and the device
    // is no longer in use when it is closed.
    stopWriterThread(port);
    const bool closed = writeCommand(port, "C\r", 2);

    std::unique_lock<std::mutex> lock(port->mutex);
    const char wake = 1;
    if (::write(port->wakeWrite, &wake, 1) < 0) {
        // The pipe is non-blocking and only needs one byte; a full pipe is awake already.
    }
    port->changed.wait(lock, [port] { return port->readers == 0; });
    closeDescriptors(port);
    port->queue.clear();
    port->open = false;
    port->closing = false;
    return closed ? 1 : 0;
}

uint8_t serialCanChangeBaudRate(CanHandle handle, const char *rate)
{
    SerialCanPort *port = portOf(handle);
    if (port == nullptr || rate == nullptr || rate[0] == '\0')
        return 1;
    {
        std::lock_guard<std::mutex> lock(port->mutex);
        if (!port->open || port->closing)
            return 1;
    }
    const char command[3] = {'S', rate[0], '\r'};
    return writeCommand(port, command, 3) ? 0 : 1;
}

uint8_t serialCanSend(CanHandle handle, const CanMessage *frame)
{
    SerialCanPort *port = portOf(handle);
    if (port == nullptr || frame->len > 8)
        return 1;
    if (frame->rtr != 0) {
        // Sent as a data frame of the same identifier it would say something
        // else: an empty frame on 0x700 + id is that node's boot-up.
        std::printf("serialCanSend: remote request 0x%03X refused, the adapter sends data frames only\n",
                    static_cast<unsigned>(frame->cobId));
        std::fflush(stdout);
        return 1;
    }
    QueuedLine line;
    line.length = static_cast<uint8_t>(encodeCanLine(*frame, line.text));
    {
        std::lock_guard<std::mutex> lock(port->mutex);
        if (!port->open || port->closing)
            return 1;
        if (!port->writer.joinable())
            startPortThread(&port->writer, serialCanWriterThread, port);
        port->queue.push_back(line);
    }
    port->changed.notify_all();
    return 0;
}

uint8_t serialCanReceive(CanHandle handle, CanMessage *frames)
{
    SerialCanPort *port = portOf(handle);
    if (port == nullptr)
        return 0;
    int fd;
    int wakeRead;
    bool hungUp;
    {
        std::lock_guard<std::mutex> lock(port->mutex);
        if (!port->open || port->closing)
            return 0;
        ++port->readers;
        fd = port->fd;
        wakeRead = port->wakeRead;
        hungUp = port->hungUp;
    }

    int stored = 0;
    // A device that went away is not polled again (it would report the
    // hang-up at once, for ever); the wait then only serves to notice a close.
    pollfd waits[2] = {{wakeRead, POLLIN, 0}, {fd, POLLIN, 0}};
    const int ready = ::poll(waits, hungUp ? 1 : 2, kReadWaitMs);
    bool nowHungUp = false;
    if (ready > 0 && !hungUp) {
        const short events = waits[1].revents;
        if (events & POLLNVAL) {
            nowHungUp = true;
        } else if (events & (POLLIN | POLLHUP | POLLERR)) {
            char bytes[kReadChunk];
            const ssize_t n = ::read(fd, bytes, sizeof bytes);
            if (n > 0) {
                stored = port->parser.feed(bytes, static_cast<std::size_t>(n), frames, kCanReceiveBatch);
            } else if (n < 0 ? errno != EAGAIN && errno != EINTR : (events & (POLLHUP | POLLERR)) != 0) {
                nowHungUp = true; // a lasting error or end of file: the device is gone
            }
        }
    }

    {
        std::lock_guard<std::mutex> lock(port->mutex);
        if (nowHungUp)
            port->hungUp = true;
        --port->readers;
    }
    port->changed.notify_all();
    return static_cast<uint8_t>(stored);
}

uint8_t rateCodeToByte(char rate)
{
    switch (rate) {
    case '0': return 16;
    case '1': return 32;
    case '2': return 80;
    case '3': return 160;
    case '4': return 72;
    case '5': return 144;
    case '6': return 32;
    case '7': return 0;
    case '8': return 64;
    default: return 0;
    }
}
