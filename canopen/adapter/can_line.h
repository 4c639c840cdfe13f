// The adapter's ASCII line format, encoded and parsed in one place.
//
// Every line ends with a carriage return (CR, 13). Lines to the adapter:
//   "O"     open the CAN channel         "C"  close it
//   "S5"    set the CAN bit rate by one rate character
//   "t" iii l dd..  data frame: three hex digits of the 11-bit identifier
//           (most significant first), one length digit 0-8, two digits per
//           data byte (high nibble first). Sent digits are upper case.
// Examples: {0x601, 8, 40 00 10 00 00 00 00 00} is "t60184000100000000000";
//           {0x701, 0} is "t7010".
// Received text: data frames in the same form, digits in either case, e.g.
// "t5814a1b2c3d4" is {0x581, 4, A1 B2 C3 D4}. Anything else (status replies,
// other record letters, BEL error replies, line feeds) is skipped. A "t"
// always starts a new record, and a record is complete with the last data
// digit its length asks for, whether or not the CR follows; a record with a
// non-hexadecimal character before that point or a length above 8 is
// dropped. A record may arrive split across reads.
#pragma once

#include "canopen/can_message.h"

#include <cstddef>
#include <cstdint>

// "t" + 3 + 1 + 16 digits: the longest legal line without its CR.
constexpr std::size_t kCanLineMax = 21;

// 0 to 15, or -1 for a character that is not a hexadecimal digit.
int hexCharToNibble(char c);
// Upper-case hexadecimal character of the low four bits.
char nibbleToHexChar(unsigned value);

// Writes the frame's line with its CR into out (kCanLineMax + 1 bytes);
// returns its length, 0 for len above 8 or a remote request, which the line
// format cannot carry.
std::size_t encodeCanLine(const CanMessage &frame, char *out);

// Parses one record that begins with "t" (digits after the last data byte
// are ignored); false when it is not a valid record or is cut short.
bool parseCanLine(const char *line, std::size_t length, CanMessage *frame);

// Assembles received bytes into frames. Keeps the part of a record that
// has not arrived yet for the next feed.
class CanLineParser {
public:
    // Parses bytes; stores at most maxFrames frames and returns how many.
    // Frames past maxFrames are dropped and counted.
    int feed(const char *bytes, std::size_t count, CanMessage *frames, int maxFrames);
    // Complete frames dropped because the caller had no room for them.
    uint32_t overflowCount() const { return overflows_; }
    void reset();

private:
    char line_[kCanLineMax];
    std::size_t length_ = 0;
    uint32_t overflows_ = 0;
};
