// ShellExecuteA starts a file as its kind asks, detached, in the working
// directory it is given, and says why when it cannot.
#include "src/platform/host_script.h"
#include "src/platform/win32.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

int Launch(const char *verb, const char *file, const char *parameters, const char *directory)
{
    return static_cast<int>(reinterpret_cast<std::intptr_t>(ShellExecuteA(nullptr, verb, file, parameters, directory, SW_SHOW)));
}

void WriteFile(const fs::path &path, const std::string &content, fs::perms mode)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    fs::permissions(path, mode);
}

// A shell script that writes what it sees of itself to `report`: its working
// directory, session, parent, pid, arguments and the targets of its open
// descriptors. It writes a temporary file and renames it, so that the report
// appears complete or not at all.
std::string ReportingScript(const fs::path &report)
{
    // The tests keep PATH to one folder of stand-ins; the script needs more.
    return "#!/bin/sh\n"
           "PATH=/usr/bin:/bin\n"
           "{\n"
           "  echo \"cwd=$(pwd -P)\"\n"
           "  echo \"sid=$(cut -d' ' -f6 /proc/$$/stat)\"\n"
           "  echo \"ppid=$(cut -d' ' -f4 /proc/$$/stat)\"\n"
           "  echo \"pid=$$\"\n"
           "  echo \"stdin=$(readlink /proc/$$/fd/0)\"\n"
           "  echo \"stdout=$(readlink /proc/$$/fd/1)\"\n"
           "  echo \"stderr=$(readlink /proc/$$/fd/2)\"\n"
           "  echo \"argc=$#\"\n"
           "  for a in \"$@\"; do echo \"arg=$a\"; done\n"
           "  for f in /proc/$$/fd/*; do echo \"fd=$(readlink \"$f\")\"; done\n"
           "} > '" + report.string() + ".tmp' && mv '" + report.string() + ".tmp' '" + report.string() + "'\n";
}

// The report as key=value lines; repeated keys keep every value in order.
std::multimap<std::string, std::string> WaitForReport(const fs::path &report)
{
    const auto deadline = std::chrono::steady_clock::now() + 15s;
    while (!fs::exists(report) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    std::multimap<std::string, std::string> values;
    std::ifstream in(report);
    std::string line;
    while (std::getline(in, line)) {
        const auto equals = line.find('=');
        if (equals != std::string::npos)
            values.emplace(line.substr(0, equals), line.substr(equals + 1));
    }
    return values;
}

std::string One(const std::multimap<std::string, std::string> &values, const std::string &key)
{
    const auto found = values.find(key);
    return found == values.end() ? std::string() : found->second;
}

std::vector<std::string> All(const std::multimap<std::string, std::string> &values, const std::string &key)
{
    std::vector<std::string> all;
    for (auto [it, end] = values.equal_range(key); it != end; ++it)
        all.push_back(it->second);
    return all;
}

struct ProcessState {
    pid_t pid;
    char state;
};

// The processes whose parent is this one, with their states (Z for a zombie).
std::vector<ProcessState> ChildrenOfThisProcess()
{
    std::vector<ProcessState> children;
    for (const auto &entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream in(entry.path() / "stat");
        std::string stat;
        if (!std::getline(in, stat))
            continue;
        const auto close = stat.rfind(')');
        if (close == std::string::npos)
            continue;
        std::istringstream rest(stat.substr(close + 2));
        char state = 0;
        pid_t parent = 0;
        rest >> state >> parent;
        if (parent == getpid())
            children.push_back({static_cast<pid_t>(std::stoi(name)), state});
    }
    return children;
}

// Waits for a launched program to end, and ends it if it will not.
void EndProcess(pid_t pid)
{
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    auto running = [pid] {
        std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
        std::string stat;
        if (!std::getline(in, stat))
            return false;
        const auto close = stat.rfind(')');
        return close != std::string::npos && stat.size() > close + 2 && stat[close + 2] != 'Z';
    };
    while (running() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    if (running())
        kill(pid, SIGKILL);
}

std::string DescriptorTarget(int fd)
{
    std::error_code error;
    return fs::read_symlink("/proc/self/fd/" + std::to_string(fd), error).string();
}

class ShellExecute : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/zor-launch-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = fs::canonical(pattern);
        driveC = root / "drive_c";
        fs::create_directories(driveC);
        setenv("ZOR_SETUP_DRIVE_C", driveC.c_str(), 1);
        if (const char *path = std::getenv("PATH"))
            savedPath = path;
        // A PATH of one folder, which holds only what a test puts there.
        tools = root / "tools";
        fs::create_directories(tools);
        setenv("PATH", tools.c_str(), 1);
    }

    void TearDown() override
    {
        setenv("PATH", savedPath.c_str(), 1);
        unsetenv("ZOR_SETUP_DRIVE_C");
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    // A stand-in for wine or xdg-open on the PATH that reports its arguments.
    void InstallTool(const std::string &name, const fs::path &report)
    {
        WriteFile(tools / name, ReportingScript(report), fs::perms::owner_all);
    }

    fs::path root, driveC, tools;
    std::string savedPath;
};

TEST_F(ShellExecute, ScriptStartsDetachedInTheWorkingDirectoryWithItsParameters)
{
    const fs::path report = root / "report";
    // Not executable yet: ShellExecuteA makes it so, as Windows runs any program.
    WriteFile(driveC / "Apps" / "run.sh", ReportingScript(report), fs::perms::owner_read | fs::perms::owner_write);
    fs::create_directories(driveC / "Work Dir");

    const int result = Launch("open", "C:\\Apps\\run.sh", "one \"two words\"", "C:\\Work Dir\\");
    EXPECT_GT(result, 32);
    // The intermediate child has been reaped and the program is not ours.
    for (const ProcessState &child : ChildrenOfThisProcess())
        ADD_FAILURE() << "child " << child.pid << " left in state " << child.state;

    const auto seen = WaitForReport(report);
    ASSERT_FALSE(seen.empty()) << "the script did not run";
    EndProcess(std::stoi(One(seen, "pid")));

    EXPECT_EQ(One(seen, "cwd"), (driveC / "Work Dir").string());
    EXPECT_NE(One(seen, "sid"), std::to_string(getsid(0)));
    EXPECT_NE(One(seen, "ppid"), std::to_string(getpid()));
    EXPECT_EQ(One(seen, "stdin"), "/dev/null");
    EXPECT_EQ(One(seen, "stderr"), "/dev/null");
    EXPECT_EQ(All(seen, "arg"), (std::vector<std::string>{"one", "two words"}));
    // None of this process's output streams went with the program.
    for (const std::string &target : All(seen, "fd")) {
        for (int fd : {STDOUT_FILENO, STDERR_FILENO}) {
            const std::string ours = DescriptorTarget(fd);
            if (ours != "/dev/null") {
                EXPECT_NE(target, ours) << "the program holds descriptor " << fd << " of the test";
            }
        }
    }
    EXPECT_TRUE((fs::status(driveC / "Apps" / "run.sh").permissions() & fs::perms::owner_exec) != fs::perms::none);
}

TEST_F(ShellExecute, NativeProgramRunsWithoutAWorkingDirectoryInTheCurrentOne)
{
    // A copy of the shell under a Windows program name: an ELF file.
    const fs::path shell = driveC / "bin" / "shell.exe";
    fs::create_directories(shell.parent_path());
    fs::copy_file("/bin/sh", shell);
    fs::permissions(shell, fs::perms::owner_read | fs::perms::owner_write);
    const fs::path report = root / "report";
    const std::string command = "-c \"PATH=/usr/bin:/bin; printf 'cwd=%s\\npid=%s\\n' $(pwd -P) $$ > " +
                                report.string() + ".tmp; mv " + report.string() + ".tmp " + report.string() + "\"";

    const fs::path before = fs::current_path();
    fs::current_path(root);
    const int result = Launch(nullptr, "C:\\bin\\shell.exe", command.c_str(), nullptr);
    fs::current_path(before);

    EXPECT_GT(result, 32);
    const auto seen = WaitForReport(report);
    ASSERT_FALSE(seen.empty()) << "the program did not run";
    EndProcess(std::stoi(One(seen, "pid")));
    EXPECT_EQ(One(seen, "cwd"), root.string());
}

TEST_F(ShellExecute, WindowsProgramGoesThroughWineOnThePath)
{
    const fs::path report = root / "report";
    InstallTool("wine", report);
    WriteFile(driveC / "Program Files" / "ZOR" / "ZOR.exe", std::string("MZ\x90\0\3\0\0\0", 8),
              fs::perms::owner_read | fs::perms::owner_write);

    const int result = Launch("open", "C:\\Program Files\\ZOR\\ZOR.exe", nullptr, "C:\\Program Files\\ZOR\\");
    EXPECT_GT(result, 32);
    const auto seen = WaitForReport(report);
    ASSERT_FALSE(seen.empty()) << "wine was not started";
    EndProcess(std::stoi(One(seen, "pid")));
    EXPECT_EQ(All(seen, "arg"), (std::vector<std::string>{(driveC / "Program Files" / "ZOR" / "ZOR.exe").string()}));
    EXPECT_EQ(One(seen, "cwd"), (driveC / "Program Files" / "ZOR").string());
}

TEST_F(ShellExecute, OtherFilesGoThroughXdgOpen)
{
    const fs::path report = root / "report";
    InstallTool("xdg-open", report);
    WriteFile(driveC / "ZOR" / "readme.txt", "Read me.\n", fs::perms::owner_read | fs::perms::owner_write);

    const int result = Launch("Open", "C:/ZOR//readme.txt", "ignored", nullptr);
    EXPECT_GT(result, 32);
    const auto seen = WaitForReport(report);
    ASSERT_FALSE(seen.empty()) << "xdg-open was not started";
    EndProcess(std::stoi(One(seen, "pid")));
    EXPECT_EQ(All(seen, "arg"), (std::vector<std::string>{(driveC / "ZOR" / "readme.txt").string()}));
}

struct FailureCase {
    const char *name;
    const char *verb;
    const char *file;
    const char *directory;
    int expected;
};

TEST_F(ShellExecute, FailuresGiveTheirCodeAndOneLineOnStandardError)
{
    WriteFile(driveC / "ZOR" / "ZOR.exe", "MZ\x90", fs::perms::owner_read | fs::perms::owner_write);
    WriteFile(driveC / "ZOR" / "notes.txt", "plain text\n", fs::perms::owner_read | fs::perms::owner_write);
    WriteFile(driveC / "ZOR" / "lost.sh", "#!/nonexistent/interpreter\n", fs::perms::owner_all);
    WriteFile(driveC / "ZOR" / "broken", std::string("\x7F" "ELF\2\1\1\0garbage", 16), fs::perms::owner_all);

    const FailureCase cases[] = {
        {"missing file", "open", "C:\\ZOR\\missing.exe", nullptr, SE_ERR_FNF},
        {"missing folder", "open", "C:\\Nowhere\\ZOR.exe", nullptr, SE_ERR_PNF},
        {"missing working directory", "open", "C:\\ZOR\\notes.txt", "C:\\Nowhere\\", SE_ERR_PNF},
        {"drive without a folder", "open", "Q:\\ZOR.exe", nullptr, SE_ERR_PNF},
        {"a folder", "open", "C:\\ZOR", nullptr, SE_ERR_NOASSOC},
        {"other file and no xdg-open", "open", "C:\\ZOR\\notes.txt", nullptr, SE_ERR_NOASSOC},
        {"Windows program and no wine", "open", "C:\\ZOR\\ZOR.exe", "C:\\ZOR\\", SE_ERR_NOASSOC},
        {"verb other than open", "edit", "C:\\ZOR\\notes.txt", nullptr, SE_ERR_NOASSOC},
        // These two fail only at exec, in the child: the result comes back
        // through the report pipe.
        {"interpreter missing", "open", "C:\\ZOR\\lost.sh", nullptr, SE_ERR_FNF},
        {"not a program of this machine", "open", "C:\\ZOR\\broken", nullptr, SE_ERR_NOASSOC},
    };
    for (const FailureCase &c : cases) {
        SCOPED_TRACE(c.name);
        ::testing::internal::CaptureStderr();
        const int result = Launch(c.verb, c.file, nullptr, c.directory);
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(result, c.expected);
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_NE(said.find(c.file), std::string::npos) << said;
    }
    for (const ProcessState &child : ChildrenOfThisProcess())
        ADD_FAILURE() << "child " << child.pid << " left in state " << child.state;
}

TEST_F(ShellExecute, ScriptRecordsLaunchesAndStartsThemOnlyWhenAsked)
{
    zor::host::Script script;
    zor::host::ScopedScript scoped(script);

    // Recorded only: a file that does not exist still "starts".
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Launch("open", "C:\\ZOR\\ZOR.exe", nullptr, "C:\\ZOR\\"), 42);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    ASSERT_EQ(script.launches.size(), 1u);
    EXPECT_EQ(script.launches[0].verb, "open");
    EXPECT_EQ(script.launches[0].file, "C:\\ZOR\\ZOR.exe");
    EXPECT_EQ(script.launches[0].parameters, "");
    EXPECT_EQ(script.launches[0].directory, "C:\\ZOR\\");
    EXPECT_EQ(script.launches[0].show, SW_SHOW);
    EXPECT_EQ(script.launches[0].result, 42);

    // For real: the result is the real one, and a real program runs.
    script.launchForReal = true;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Launch("open", "C:\\ZOR\\ZOR.exe", nullptr, nullptr), SE_ERR_PNF);
    EXPECT_NE(::testing::internal::GetCapturedStderr(), "");
    const fs::path report = root / "report";
    WriteFile(driveC / "run.sh", ReportingScript(report), fs::perms::owner_all);
    const int started = Launch("open", "C:\\run.sh", "x", nullptr);
    EXPECT_GT(started, 32);
    const auto seen = WaitForReport(report);
    ASSERT_FALSE(seen.empty()) << "the script did not run";
    EndProcess(std::stoi(One(seen, "pid")));

    ASSERT_EQ(script.launches.size(), 3u);
    EXPECT_EQ(script.launches[1].result, SE_ERR_PNF);
    EXPECT_EQ(script.launches[2].result, started);
    EXPECT_EQ(script.launches[2].parameters, "x");
}

TEST(HostScript, ScopedScriptRestoresThePreviousOne)
{
    EXPECT_EQ(zor::host::CurrentScript(), nullptr);
    zor::host::Script outer, inner;
    {
        zor::host::ScopedScript first(outer);
        EXPECT_EQ(zor::host::CurrentScript(), &outer);
        {
            zor::host::ScopedScript second(inner);
            EXPECT_EQ(zor::host::CurrentScript(), &inner);
        }
        EXPECT_EQ(zor::host::CurrentScript(), &outer);
    }
    EXPECT_EQ(zor::host::CurrentScript(), nullptr);
}

}  // namespace
