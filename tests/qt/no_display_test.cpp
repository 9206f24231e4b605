// Without a display, creating a window fails with one line on standard
// error and never aborts; with one (a private X server), it works. Each case
// runs a helper program in a child process with its own environment.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Outcome {
    bool exited = false;
    int exitCode = -1;
    int signal = 0;
    std::string out;
    std::string err;
};

// Environment changes for the child: a value, or nullopt to unset.
using EnvironmentChanges = std::map<std::string, std::optional<std::string>>;

std::vector<std::string> ChildEnvironment(const EnvironmentChanges &changes)
{
    std::vector<std::string> environment;
    for (char **entry = environ; *entry != nullptr; ++entry) {
        std::string text = *entry;
        if (changes.count(text.substr(0, text.find('='))) == 0)
            environment.push_back(text);
    }
    for (const auto &[name, value] : changes) {
        if (value)
            environment.push_back(name + "=" + *value);
    }
    return environment;
}

// Runs `program` with the environment changed, collects its output and kills
// it after `seconds`.
Outcome RunChild(const std::vector<std::string> &command, const EnvironmentChanges &changes, int seconds = 30)
{
    std::vector<std::string> environment = ChildEnvironment(changes);
    int outPipe[2], errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0)
        return {};
    pid_t child = fork();
    if (child == 0) {
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        std::vector<char *> argv, envp;
        for (const std::string &a : command)
            argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        for (const std::string &e : environment)
            envp.push_back(const_cast<char *>(e.c_str()));
        envp.push_back(nullptr);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    Outcome outcome;
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string *sinks[2] = {&outcome.out, &outcome.err};
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int open = 2;
    while (open > 0) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            kill(child, SIGKILL);
            break;
        }
        if (poll(fds, 2, static_cast<int>(left.count())) <= 0)
            continue;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || (fds[i].revents & (POLLIN | POLLHUP)) == 0)
                continue;
            char buffer[4096];
            ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    for (pollfd &fd : fds) {
        if (fd.fd >= 0)
            close(fd.fd);
    }
    int status = 0;
    waitpid(child, &status, 0);
    outcome.exited = WIFEXITED(status);
    outcome.exitCode = outcome.exited ? WEXITSTATUS(status) : -1;
    outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return outcome;
}

// A display number with no server behind it.
std::string UnusedDisplay()
{
    for (int n = 4242; n < 4300; ++n) {
        struct stat info;
        std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
        std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
        if (stat(socket.c_str(), &info) != 0 && stat(lock.c_str(), &info) != 0)
            return ":" + std::to_string(n);
    }
    return ":4299";
}

int Lines(const std::string &text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST(NoDisplay, CreateWindowGivesNullAndOneLineWithoutAborting)
{
    std::string nowhere = UnusedDisplay();
    struct Case {
        const char *name;
        EnvironmentChanges environment;
    };
    const Case cases[] = {
        {"xcb asked for, display unreachable",
         {{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", nowhere}, {"WAYLAND_DISPLAY", std::nullopt}}},
        {"nothing asked for, display unreachable",
         {{"QT_QPA_PLATFORM", std::nullopt},
          {"DISPLAY", nowhere},
          {"WAYLAND_DISPLAY", std::nullopt},
          {"XDG_SESSION_TYPE", std::nullopt}}},
        {"nothing asked for, no display at all",
         {{"QT_QPA_PLATFORM", std::nullopt},
          {"DISPLAY", std::nullopt},
          {"WAYLAND_DISPLAY", std::nullopt},
          {"XDG_SESSION_TYPE", std::nullopt}}},
        {"wayland asked for, no compositor",
         {{"QT_QPA_PLATFORM", "wayland"}, {"WAYLAND_DISPLAY", "zor-no-such-socket"}, {"DISPLAY", nowhere}}},
        {"a platform that does not exist", {{"QT_QPA_PLATFORM", "nosuchplatform"}}},
    };
    for (const Case &c : cases) {
        Outcome outcome = RunChild({ZOR_NO_DISPLAY_HELPER}, c.environment);
        EXPECT_TRUE(outcome.exited) << c.name << ": signal " << outcome.signal << "\n" << outcome.err;
        EXPECT_EQ(outcome.exitCode, 0) << c.name;
        EXPECT_EQ(outcome.out, "null\n") << c.name;
        EXPECT_EQ(Lines(outcome.err), 1) << c.name << ":\n" << outcome.err;
        EXPECT_NE(outcome.err.find("CreateWindowExA"), std::string::npos) << c.name << ":\n" << outcome.err;
        EXPECT_NE(outcome.err.find("no display"), std::string::npos) << c.name << ":\n" << outcome.err;
    }
}

TEST(NoDisplay, OffscreenNeedsNoDisplay)
{
    Outcome outcome = RunChild({ZOR_NO_DISPLAY_HELPER}, {{"QT_QPA_PLATFORM", "offscreen"}, {"DISPLAY", std::nullopt}});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "created\n");
    EXPECT_EQ(outcome.err, "");
}

// A private X server, started with -displayfd so that it picks a free
// display, and killed at the end.
class PrivateXServer {
  public:
    PrivateXServer()
    {
        const char *candidates[] = {"/usr/bin/Xvfb", "/usr/local/bin/Xvfb"};
        for (const char *path : candidates) {
            if (access(path, X_OK) == 0)
                program_ = path;
        }
        if (program_.empty())
            return;
        int pipeFds[2];
        if (pipe(pipeFds) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            int devNull = ::open("/dev/null", O_RDWR);
            dup2(devNull, 0);
            dup2(devNull, 1);
            dup2(devNull, 2);
            std::string fd = std::to_string(pipeFds[1]);
            execl(program_.c_str(), program_.c_str(), "-displayfd", fd.c_str(), "-screen", "0", "640x480x24",
                  "-nolisten", "tcp", static_cast<char *>(nullptr));
            _exit(127);
        }
        close(pipeFds[1]);
        pollfd fd{pipeFds[0], POLLIN, 0};
        std::string number;
        while (poll(&fd, 1, 10000) > 0) {
            char c;
            if (read(pipeFds[0], &c, 1) != 1 || c == '\n')
                break;
            number += c;
        }
        close(pipeFds[0]);
        if (!number.empty())
            display_ = ":" + number;
    }
    ~PrivateXServer()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string &Display() const { return display_; }
    bool Installed() const { return !program_.empty(); }

  private:
    std::string program_;
    std::string display_;
    pid_t pid_ = -1;
};

TEST(NoDisplay, AReachableXServerIsUsed)
{
    PrivateXServer server;
    if (!server.Installed())
        GTEST_SKIP() << "Xvfb is not installed";
    ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";
    Outcome outcome = RunChild({ZOR_NO_DISPLAY_HELPER}, {{"QT_QPA_PLATFORM", std::nullopt},
                                                         {"DISPLAY", server.Display()},
                                                         {"WAYLAND_DISPLAY", std::nullopt},
                                                         {"XDG_SESSION_TYPE", std::nullopt}});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "created\n") << outcome.err;
}

} // namespace
