// Warnings gathered during one extraction, from any thread. Any warning
// turns the result into 1. Texts carry names from the archive, so control
// characters in them are shown escaped: an archive cannot print lines of
// its own.
#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace zpaq {

/// `text` with control characters shown as \xNN.
inline std::string printable(const std::string &text)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            out += "\\x";
            out += hex[u >> 4];
            out += hex[u & 15];
        } else {
            out += c;
        }
    }
    return out;
}

class Warnings
{
public:
    void add(const std::string &text)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_texts.push_back(printable(text));
    }
    std::vector<std::string> texts() const
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_texts;
    }

private:
    mutable std::mutex m_lock;
    std::vector<std::string> m_texts;
};

} // namespace zpaq
