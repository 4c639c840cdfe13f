// Warnings gathered during one extraction, from any thread. Any warning
// turns the result into 1.
#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace zpaq {

class Warnings
{
public:
    void add(const std::string &text)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_texts.push_back(text);
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
