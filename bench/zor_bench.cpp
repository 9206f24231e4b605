// Timing and memory harness for bench/run.
//
//     zor-bench expand ours|libmspack SOURCE DEST REPEATS   best seconds of REPEATS expansions
//     zor-bench peak ours|libmspack SOURCE DEST             one expansion; peak RSS in KB
//     zor-bench command REPEATS PROGRAM ARGS...             best wall seconds of running a program
//
// Every figure goes to standard output on one line; failures go to standard
// error with a non-zero exit.

#include "src/platform/win32.h"

#include <mspack.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

bool ExpandOurs(const std::string &source, const std::string &destination)
{
    OFSTRUCT info;
    std::string from = source;
    std::string to = destination;
    INT in = LZOpenFileA(from.data(), &info, OF_READ | OF_SHARE_DENY_WRITE);
    if (in < 0)
        return false;
    INT out = LZOpenFileA(to.data(), &info, OF_CREATE | OF_WRITE | OF_SHARE_DENY_WRITE);
    if (out < 0) {
        LZClose(in);
        return false;
    }
    LONG copied = LZCopy(in, out);
    LZClose(in);
    LZClose(out);
    return copied >= 0;
}

bool ExpandLibmspack(const std::string &source, const std::string &destination)
{
    msszdd_decompressor *decompressor = mspack_create_szdd_decompressor(nullptr);
    if (decompressor == nullptr)
        return false;
    int error = decompressor->decompress(decompressor, const_cast<char *>(source.c_str()),
                                         const_cast<char *>(destination.c_str()));
    mspack_destroy_szdd_decompressor(decompressor);
    return error == MSPACK_ERR_OK;
}

bool Expand(const std::string &tool, const std::string &source, const std::string &destination)
{
    if (tool == "ours")
        return ExpandOurs(source, destination);
    if (tool == "libmspack")
        return ExpandLibmspack(source, destination);
    std::fprintf(stderr, "zor-bench: unknown tool %s\n", tool.c_str());
    std::exit(2);
}

int Fail(const char *what)
{
    std::fprintf(stderr, "zor-bench: %s\n", what);
    return 1;
}

double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 6 && std::strcmp(argv[1], "expand") == 0) {
        int repeats = std::atoi(argv[5]);
        double best = 1e30;
        for (int i = 0; i < repeats; i++) {
            auto start = Clock::now();
            if (!Expand(argv[2], argv[3], argv[4]))
                return Fail("expansion failed");
            best = std::min(best, Seconds(Clock::now() - start));
        }
        std::printf("%.6f\n", best);
        return 0;
    }
    if (argc == 5 && std::strcmp(argv[1], "peak") == 0) {
        if (!Expand(argv[2], argv[3], argv[4]))
            return Fail("expansion failed");
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("%ld\n", usage.ru_maxrss);
        return 0;
    }
    if (argc >= 4 && std::strcmp(argv[1], "command") == 0) {
        int repeats = std::atoi(argv[2]);
        double best = 1e30;
        for (int i = 0; i < repeats; i++) {
            auto start = Clock::now();
            pid_t child = fork();
            if (child == 0) {
                execvp(argv[3], argv + 3);
                _exit(127);
            }
            int status = 0;
            if (child < 0 || waitpid(child, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
                return Fail("the command failed");
            best = std::min(best, Seconds(Clock::now() - start));
        }
        std::printf("%.6f\n", best);
        return 0;
    }
    return Fail("usage: zor-bench expand|peak|command ...");
}
