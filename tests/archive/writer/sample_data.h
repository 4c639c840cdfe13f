// Deterministic sample contents for archives: byte soup with the edge values
// 0 and 255, and word-like text that context models compress well.
#pragma once

#include <QByteArray>

#include <cstdint>

namespace zpaqtest {

inline uint32_t nextRandom(uint32_t &state)
{
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

inline QByteArray mixedBytes(int size, uint32_t seed)
{
    static const char alphabet[] = "abcdefgh ij\n\0\xff";
    QByteArray out;
    out.reserve(size);
    while (out.size() < size)
        out.append(alphabet[nextRandom(seed) % (sizeof alphabet - 1)]);
    return out;
}

inline QByteArray wordText(int size, uint32_t seed)
{
    static const char *const words[] = {
        "node", "object", "index", "subindex", "value", "write", "read", "device", "the",
        "of", "and", "to", "parameter", "heartbeat", "producer", "consumer", "mapping",
        "entry", "default", "access", "type", "unsigned", "integer", "string", "domain"};
    constexpr uint32_t count = sizeof words / sizeof words[0];
    QByteArray out;
    out.reserve(size + 16);
    while (out.size() < size) {
        const uint32_t r = nextRandom(seed);
        out += words[r % count];
        out += (r >> 12) % 9 == 0 ? "\n" : (r >> 12) % 7 == 0 ? "=0x" : " ";
        if ((r >> 12) % 7 == 0)
            out += QByteArray::number((r >> 16) % 4096, 16);
    }
    out.truncate(size);
    return out;
}

} // namespace zpaqtest
