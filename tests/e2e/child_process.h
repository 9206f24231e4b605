// Starting, watching and ending the processes that the end-to-end tests need
// (the setup program, Xvfb, xdotool, import). Every process started here is
// ended by its owner's destructor, with its whole process group.
#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace zor::e2e {

struct ChildOptions {
    std::vector<std::string> argv;
    // Changes to the test's environment: a value sets, nullopt removes.
    std::map<std::string, std::optional<std::string>> environment;
    std::filesystem::path directory; // empty: the test's current directory
    // Files for the child's standard output and error; empty: /dev/null. The
    // child never shares the test runner's output.
    std::filesystem::path stdoutFile;
    std::filesystem::path stderrFile;
    // A pipe whose write end the child gets as this descriptor (for Xvfb's
    // -displayfd), or -1 for none.
    int pipeFd = -1;
};

class ChildProcess {
  public:
    explicit ChildProcess(const ChildOptions &options);
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

    // Waits up to timeout for the child to end; its wait status, or nothing
    // while it is still running.
    std::optional<int> Wait(std::chrono::milliseconds timeout);

    // Reads one line from the pipe (see ChildOptions::pipeFd) within timeout.
    std::optional<std::string> ReadPipeLine(std::chrono::milliseconds timeout);

    // Ends the child and its process group: SIGTERM, then SIGKILL after grace.
    void Stop(std::chrono::milliseconds grace = std::chrono::milliseconds(2000));

  private:
    pid_t pid_ = -1;
    int pipeRead_ = -1;
    std::optional<int> status_;
};

struct CommandResult {
    int status = -1; // wait status; -1 when it could not run or timed out
    std::string output;
};

// Runs a short command to its end (killed after timeout) and returns its
// standard output.
CommandResult RunCommand(const std::vector<std::string> &argv,
                         const std::map<std::string, std::optional<std::string>> &environment,
                         std::chrono::milliseconds timeout = std::chrono::milliseconds(20000));

// The file's whole content, or nothing when it cannot be read.
std::optional<std::string> ReadFile(const std::filesystem::path &path);

// Polls until the predicate holds or the deadline passes.
template <typename Predicate>
bool PollUntil(Predicate predicate, std::chrono::milliseconds timeout,
               std::chrono::milliseconds step = std::chrono::milliseconds(50));

// True while a process with this id exists and is not a zombie.
bool ProcessAlive(pid_t pid);

// Ends a process that is not our child (a detached program): SIGTERM, then
// SIGKILL, and waits until it is gone.
void EndForeignProcess(pid_t pid);

// Searches the PATH.
std::optional<std::filesystem::path> FindProgram(const std::string &name);

} // namespace zor::e2e

#include "child_process_inl.h"
