// The adapter's frame line format, encoded and parsed for the virtual adapter.
#include "can_frame_line.h"

#include <algorithm>

namespace veqtest {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

char hexDigit(unsigned value, bool lowerCase)
{
    static const char upper[] = "0123456789ABCDEF";
    static const char lower[] = "0123456789abcdef";
    return (lowerCase ? lower : upper)[value & 0xF];
}

} // namespace

CanFrame::CanFrame(uint16_t cobId, std::initializer_list<uint8_t> bytes)
    : CanFrame(cobId, std::vector<uint8_t>(bytes))
{
}

CanFrame::CanFrame(uint16_t cobId, const std::vector<uint8_t>& bytes)
    : id(cobId), len(static_cast<uint8_t>(std::min<size_t>(bytes.size(), 8)))
{
    std::copy(bytes.begin(), bytes.begin() + len, data.begin());
}

bool CanFrame::operator==(const CanFrame& other) const
{
    return id == other.id && len == other.len
        && std::equal(data.begin(), data.begin() + len, other.data.begin());
}

std::string frameLine(const CanFrame& frame, bool lowerCase)
{
    std::string line = "t";
    line += hexDigit(frame.id >> 8, lowerCase);
    line += hexDigit(frame.id >> 4, lowerCase);
    line += hexDigit(frame.id, lowerCase);
    line += hexDigit(frame.len, lowerCase);
    for (int i = 0; i < frame.len; ++i) {
        line += hexDigit(frame.data[i] >> 4, lowerCase);
        line += hexDigit(frame.data[i], lowerCase);
    }
    return line;
}

std::string frameLine(uint16_t id, std::initializer_list<uint8_t> bytes)
{
    return frameLine(CanFrame(id, bytes));
}

bool parseFrameLine(const std::string& line, CanFrame& frame)
{
    if (line.size() < 5 || line[0] != 't')
        return false;
    int digits[4];
    for (int i = 0; i < 4; ++i) {
        digits[i] = hexValue(line[1 + i]);
        if (digits[i] < 0)
            return false;
    }
    const int len = digits[3];
    if (digits[0] > 7 || len > 8 || line.size() != static_cast<size_t>(5 + 2 * len))
        return false;
    CanFrame parsed;
    parsed.id = static_cast<uint16_t>((digits[0] << 8) | (digits[1] << 4) | digits[2]);
    parsed.len = static_cast<uint8_t>(len);
    for (int i = 0; i < len; ++i) {
        const int high = hexValue(line[5 + 2 * i]);
        const int low = hexValue(line[6 + 2 * i]);
        if (high < 0 || low < 0)
            return false;
        parsed.data[i] = static_cast<uint8_t>((high << 4) | low);
    }
    frame = parsed;
    return true;
}

uint32_t readLe32(const uint8_t* bytes)
{
    return uint32_t(bytes[0]) | (uint32_t(bytes[1]) << 8) | (uint32_t(bytes[2]) << 16)
        | (uint32_t(bytes[3]) << 24);
}

void writeLe32(uint8_t* bytes, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

} // namespace veqtest
