// Helpers for the tests of the POSIX layer and of the code on top of it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zor::testing {

using Bytes = std::vector<std::uint8_t>;

// A fresh folder under the system's temporary folder, removed with all it
// holds when the object goes.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    const std::string &Path() const { return path_; }
    std::string operator/(const std::string &name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

// The folder that drive C: stands for in every test (ZOR_SETUP_DRIVE_C).
const std::string &DriveCFolder();

// Changes the current directory for the lifetime of the object.
class CurrentDirectoryScope {
  public:
    explicit CurrentDirectoryScope(const std::string &folder);
    ~CurrentDirectoryScope();
    CurrentDirectoryScope(const CurrentDirectoryScope &) = delete;
    CurrentDirectoryScope &operator=(const CurrentDirectoryScope &) = delete;

  private:
    std::string previous_;
};

// Sets (or, with nullopt, unsets) an environment variable for the lifetime of
// the object.
class EnvironmentScope {
  public:
    EnvironmentScope(std::string name, const std::optional<std::string> &value);
    ~EnvironmentScope();
    EnvironmentScope(const EnvironmentScope &) = delete;
    EnvironmentScope &operator=(const EnvironmentScope &) = delete;

  private:
    std::string name_;
    std::optional<std::string> previous_;
};

void WriteFile(const std::string &path, const Bytes &data);
std::optional<Bytes> ReadFile(const std::string &path);
// The names in a folder, sorted.
std::vector<std::string> ListFolder(const std::string &path);

// Deterministic data of the given size: runs, text-like words and noise.
Bytes MixedData(std::size_t size, std::uint32_t seed);

// The whole SZDD file for data, as the packer writes it.
Bytes Pack(const Bytes &data, std::uint8_t missingChar);

// Runs the function in a forked child and waits for it: the exit code, or
// nothing when the child died of a signal (then `signal` says which). The
// child is killed after `seconds`.
struct ChildResult {
    std::optional<int> exitCode;
    int signal = 0;
};
ChildResult RunInChild(const std::function<int()> &body, unsigned seconds = 60);

// Runs the function as a user without special rights would: directly when the
// process has none, else in a forked child that drops to nobody (65534) first,
// since root reads and writes anything. Nothing when the child cannot drop its
// privileges.
std::optional<ChildResult> RunUnprivileged(const std::function<int()> &body);

// Runs the function in a forked child whose files may grow to `bytes` at
// most (RLIMIT_FSIZE), with SIGXFSZ ignored or left to its default (which
// ends the process). The child exits with 100 when the limit cannot be set.
ChildResult RunWithFileSizeLimit(std::uint64_t bytes, bool ignoreSignal, const std::function<int()> &body);

// Expands `source` into `destination` through LZ32 (open, copy, close): what
// LZCopy returned, or the failed open's result.
long Expand(const std::string &source, const std::string &destination);

} // namespace zor::testing
