#include "test_support.h"

#include "src/platform/logic/szdd_encoder.h"
#include "src/platform/win32.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <signal.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zor::testing {

TempFolder::TempFolder()
{
    const char *base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/zor-test-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    // Folders a test made unreadable must be opened again to be removed.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(path_, ignored);
}

CurrentDirectoryScope::CurrentDirectoryScope(const std::string &folder)
    : previous_(std::filesystem::current_path().string())
{
    std::filesystem::current_path(folder);
}

CurrentDirectoryScope::~CurrentDirectoryScope()
{
    if (chdir(previous_.c_str()) != 0)
        std::abort();
}

EnvironmentScope::EnvironmentScope(std::string name, const std::optional<std::string> &value) : name_(std::move(name))
{
    if (const char *old = std::getenv(name_.c_str()))
        previous_ = old;
    if (value)
        setenv(name_.c_str(), value->c_str(), 1);
    else
        unsetenv(name_.c_str());
}

EnvironmentScope::~EnvironmentScope()
{
    if (previous_)
        setenv(name_.c_str(), previous_->c_str(), 1);
    else
        unsetenv(name_.c_str());
}

void WriteFile(const std::string &path, const Bytes &data)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(data.data()), static_cast<std::streamsize>(data.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::optional<Bytes> ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> ListFolder(const std::string &path)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(path))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

Bytes MixedData(std::size_t size, std::uint32_t seed)
{
    std::mt19937 random(seed);
    static const char *const words[] = {"ZOR ", "setup ", "folder ", "install ", "the ", "\r\n", "expand ", "of "};
    Bytes data;
    data.reserve(size + 64);
    while (data.size() < size) {
        switch (random() % 4) {
        case 0: {
            data.insert(data.end(), 1 + random() % 300, static_cast<std::uint8_t>(random()));
            break;
        }
        case 1:
            for (int i = 0; i < 40; i++) {
                const char *word = words[random() % 8];
                data.insert(data.end(), word, word + std::char_traits<char>::length(word));
            }
            break;
        case 2:
            for (int i = 0; i < 200; i++)
                data.push_back(static_cast<std::uint8_t>(random()));
            break;
        default:
            if (data.size() > 5000) {
                std::size_t from = data.size() - 1 - random() % 5000;
                std::size_t length = std::min<std::size_t>(1 + random() % 400, data.size() - from);
                for (std::size_t i = 0; i < length; i++)
                    data.push_back(data[from + i]);
            }
            break;
        }
    }
    data.resize(size);
    return data;
}

Bytes Pack(const Bytes &data, std::uint8_t missingChar)
{
    std::optional<Bytes> packed = zor::szdd::Compress(data, missingChar);
    if (!packed)
        throw std::runtime_error("cannot pack");
    return std::move(*packed);
}

ChildResult RunInChild(const std::function<int()> &body, unsigned seconds)
{
    pid_t child = fork();
    if (child < 0)
        throw std::runtime_error("cannot fork");
    if (child == 0) {
        alarm(seconds);
        int code = 125;
        try {
            code = body();
        } catch (...) {
        }
        _exit(code);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            throw std::runtime_error("cannot wait for the child");
    }
    ChildResult result;
    if (WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
    return result;
}

std::optional<ChildResult> RunUnprivileged(const std::function<int()> &body)
{
    if (geteuid() != 0)
        return ChildResult{body(), 0};
    constexpr int kCannotDrop = 90;
    ChildResult child = RunInChild([&] {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            return kCannotDrop;
        return body();
    });
    if (child.exitCode == kCannotDrop)
        return std::nullopt;
    return child;
}

ChildResult RunWithFileSizeLimit(std::uint64_t bytes, bool ignoreSignal, const std::function<int()> &body)
{
    return RunInChild([&] {
        signal(SIGXFSZ, ignoreSignal ? SIG_IGN : SIG_DFL);
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = bytes;
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 100;
        return body();
    });
}

long Expand(const std::string &source, const std::string &destination)
{
    OFSTRUCT info;
    std::string from = source;
    std::string to = destination;
    INT in = LZOpenFileA(from.data(), &info, OF_READ | OF_SHARE_DENY_WRITE);
    if (in < 0)
        return in;
    INT out = LZOpenFileA(to.data(), &info, OF_CREATE | OF_WRITE | OF_SHARE_DENY_WRITE);
    if (out < 0) {
        LZClose(in);
        return out;
    }
    LONG result = LZCopy(in, out);
    LZClose(in);
    LZClose(out);
    return result;
}

} // namespace zor::testing
