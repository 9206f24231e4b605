// Template definitions for child_process.h.
#pragma once

#include <thread>

namespace zor::e2e {

template <typename Predicate>
bool PollUntil(Predicate predicate, std::chrono::milliseconds timeout, std::chrono::milliseconds step)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (predicate())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(step);
    }
}

} // namespace zor::e2e
