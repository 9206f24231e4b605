// The clocks that the startup benchmark and the programs it starts share.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>

namespace zor::bench {

inline std::int64_t Nanoseconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

inline std::int64_t MonotonicNs()
{
    return Nanoseconds(CLOCK_MONOTONIC);
}

// CPU time this process has used so far, all threads.
inline std::int64_t ProcessCpuNs()
{
    return Nanoseconds(CLOCK_PROCESS_CPUTIME_ID);
}

// The line a measured program writes once its window is on screen.
inline void ReportShown()
{
    std::printf("shown %lld %lld\n", static_cast<long long>(MonotonicNs()), static_cast<long long>(ProcessCpuNs()));
    std::fflush(stdout);
}

} // namespace zor::bench
