// Shared pieces of the end-to-end tests: temporary folders, the demo payload,
// the stand-in's marker file.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include <sys/types.h>

namespace zor::e2e {

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes.
class TempFolder {
  public:
    explicit TempFolder(const std::string &prefix = "zor-e2e");
    ~TempFolder();
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;
    const std::filesystem::path &path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// Where the build left things.
std::filesystem::path SetupProgram();      // zor-setup
std::filesystem::path DemoPayloadFolder(); // ZOR.ex_, ZOR.hl_, ZOR.cn_
std::filesystem::path DemoProgram();       // the stand-in, before packing
std::filesystem::path DemoSourceFolder();  // ZOR.hlp, ZOR.cnt

// Copies the three payload files into folder.
void CopyDemoPayload(const std::filesystem::path &folder);

// What the stand-in wrote into zor-started.txt in its current directory.
struct StartMarker {
    std::string executable;
    std::string directory;
    pid_t pid = -1;
};
std::optional<StartMarker> ReadStartMarker(const std::filesystem::path &folder);

// Every regular file below folder, as paths relative to it, sorted.
std::string ListFiles(const std::filesystem::path &folder);

} // namespace zor::e2e
