// The small object dictionary of one virtual CANopen node: (index, subindex) to bytes,
// with an access right and a fixed or variable size. Access checks return SDO abort codes.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace veqtest {

enum class Access { ReadWrite, ReadOnly, WriteOnly };

struct VirtualEntry {
    std::vector<uint8_t> value;
    Access access = Access::ReadWrite;
    // Fixed-size entries (numbers) refuse a download of another length; variable ones
    // (strings, DOMAINs) take any length up to maxSize.
    bool fixedSize = true;
    size_t maxSize = 0;
};

class VirtualObjectDictionary {
public:
    // Largest download a variable-size entry takes unless told otherwise.
    static constexpr size_t DefaultMaxSize = 1 << 20;

    // Adds or replaces an entry (VirtualNode has typed shorthands).
    void set(uint16_t index, uint8_t subIndex, VirtualEntry entry);
    void remove(uint16_t index, uint8_t subIndex);

    bool contains(uint16_t index, uint8_t subIndex) const;
    // The stored bytes, or nothing when the entry does not exist.
    std::optional<std::vector<uint8_t>> value(uint16_t index, uint8_t subIndex) const;

    // SDO server side: 0 on success, else the abort code (no such object / subindex,
    // write-only, read-only, wrong length).
    uint32_t read(uint16_t index, uint8_t subIndex, std::vector<uint8_t>& out) const;
    // Checks a download before any data arrives; size is known only when announced.
    uint32_t checkWrite(uint16_t index, uint8_t subIndex, std::optional<size_t> size) const;
    uint32_t write(uint16_t index, uint8_t subIndex, const std::vector<uint8_t>& bytes);
    // Size of a fixed-size entry; nothing for variable or missing entries.
    std::optional<size_t> fixedSize(uint16_t index, uint8_t subIndex) const;
    // Most bytes a download into the entry may carry (0 for a missing entry).
    size_t sizeLimit(uint16_t index, uint8_t subIndex) const;

private:
    uint32_t find(uint16_t index, uint8_t subIndex, const VirtualEntry** entry) const;

    std::map<std::pair<uint16_t, uint8_t>, VirtualEntry> entries_;
};

} // namespace veqtest
