// Encoding and parsing of the adapter's frame lines (format in can_line.h).
#include "canopen/adapter/can_line.h"

int hexCharToNibble(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

char nibbleToHexChar(unsigned value)
{
    return "0123456789ABCDEF"[value & 0xF];
}

std::size_t encodeCanLine(const CanMessage &frame, char *out)
{
    if (frame.len > 8 || frame.rtr != 0)
        return 0;
    std::size_t n = 0;
    out[n++] = 't';
    out[n++] = nibbleToHexChar((frame.cobId >> 8) & 0x7); // 11-bit identifier: bits 10..8
    out[n++] = nibbleToHexChar(frame.cobId >> 4);
    out[n++] = nibbleToHexChar(frame.cobId);
    out[n++] = nibbleToHexChar(frame.len);
    for (unsigned i = 0; i < frame.len; ++i) {
        out[n++] = nibbleToHexChar(frame.data[i] >> 4);
        out[n++] = nibbleToHexChar(frame.data[i]);
    }
    out[n++] = '\r';
    return n;
}

bool parseCanLine(const char *line, std::size_t length, CanMessage *frame)
{
    if (length < 5 || line[0] != 't')
        return false;
    int id = 0;
    for (std::size_t i = 1; i <= 3; ++i) {
        const int nibble = hexCharToNibble(line[i]);
        if (nibble < 0)
            return false;
        id = id * 16 + nibble;
    }
    const int len = hexCharToNibble(line[4]);
    if (len < 0 || len > 8)
        return false;
    if (length < 5 + 2 * static_cast<std::size_t>(len))
        return false; // cut off: never read past what arrived
    CanMessage parsed = {static_cast<uint16_t>(id), 0, static_cast<uint8_t>(len), {}};
    for (int i = 0; i < len; ++i) {
        const int high = hexCharToNibble(line[5 + 2 * i]);
        const int low = hexCharToNibble(line[6 + 2 * i]);
        if (high < 0 || low < 0)
            return false;
        parsed.data[i] = static_cast<uint8_t>(high * 16 + low);
    }
    *frame = parsed;
    return true;
}

void CanLineParser::reset()
{
    length_ = 0;
}

int CanLineParser::feed(const char *bytes, std::size_t count, CanMessage *frames, int maxFrames)
{
    int stored = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const char c = bytes[i];
        if (c == 't') {
            // Every "t" starts a record; an unfinished one before it is dropped.
            line_[0] = c;
            length_ = 1;
            continue;
        }
        if (length_ == 0)
            continue; // between records: CR, status replies, noise
        if (hexCharToNibble(c) < 0) {
            length_ = 0; // a record cut short or with a foreign character
            continue;
        }
        line_[length_++] = c;
        if (length_ < 5)
            continue;
        const std::size_t len = static_cast<std::size_t>(hexCharToNibble(line_[4]));
        if (len > 8) {
            length_ = 0;
            continue;
        }
        if (length_ < 5 + 2 * len)
            continue;
        // The length digit says where the record ends: it is complete now,
        // whatever follows it.
        CanMessage frame;
        if (parseCanLine(line_, length_, &frame)) {
            if (stored < maxFrames)
                frames[stored++] = frame;
            else
                ++overflows_;
        }
        length_ = 0;
    }
    return stored;
}
