// The real program where no window can be made: it ends at once with exit
// code -1 (255 for the process) and says why in one line.

#include "child_process.h"
#include "e2e_support.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

namespace zor::e2e {
namespace {

using namespace std::chrono_literals;

TEST(ProgramWithoutDisplay, ExitsWith255AndOneLineOnStandardError)
{
    // Nobody listens on display :987.
    ASSERT_FALSE(std::filesystem::exists("/tmp/.X11-unix/X987"));
    TempFolder work("zor-nodisplay");
    TempFolder drive("zor-drive-c");
    std::filesystem::create_directory(drive.path() / "Program Files");
    CopyDemoPayload(work.path());

    ChildOptions options;
    options.argv = {SetupProgram().string()};
    options.directory = work.path();
    options.stderrFile = work.path() / "stderr.txt";
    options.environment = {{"QT_QPA_PLATFORM", std::nullopt},
                           {"WAYLAND_DISPLAY", std::nullopt},
                           {"DISPLAY", ":987"},
                           {"ZOR_SETUP_DRIVE_C", drive.path().string()}};
    ChildProcess setup(options);
    ASSERT_TRUE(setup.started());
    std::optional<int> status = setup.Wait(30s);
    ASSERT_TRUE(status.has_value()) << "zor-setup did not end without a display";

    ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
    EXPECT_EQ(WEXITSTATUS(*status), 255);
    std::string said = ReadFile(work.path() / "stderr.txt").value_or("");
    ASSERT_FALSE(said.empty());
    EXPECT_EQ(said.back(), '\n') << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_GT(said.size(), 1u);
    EXPECT_EQ(ListFiles(drive.path()), "");
}

} // namespace
} // namespace zor::e2e
