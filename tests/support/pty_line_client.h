// The master's end of a serial line in its simplest form, for tests that speak the
// adapter's lines directly: opens a tty raw, writes lines, reads CR-ended lines with an
// upper bound on every wait.
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace veqtest {

class PtyLineClient {
public:
    explicit PtyLineClient(const std::string& path);
    ~PtyLineClient();
    PtyLineClient(const PtyLineClient&) = delete;
    PtyLineClient& operator=(const PtyLineClient&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    // Writes the text followed by CR; false when the write fails (port gone).
    bool writeLine(const std::string& text);
    bool writeRaw(const std::string& bytes);
    // Next line without its CR, or nothing after `timeout`. Bytes before a CR that do not
    // belong to a line (BEL, LF) are kept in the line: tests see exactly what came.
    std::optional<std::string> readLine(std::chrono::milliseconds timeout);
    // Whatever bytes arrive within `timeout`, in one piece; empty when none.
    std::string readAvailable(std::chrono::milliseconds timeout);
    // True when the far side hung up (the virtual adapter vanished) within `timeout`.
    bool waitForHangUp(std::chrono::milliseconds timeout);

private:
    int fd_ = -1;
    bool hungUp_ = false;
    std::string pending_;
};

} // namespace veqtest
