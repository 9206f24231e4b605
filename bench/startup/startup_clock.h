// The clock that the startup benchmark and the programs it starts share.
#pragma once

#include <cstdint>
#include <ctime>

namespace zor::bench {

inline std::int64_t MonotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

} // namespace zor::bench
