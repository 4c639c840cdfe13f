// CAN frames as the USB-CAN adapter writes them on its serial line: "t", three hex
// digits of identifier, one length digit and two digits per byte, ended by CR.
// This is the virtual adapter's own codec; it shares nothing with the stack's driver.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace veqtest {

// One classic 11-bit data frame of up to 8 bytes.
struct CanFrame {
    uint16_t id = 0;
    uint8_t len = 0;
    std::array<uint8_t, 8> data{};

    CanFrame() = default;
    CanFrame(uint16_t cobId, std::initializer_list<uint8_t> bytes);
    CanFrame(uint16_t cobId, const std::vector<uint8_t>& bytes);

    std::vector<uint8_t> bytes() const { return {data.begin(), data.begin() + len}; }
    bool operator==(const CanFrame& other) const;
};

// "t581843..." without the trailing CR; upper-case digits unless lowerCase.
std::string frameLine(const CanFrame& frame, bool lowerCase = false);
std::string frameLine(uint16_t id, std::initializer_list<uint8_t> bytes);

// Parses one "t" line (no CR). Accepts upper- and lower-case digits; refuses a wrong
// length digit, a non-hexadecimal digit, or a line whose size does not match its length.
bool parseFrameLine(const std::string& line, CanFrame& frame);

// Little-endian helpers for SDO payloads.
uint32_t readLe32(const uint8_t* bytes);
void writeLe32(uint8_t* bytes, uint32_t value);

} // namespace veqtest
