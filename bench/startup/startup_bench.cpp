// Startup time of the setup program against a bare Qt program.
//
//   zor-startup-bench [--runs N] SETUP_PROGRAM BARE_PROGRAM
//
// Starts each program N times, alternately, on Qt's offscreen platform. Each
// program writes "shown <ns> <cpu ns>" on standard output (the shared
// monotonic clock, and its own CPU time)
// once its window is on screen; a sample is the time from just before the
// program was started until that moment. Prints on one line the ratio of the
// setup program's median to the bare program's, the medians, and the same for
// the CPU time each had used by then (which other load on the machine
// disturbs less):
//
//   startup_vs_bare_qt: 1.23x (until shown, median of 11: zor-setup 150 ms,
//   bare Qt 122 ms; CPU 1.20x: 60 ms, 50 ms)

#include "startup_clock.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

constexpr std::int64_t kTimeoutNs = 60'000'000'000;

struct Sample {
    std::int64_t wallNs = 0; // from just before the start until shown
    std::int64_t cpuNs = 0;  // CPU time the program had used by then
};

// Runs the program once in the current directory; returns the times until it
// reported its window shown, or nothing when it did not.
std::optional<Sample> TimeOneStart(const std::string &program)
{
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return std::nullopt;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);

    std::vector<char *> argv{const_cast<char *>(program.c_str()), nullptr};
    pid_t pid = 0;
    const std::int64_t started = zor::bench::MonotonicNs();
    int error = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (error != 0) {
        close(out[0]);
        std::fprintf(stderr, "cannot start %s: %s\n", program.c_str(), std::strerror(error));
        return std::nullopt;
    }

    std::string text;
    char buffer[256];
    bool timedOut = false;
    for (;;) {
        std::int64_t left = started + kTimeoutNs - zor::bench::MonotonicNs();
        if (left <= 0) {
            timedOut = true;
            break;
        }
        pollfd waiting{out[0], POLLIN, 0};
        int ready = poll(&waiting, 1, static_cast<int>(left / 1'000'000) + 1);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            continue;
        ssize_t got = read(out[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    close(out[0]);
    if (timedOut)
        kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }

    long long shown = 0;
    long long cpu = 0;
    std::size_t at = text.find("shown ");
    if (timedOut || at == std::string::npos || std::sscanf(text.c_str() + at, "shown %lld %lld", &shown, &cpu) != 2) {
        std::fprintf(stderr, "%s did not report its window shown%s\n", program.c_str(), timedOut ? " in time" : "");
        return std::nullopt;
    }
    return Sample{shown - started, cpu};
}

double MedianMs(std::vector<std::int64_t> samples)
{
    std::sort(samples.begin(), samples.end());
    std::size_t middle = samples.size() / 2;
    double ns = samples.size() % 2 == 1
                    ? static_cast<double>(samples[middle])
                    : (static_cast<double>(samples[middle - 1]) + static_cast<double>(samples[middle])) / 2.0;
    return ns / 1e6;
}

int Usage()
{
    std::fprintf(stderr, "usage: zor-startup-bench [--runs N] SETUP_PROGRAM BARE_PROGRAM\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    int runs = 11;
    std::vector<std::string> programs;
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) {
            runs = std::atoi(argv[++i]);
            if (runs < 1)
                return Usage();
        } else {
            programs.push_back(std::filesystem::absolute(arg).string());
        }
    }
    if (programs.size() != 2)
        return Usage();

    // Both programs start in an empty folder, with drive C: in a folder of
    // their own, on the offscreen platform.
    std::error_code error;
    std::filesystem::path work =
        std::filesystem::temp_directory_path() / ("zor-startup-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(work / "Program Files", error);
    if (error || chdir(work.c_str()) != 0) {
        std::fprintf(stderr, "cannot prepare %s\n", work.c_str());
        return 1;
    }
    setenv("ZOR_SETUP_DRIVE_C", work.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);

    std::vector<std::int64_t> wall[2];
    std::vector<std::int64_t> cpu[2];
    bool failed = false;
    // The first round warms the caches and is not counted.
    for (int round = 0; round <= runs && !failed; round++) {
        for (int k = 0; k < 2 && !failed; k++) {
            int which = (round + k) % 2;
            std::optional<Sample> sample = TimeOneStart(programs[which]);
            if (!sample) {
                failed = true;
            } else if (round > 0) {
                wall[which].push_back(sample->wallNs);
                cpu[which].push_back(sample->cpuNs);
            }
        }
    }
    if (chdir("/") == 0)
        std::filesystem::remove_all(work, error);
    if (failed)
        return 1;

    const double setup = MedianMs(wall[0]);
    const double bare = MedianMs(wall[1]);
    const double setupCpu = MedianMs(cpu[0]);
    const double bareCpu = MedianMs(cpu[1]);
    std::printf("startup_vs_bare_qt: %.2fx (until shown, median of %d: zor-setup %.0f ms, bare Qt %.0f ms; "
                "CPU %.2fx: %.0f ms, %.0f ms)\n",
                setup / bare, runs, setup, bare, setupCpu / bareCpu, setupCpu, bareCpu);
    return 0;
}
