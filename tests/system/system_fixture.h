// The fixture of the setup program's system tests: the program's own code on
// real Qt widgets (offscreen), with the user played by the host's script.
//
// Every test runs in a fresh current directory that holds the demo payload,
// with drive C: in a fresh folder that holds "Program Files".
#pragma once

#include "src/common/setup_constants.h"
#include "src/platform/host_script.h"
#include "src/shell/shell.h"
#include "tests/e2e/e2e_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace zor::system_test {

inline constexpr char kFolderQuestion[] = "Specified directory does not exist! Would you like to create it?";
inline constexpr char kFolderError[] =
    "Setup was unable to create the specified directory! Please make sure it is a valid path and that you have "
    "the appropriate permissions.";
inline constexpr char kCopyFailure[] =
    "Setup was unable to copy the ZOR files. Please ensure that you have enough free disk space, and that you "
    "have the appropriate access privelages.";
inline constexpr char kCancelQuestion[] = "Are you sure you wish to cancel ZOR Setup?";
inline constexpr char kBrowseTitle[] = "Select the folder in which to install ZOR.";

class SystemTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Registers the backdrop class and creates the backdrop as WinMain does
    // (by default); its creation creates the setup dialog (g_hSetupDlg).
    HWND CreateBackdrop(DWORD style = WS_OVERLAPPEDWINDOW, int width = CW_USEDEFAULT, int height = CW_USEDEFAULT,
                        int show = SW_SHOWMAXIMIZED);

    // Lets the program run until it waits for the user: dispatches whatever
    // is queued. Returns the exit code when setup posted the quit message
    // (which is taken), else nothing.
    std::optional<int> Settle();

    // Clicks a dialog button with the mouse and settles (see Settle): the
    // exit code when setup ended, else nothing.
    std::optional<int> Press(int id);

    std::string FolderText() const;
    void SetFolderText(const std::string &text) const;
    bool DialogVisible() const;

    // The host folder behind drive C:, and behind a C: path.
    const std::filesystem::path &DriveC() const { return drive_.path(); }
    std::filesystem::path OnDriveC(const std::string &relative) const { return drive_.path() / relative; }
    const std::filesystem::path &WorkFolder() const { return work_.path(); }

    host::Script script_;

  private:
    e2e::TempFolder work_{"zor-system"};
    e2e::TempFolder drive_{"zor-drive-c"};
    std::filesystem::path previousDirectory_;
    std::unique_ptr<host::ScopedScript> scopedScript_;
    HWND backdrop_ = nullptr;
    bool classRegistered_ = false;
    int sentinel_ = 0;
};

// A message box as the script saw it, for comparing.
struct Box {
    std::string text;
    std::string caption;
    UINT style = 0;
    bool operator==(const Box &) const = default;
};
std::vector<Box> BoxesOf(const host::Script &script);
void PrintTo(const Box &box, std::ostream *out);

} // namespace zor::system_test
