// A bounded poll for tests of the stack's threads and driver, whose state has
// no wait of its own: true once the condition holds, false after 3 s.
#pragma once

#include <chrono>
#include <thread>

template <typename Predicate>
bool waitFor(Predicate predicate)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (!predicate()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
