// The decoder's one error convention: anything wrong in the archive throws
// DecodeError with an English reason; the extraction entry catches it and
// turns it into result 2. Internal invariants use ZPAQ_ASSERT instead.
#pragma once

#include <cassert>
#include <stdexcept>
#include <string>

namespace zpaq {

class DecodeError : public std::runtime_error
{
public:
    explicit DecodeError(const std::string &reason) : std::runtime_error(reason) {}
};

/// Throws DecodeError with a printf-style reason.
[[noreturn]] void fail(const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

/// Checks something read from the archive; on failure throws DecodeError.
#define ZPAQ_CHECK(cond, ...)                                                  \
    do {                                                                       \
        if (!(cond))                                                           \
            ::zpaq::fail(__VA_ARGS__);                                         \
    } while (0)

/// Internal invariant (not reachable from archive contents).
#define ZPAQ_ASSERT(cond) assert(cond)

} // namespace zpaq
