// Formatting of decoder error reasons.
#include "archive/decode_error.h"

#include <cstdarg>
#include <cstdio>

namespace zpaq {

void fail(const char *format, ...)
{
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    throw DecodeError(text);
}

} // namespace zpaq
