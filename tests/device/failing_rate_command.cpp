// Stands in for write(2) in one test binary, so that the "S" line of the
// adapter fails exactly when asked while "O", "C" and frames go through.
#include "failing_rate_command.h"

#include <cerrno>
#include <dlfcn.h>
#include <unistd.h>

std::atomic<bool> failRateCommand{false};

extern "C" ssize_t write(int fd, const void *buffer, size_t count)
{
    using WriteFunction = ssize_t (*)(int, const void *, size_t);
    static const WriteFunction next = reinterpret_cast<WriteFunction>(dlsym(RTLD_NEXT, "write"));
    if (failRateCommand && count == 3 && static_cast<const char *>(buffer)[0] == 'S') {
        errno = EIO;
        return -1;
    }
    return next(fd, buffer, count);
}
