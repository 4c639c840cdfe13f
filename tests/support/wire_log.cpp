// Line log of the virtual adapter with condition-variable waits.
#include "wire_log.h"

#include <algorithm>

namespace veqtest {

void WireLog::add(WireDirection direction, std::string text)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        lines_.push_back({direction, std::move(text), Clock::now()});
    }
    changed_.notify_all();
}

void WireLog::clear()
{
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.clear();
}

size_t WireLog::size() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_.size();
}

std::vector<WireLine> WireLog::lines() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
}

std::vector<std::string> WireLog::texts(WireDirection direction) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> texts;
    for (const WireLine& line : lines_) {
        if (line.direction == direction)
            texts.push_back(line.text);
    }
    return texts;
}

std::optional<size_t> WireLog::findLocked(WireDirection direction, const Match& match,
                                          size_t from) const
{
    for (size_t i = from; i < lines_.size(); ++i) {
        if (lines_[i].direction == direction && match(lines_[i].text))
            return i;
    }
    return std::nullopt;
}

std::optional<size_t> WireLog::waitFor(WireDirection direction, const Match& match,
                                       std::chrono::milliseconds timeout, size_t from) const
{
    std::unique_lock<std::mutex> lock(mutex_);
    std::optional<size_t> found;
    changed_.wait_for(lock, timeout, [&] {
        found = findLocked(direction, match, from);
        return found.has_value();
    });
    return found;
}

std::optional<size_t> WireLog::waitFor(WireDirection direction, const std::string& text,
                                       std::chrono::milliseconds timeout, size_t from) const
{
    return waitFor(direction, [&text](const std::string& line) { return line == text; }, timeout,
                   from);
}

bool WireLog::waitForCount(WireDirection direction, size_t count,
                           std::chrono::milliseconds timeout) const
{
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] {
        return static_cast<size_t>(std::count_if(lines_.begin(), lines_.end(), [&](const WireLine& l) {
                   return l.direction == direction;
               })) >= count;
    });
}

} // namespace veqtest
