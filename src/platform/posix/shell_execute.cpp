// ShellExecuteA on POSIX: "open" starts a file as its kind asks.
//
//   a Windows program (starts with "MZ")      through wine, when it is on the PATH
//   a native program (ELF, or a "#!" script)  directly, made executable for its owner
//   any other file                            through xdg-open, when it is on the PATH
//
// The program runs detached: the caller forks a child that starts a new
// session and forks the program itself, then exits at once and is reaped, so
// the program is never the caller's child and never a zombie. The program's
// standard streams are /dev/null, so it cannot hold the caller's output open.
// Whether exec succeeded comes back through a close-on-exec pipe: it closes
// empty when the program starts, or carries the errno of the step that failed.
#include "src/platform/host_script.h"
#include "src/platform/posix/host_path.h"
#include "src/platform/win32.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// What ShellExecuteA returns when it cannot tell whether the program started
// and when it did: any value above 32 means success.
constexpr int kStarted = 42;

struct Outcome {
    int result = kStarted;
    std::string why;  // for a failure
};

Outcome Failure(int result, std::string why) { return {result, std::move(why)}; }

std::string ErrorText(int error) { return std::strerror(error); }

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    ~Fd() { Close(); }
    int Get() const { return fd_; }
    void Reset(int fd = -1)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    void Close() { Reset(); }

private:
    int fd_;
};

// Windows-style path to host path, for the file and the working directory.
std::optional<std::string> HostPathOf(const char *path) { return zor::posix::HostPath(path); }

// The program of that name in one of the PATH's folders, if any.
std::optional<std::string> FindOnPath(std::string_view name)
{
    const char *path = std::getenv("PATH");
    if (!path)
        return std::nullopt;
    std::string_view folders(path);
    while (true) {
        const std::size_t colon = folders.find(':');
        std::string folder(folders.substr(0, colon));
        if (folder.empty())
            folder = ".";
        const std::string candidate = folder + "/" + std::string(name);
        struct stat info {};
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0)
            return candidate;
        if (colon == std::string_view::npos)
            return std::nullopt;
        folders.remove_prefix(colon + 1);
    }
}

// Parameters as a Windows command line gives them: separated by blanks, with
// double quotes around a parameter that holds blanks.
std::vector<std::string> SplitParameters(const char *parameters)
{
    std::vector<std::string> words;
    if (!parameters)
        return words;
    std::string word;
    bool inWord = false, quoted = false;
    for (const char *p = parameters; *p; ++p) {
        if (*p == '"') {
            quoted = !quoted;
            inWord = true;
        } else if ((*p == ' ' || *p == '\t') && !quoted) {
            if (inWord)
                words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            word += *p;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// The step of the child that failed, with its errno, as sent through the pipe.
enum Step : int { kForkStep = 1, kDirectoryStep, kNullStep, kExecStep };
struct ChildFailure {
    int step;
    int error;
};

void Report(int fd, Step step, int error)
{
    const ChildFailure failure{step, error};
    // Nothing can be done in the child when this fails: the parent then sees
    // the pipe close empty.
    [[maybe_unused]] const ssize_t written = ::write(fd, &failure, sizeof failure);
}

void CloseFrom(unsigned first, unsigned last, long openMax)
{
    if (first > last)
        return;
    if (syscall(SYS_close_range, first, last, 0) == 0)
        return;
    for (long fd = first; fd <= static_cast<long>(last) && fd < openMax; ++fd)
        ::close(static_cast<int>(fd));
}

// The program's side of the double fork. Only async-signal-safe calls: the
// caller may have other threads.
[[noreturn]] void RunDetached(char *const argv[], const char *directory, int reportFd, long openMax)
{
    setsid();
    const pid_t program = fork();
    if (program < 0) {
        Report(reportFd, kForkStep, errno);
        _exit(1);
    }
    if (program > 0)
        _exit(0);

    struct sigaction defaults {};
    defaults.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal) {
        if (signal != SIGKILL && signal != SIGSTOP)
            sigaction(signal, &defaults, nullptr);
    }
    if (directory && chdir(directory) != 0) {
        Report(reportFd, kDirectoryStep, errno);
        _exit(127);
    }
    const int null = open("/dev/null", O_RDWR);
    if (null < 0) {
        Report(reportFd, kNullStep, errno);
        _exit(127);
    }
    dup2(null, STDIN_FILENO);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    // Nothing else of the caller's goes with the program, the report pipe
    // aside, which closes on exec.
    CloseFrom(3, static_cast<unsigned>(reportFd) - 1, openMax);
    CloseFrom(static_cast<unsigned>(reportFd) + 1, ~0U, openMax);

    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    execv(argv[0], argv);
    Report(reportFd, kExecStep, errno);
    _exit(127);
}

int ResultOfExecError(int error)
{
    switch (error) {
    case ENOENT:
    case ELOOP:
        return SE_ERR_FNF;
    case ENOTDIR:
    case ENAMETOOLONG:
        return SE_ERR_PNF;
    case EACCES:
    case EPERM:
        return SE_ERR_ACCESSDENIED;
    case ETXTBSY:
        return SE_ERR_SHARE;
    case ENOMEM:
    case EAGAIN:
        return SE_ERR_OOM;
    default:
        return SE_ERR_NOASSOC;
    }
}

Outcome Start(const std::vector<std::string> &argv, const std::optional<std::string> &directory)
{
    // Everything the child needs is made now: after fork it may not allocate.
    std::vector<char *> args;
    for (const std::string &arg : argv)
        args.push_back(const_cast<char *>(arg.c_str()));
    args.push_back(nullptr);
    const char *workingDirectory = directory ? directory->c_str() : nullptr;
    long openMax = sysconf(_SC_OPEN_MAX);
    if (openMax < 0 || openMax > 65536)
        openMax = 65536;

    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return Failure(SE_ERR_OOM, "cannot make a pipe: " + ErrorText(errno));
    Fd readEnd(ends[0]), writeEnd(ends[1]);
    if (writeEnd.Get() <= STDERR_FILENO) {
        // The program's standard streams are about to be replaced: keep the
        // report pipe clear of them (a caller may have closed its own).
        const int moved = fcntl(writeEnd.Get(), F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
        if (moved < 0)
            return Failure(SE_ERR_OOM, "cannot make a pipe: " + ErrorText(errno));
        writeEnd.Reset(moved);
    }

    // No signal handler may run in the child between fork and exec.
    sigset_t all, previous;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &previous);
    const pid_t child = fork();
    if (child == 0)
        RunDetached(args.data(), workingDirectory, writeEnd.Get(), openMax);
    const int forkError = errno;
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    writeEnd.Close();
    if (child < 0)
        return Failure(SE_ERR_OOM, "cannot start a process: " + ErrorText(forkError));

    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }

    // The pipe closes empty once the program has started. The wait is
    // bounded, for a program that somehow never reaches exec.
    ChildFailure failure{};
    std::size_t got = 0;
    pollfd waitFor{readEnd.Get(), POLLIN, 0};
    while (got < sizeof failure) {
        const int ready = poll(&waitFor, 1, 10000);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        const ssize_t n = ::read(readEnd.Get(), reinterpret_cast<char *>(&failure) + got, sizeof failure - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    if (got < sizeof failure)
        return {};

    const std::string reason = ErrorText(failure.error);
    switch (failure.step) {
    case kForkStep:
        return Failure(SE_ERR_OOM, "cannot start a process: " + reason);
    case kDirectoryStep:
        return Failure(failure.error == EACCES ? SE_ERR_ACCESSDENIED : SE_ERR_PNF,
                       "cannot enter the working directory: " + reason);
    case kNullStep:
        return Failure(SE_ERR_OOM, "cannot open /dev/null: " + reason);
    default:
        return Failure(ResultOfExecError(failure.error), "cannot run " + argv[0] + ": " + reason);
    }
}

// The result for a file or folder that cannot be looked at.
Outcome Missing(const std::string &hostPath, int error, const char *what)
{
    if (error == ENOENT) {
        // A missing file in a folder that exists, or a missing folder.
        const std::size_t slash = hostPath.find_last_of('/');
        const std::string parent = slash == 0 ? "/" : hostPath.substr(0, slash);
        struct stat info {};
        if (slash != std::string::npos && stat(parent.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
            return Failure(SE_ERR_FNF, std::string(what) + " " + hostPath + " does not exist");
        return Failure(SE_ERR_PNF, "the folder of " + hostPath + " does not exist");
    }
    if (error == ENOTDIR)
        return Failure(SE_ERR_PNF, "a folder on the way to " + hostPath + " is a file");
    if (error == EACCES || error == EPERM)
        return Failure(SE_ERR_ACCESSDENIED, "access to " + hostPath + " is denied");
    return Failure(SE_ERR_FNF, std::string(what) + " " + hostPath + ": " + ErrorText(error));
}

Outcome Open(const char *verb, const char *file, const char *parameters, const char *directory)
{
    if (verb && !EqualsIgnoringCase(verb, "open"))
        return Failure(SE_ERR_NOASSOC, std::string("the verb \"") + verb + "\" is not supported, only \"open\"");
    if (!file || !*file)
        return Failure(SE_ERR_FNF, "no file given");

    std::optional<std::string> workingDirectory;
    if (directory && *directory) {
        workingDirectory = HostPathOf(directory);
        if (!workingDirectory)
            return Failure(SE_ERR_PNF, std::string("the working directory ") + directory + " is on no host folder");
        struct stat info {};
        if (stat(workingDirectory->c_str(), &info) != 0) {
            const int error = errno;
            if (error == EACCES || error == EPERM)
                return Failure(SE_ERR_ACCESSDENIED, "access to the working directory " + *workingDirectory +
                                                        " is denied");
            return Failure(SE_ERR_PNF, "the working directory " + *workingDirectory + " does not exist");
        }
        if (!S_ISDIR(info.st_mode))
            return Failure(SE_ERR_PNF, "the working directory " + *workingDirectory + " is not a folder");
    }

    const std::optional<std::string> hostFile = HostPathOf(file);
    if (!hostFile)
        return Failure(SE_ERR_PNF, "the path is on no host folder");
    struct stat info {};
    if (stat(hostFile->c_str(), &info) != 0)
        return Missing(*hostFile, errno, "the file");
    if (S_ISDIR(info.st_mode))
        return Failure(SE_ERR_NOASSOC, *hostFile + " is a folder");
    if (!S_ISREG(info.st_mode))
        return Failure(SE_ERR_NOASSOC, *hostFile + " is not a regular file");

    unsigned char head[4] = {};
    {
        Fd fd(open(hostFile->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
        if (fd.Get() < 0)
            return Missing(*hostFile, errno, "the file");
        ssize_t n;
        while ((n = ::read(fd.Get(), head, sizeof head)) < 0 && errno == EINTR) {
        }
    }

    std::vector<std::string> argv;
    if (head[0] == 'M' && head[1] == 'Z') {
        const std::optional<std::string> wine = FindOnPath("wine");
        if (!wine)
            return Failure(SE_ERR_NOASSOC, *hostFile + " is a Windows program and wine is not on the PATH");
        argv = {*wine, *hostFile};
    } else if ((head[0] == 0x7F && head[1] == 'E' && head[2] == 'L' && head[3] == 'F') ||
               (head[0] == '#' && head[1] == '!')) {
        // Windows runs any program file; here it must be executable.
        if (!(info.st_mode & S_IXUSR) && chmod(hostFile->c_str(), (info.st_mode & 07777) | S_IXUSR) != 0) {
            const int error = errno;
            if (access(hostFile->c_str(), X_OK) != 0)
                return Failure(SE_ERR_ACCESSDENIED, "cannot make " + *hostFile + " executable: " + ErrorText(error));
        }
        argv = {*hostFile};
    } else {
        const std::optional<std::string> opener = FindOnPath("xdg-open");
        if (!opener)
            return Failure(SE_ERR_NOASSOC, "nothing opens " + *hostFile + ": xdg-open is not on the PATH");
        return Start({*opener, *hostFile}, workingDirectory);
    }
    for (std::string &parameter : SplitParameters(parameters))
        argv.push_back(std::move(parameter));
    return Start(argv, workingDirectory);
}

HINSTANCE AsInstance(int result)
{
    return reinterpret_cast<HINSTANCE>(static_cast<std::intptr_t>(result));
}

}  // namespace

extern "C" HINSTANCE WINAPI ShellExecuteA(HWND, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                                          LPCSTR lpDirectory, int nShowCmd)
{
    zor::host::Script *script = zor::host::CurrentScript();
    int result = kStarted;
    if (!script || script->launchForReal) {
        const Outcome outcome = Open(lpOperation, lpFile, lpParameters, lpDirectory);
        result = outcome.result;
        if (result <= 32)
            std::fprintf(stderr, "ShellExecuteA: cannot open \"%s\": %s\n", lpFile ? lpFile : "",
                         outcome.why.c_str());
    }
    if (script) {
        auto text = [](const char *s) { return std::string(s ? s : ""); };
        script->launches.push_back({text(lpOperation), text(lpFile), text(lpParameters), text(lpDirectory),
                                    nShowCmd, result});
    }
    return AsInstance(result);
}
