#include "child_process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace zor::e2e {
namespace {

using namespace std::chrono_literals;

std::vector<std::string> MergedEnvironment(const std::map<std::string, std::optional<std::string>> &changes)
{
    std::vector<std::string> merged;
    for (char **entry = environ; *entry != nullptr; entry++) {
        std::string text = *entry;
        std::string name = text.substr(0, text.find('='));
        if (changes.find(name) == changes.end())
            merged.push_back(text);
    }
    for (const auto &[name, value] : changes) {
        if (value)
            merged.push_back(name + "=" + *value);
    }
    return merged;
}

std::vector<char *> Pointers(std::vector<std::string> &strings)
{
    std::vector<char *> pointers;
    for (std::string &s : strings)
        pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Only async-signal-safe calls between fork and exec.
[[noreturn]] void ExecChild(const char *program, char *const *argv, char *const *envp, const char *directory,
                            const char *stdoutPath, const char *stderrPath, int pipeWrite, int pipeFd)
{
    setpgid(0, 0);
    if (*directory != '\0' && chdir(directory) != 0)
        _exit(127);
    int in = open("/dev/null", O_RDONLY);
    int out = open(*stdoutPath != '\0' ? stdoutPath : "/dev/null", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(*stderrPath != '\0' ? stderrPath : "/dev/null", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0)
        _exit(127);
    dup2(in, STDIN_FILENO);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    int keep = STDERR_FILENO;
    if (pipeWrite >= 0) {
        if (pipeWrite != pipeFd)
            dup2(pipeWrite, pipeFd);
        int flags = fcntl(pipeFd, F_GETFD);
        fcntl(pipeFd, F_SETFD, flags & ~FD_CLOEXEC);
        keep = pipeFd;
        if (pipeFd > STDERR_FILENO + 1)
            close_range(STDERR_FILENO + 1, static_cast<unsigned>(pipeFd - 1), 0);
    }
    close_range(static_cast<unsigned>(keep + 1), ~0U, 0);
    execve(program, argv, envp);
    _exit(127);
}

} // namespace

ChildProcess::ChildProcess(const ChildOptions &options)
{
    if (options.argv.empty())
        return;
    std::vector<std::string> argvStrings = options.argv;
    std::vector<std::string> envStrings = MergedEnvironment(options.environment);
    std::vector<char *> argv = Pointers(argvStrings);
    std::vector<char *> envp = Pointers(envStrings);
    std::string program = argvStrings[0];
    if (program.find('/') == std::string::npos) {
        if (auto found = FindProgram(program))
            program = found->string();
    }
    const std::string directory = options.directory.string();
    const std::string stdoutPath = options.stdoutFile.string();
    const std::string stderrPath = options.stderrFile.string();

    int pipeEnds[2] = {-1, -1};
    if (options.pipeFd >= 0 && pipe2(pipeEnds, O_CLOEXEC) != 0)
        return;

    pid_t pid = fork();
    if (pid == 0) {
        ExecChild(program.c_str(), argv.data(), envp.data(), directory.c_str(), stdoutPath.c_str(), stderrPath.c_str(),
                  pipeEnds[1], options.pipeFd);
    }
    if (pipeEnds[1] >= 0)
        close(pipeEnds[1]);
    pipeRead_ = pipeEnds[0];
    if (pid < 0) {
        if (pipeRead_ >= 0)
            close(pipeRead_);
        pipeRead_ = -1;
        return;
    }
    // Also from here, so that Stop() finds the group even if the child has
    // not run yet.
    setpgid(pid, pid);
    pid_ = pid;
}

ChildProcess::~ChildProcess()
{
    Stop();
    if (pipeRead_ >= 0)
        close(pipeRead_);
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds timeout)
{
    if (status_ || pid_ <= 0)
        return status_;
    PollUntil(
        [&] {
            int status = 0;
            pid_t done = waitpid(pid_, &status, WNOHANG);
            if (done == pid_)
                status_ = status;
            return done != 0;
        },
        timeout, 10ms);
    return status_;
}

std::optional<std::string> ChildProcess::ReadPipeLine(std::chrono::milliseconds timeout)
{
    if (pipeRead_ < 0)
        return std::nullopt;
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return std::nullopt;
        pollfd waiting{pipeRead_, POLLIN, 0};
        int ready = poll(&waiting, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return std::nullopt;
        char c = 0;
        ssize_t got = read(pipeRead_, &c, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return std::nullopt;
        if (c == '\n')
            return line;
        line.push_back(c);
    }
}

void ChildProcess::Stop(std::chrono::milliseconds grace)
{
    if (pid_ <= 0)
        return;
    // The group is signalled only while its leader is not reaped, so that its
    // id cannot have passed to anybody else.
    if (!status_) {
        kill(-pid_, SIGTERM);
        if (!Wait(grace)) {
            kill(-pid_, SIGKILL);
            Wait(10000ms);
        }
    }
    pid_ = -1;
}

CommandResult RunCommand(const std::vector<std::string> &argv,
                         const std::map<std::string, std::optional<std::string>> &environment,
                         std::chrono::milliseconds timeout)
{
    CommandResult result;
    char pattern[] = "/tmp/zor-command-XXXXXX";
    int fd = mkstemp(pattern);
    if (fd < 0)
        return result;
    close(fd);
    {
        ChildOptions options;
        options.argv = argv;
        options.environment = environment;
        options.stdoutFile = pattern;
        ChildProcess child(options);
        if (std::optional<int> status = child.Wait(timeout))
            result.status = *status;
    }
    result.output = ReadFile(pattern).value_or("");
    unlink(pattern);
    return result;
}

std::optional<std::string> ReadFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool ProcessAlive(pid_t pid)
{
    if (pid <= 0 || kill(pid, 0) != 0)
        return false;
    // A zombie that nobody reaps has ended all the same.
    std::optional<std::string> stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
    if (!stat)
        return false;
    std::size_t close = stat->rfind(')');
    return close == std::string::npos || close + 2 >= stat->size() || (*stat)[close + 2] != 'Z';
}

void EndForeignProcess(pid_t pid)
{
    if (!ProcessAlive(pid))
        return;
    kill(pid, SIGTERM);
    if (!PollUntil([&] { return !ProcessAlive(pid); }, 3000ms)) {
        kill(pid, SIGKILL);
        PollUntil([&] { return !ProcessAlive(pid); }, 5000ms);
    }
}

std::optional<std::filesystem::path> FindProgram(const std::string &name)
{
    const char *path = std::getenv("PATH");
    std::stringstream folders(path != nullptr ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        std::filesystem::path candidate = std::filesystem::path(folder.empty() ? "." : folder) / name;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return std::nullopt;
}

} // namespace zor::e2e
