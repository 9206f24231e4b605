#include "e2e_support.h"

#include "child_process.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <system_error>
#include <vector>

namespace zor::e2e {

TempFolder::TempFolder(const std::string &prefix)
{
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) != nullptr)
        path_ = pattern;
}

TempFolder::~TempFolder()
{
    if (path_.empty())
        return;
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

std::filesystem::path SetupProgram()
{
    return ZOR_SETUP_PROGRAM;
}
std::filesystem::path DemoPayloadFolder()
{
    return ZOR_DEMO_PAYLOAD_DIR;
}
std::filesystem::path DemoProgram()
{
    return ZOR_DEMO_PROGRAM;
}
std::filesystem::path DemoSourceFolder()
{
    return ZOR_DEMO_SOURCE_DIR;
}

void CopyDemoPayload(const std::filesystem::path &folder)
{
    for (const char *name : {"ZOR.ex_", "ZOR.hl_", "ZOR.cn_"})
        std::filesystem::copy_file(DemoPayloadFolder() / name, folder / name,
                                   std::filesystem::copy_options::overwrite_existing);
}

std::optional<StartMarker> ReadStartMarker(const std::filesystem::path &folder)
{
    std::optional<std::string> text = ReadFile(folder / "zor-started.txt");
    if (!text)
        return std::nullopt;
    std::istringstream lines(*text);
    StartMarker marker;
    std::string pid;
    if (!std::getline(lines, marker.executable) || !std::getline(lines, marker.directory) || !std::getline(lines, pid))
        return std::nullopt;
    marker.pid = static_cast<pid_t>(std::atol(pid.c_str()));
    return marker;
}

std::string ListFiles(const std::filesystem::path &folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_regular_file())
            names.push_back(std::filesystem::relative(it->path(), folder).string());
    }
    std::sort(names.begin(), names.end());
    std::string joined;
    for (const std::string &name : names)
        joined += name + "\n";
    return joined;
}

} // namespace zor::e2e
