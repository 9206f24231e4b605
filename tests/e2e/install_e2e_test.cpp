// The whole program in this process: WinMain runs on the demo payload in a
// fresh current directory, and the test acts as the user from a timer inside
// the program's message loop, with real mouse clicks on the dialog.

#include "child_process.h"
#include "e2e_support.h"

#include "src/common/setup_constants.h"
#include "src/platform/host_script.h"
#include "src/platform/qt/test_access.h"
#include "src/shell/shell.h"

#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace zor::e2e {
namespace {

using namespace std::chrono_literals;

class InstallEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ASSERT_FALSE(work_.path().empty());
        std::filesystem::create_directory(drive_.path() / "Program Files");
        CopyDemoPayload(work_.path());
        setenv("ZOR_SETUP_DRIVE_C", drive_.path().c_str(), 1);
        // The started stand-in closes itself; the test ends it anyway.
        setenv("ZOR_DEMO_EXIT_AFTER_MS", "3000", 1);
        previousDirectory_ = std::filesystem::current_path();
        std::filesystem::current_path(work_.path());
        g_hSetupDlg = nullptr;
    }

    void TearDown() override
    {
        if (std::optional<StartMarker> marker = ReadStartMarker(installFolder()))
            EndForeignProcess(marker->pid);
        host::test::DestroyAllWindows();
        g_hSetupDlg = nullptr;
        unsetenv("ZOR_DEMO_EXIT_AFTER_MS");
        std::filesystem::current_path(previousDirectory_);
    }

    // Runs WinMain. Once the dialog is on screen, `act` plays the user; a
    // watchdog ends a run that never finishes.
    int RunSetup(const std::function<void()> &act)
    {
        bool acted = false;
        QTimer user;
        QObject::connect(&user, &QTimer::timeout, [&] {
            if (acted || g_hSetupDlg == nullptr || !IsWindowVisible(g_hSetupDlg))
                return;
            acted = true;
            user.stop();
            act();
        });
        user.start(20);
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] {
            ADD_FAILURE() << "setup did not end";
            PostQuitMessage(99);
        });
        watchdog.start(120000);

        int code = WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char *>(""), SW_SHOWDEFAULT);
        EXPECT_TRUE(acted) << "the dialog never showed";
        return code;
    }

    static void Click(int id)
    {
        QWidget *button = host::test::WidgetOf(GetDlgItem(g_hSetupDlg, id));
        ASSERT_NE(button, nullptr) << "no button " << id;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    std::filesystem::path installFolder() const { return drive_.path() / "Program Files" / "ZOR"; }

    TempFolder work_{"zor-e2e-cwd"};
    TempFolder drive_{"zor-drive-c"};
    std::filesystem::path previousDirectory_;
};

TEST_F(InstallEndToEnd, ContinueAndYesInstallsAndStartsZorThenReturnsZero)
{
    host::Script script;
    script.launchForReal = true;
    script.messageBoxAnswers = {IDYES};
    host::ScopedScript scoped(script);

    std::string shown;
    int code = RunSetup([&] {
        auto *edit = qobject_cast<QLineEdit *>(host::test::WidgetOf(GetDlgItem(g_hSetupDlg, IDC_INSTALL_PATH)));
        ASSERT_NE(edit, nullptr);
        shown = edit->text().toStdString();
        Click(IDC_CONTINUE);
    });

    EXPECT_EQ(code, 0);
    EXPECT_EQ(shown, "C:\\Program Files\\ZOR\\");
    ASSERT_EQ(script.messageBoxes.size(), 1u);
    EXPECT_EQ(script.messageBoxes[0].text, "Specified directory does not exist! Would you like to create it?");
    EXPECT_EQ(script.messageBoxes[0].caption, "ZOR Setup");
    EXPECT_EQ(script.messageBoxes[0].style, 0x24u);

    EXPECT_EQ(ReadFile(installFolder() / "ZOR.exe"), ReadFile(DemoProgram()));
    EXPECT_EQ(ReadFile(installFolder() / "ZOR.hlp"), ReadFile(DemoSourceFolder() / "ZOR.hlp"));
    EXPECT_EQ(ReadFile(installFolder() / "ZOR.cnt"), ReadFile(DemoSourceFolder() / "ZOR.cnt"));

    ASSERT_EQ(script.launches.size(), 1u);
    EXPECT_EQ(script.launches[0].verb, "open");
    EXPECT_EQ(script.launches[0].file, "C:\\Program Files\\ZOR\\ZOR.exe");
    EXPECT_EQ(script.launches[0].directory, "C:\\Program Files\\ZOR\\");
    EXPECT_EQ(script.launches[0].show, SW_SHOW);
    EXPECT_GT(script.launches[0].result, 32);

    // The installed stand-in runs from the install folder.
    std::optional<StartMarker> marker;
    ASSERT_TRUE(PollUntil([&] { return (marker = ReadStartMarker(installFolder())).has_value(); }, 60s))
        << "the installed ZOR did not start";
    EXPECT_EQ(std::filesystem::path(marker->executable), installFolder() / "ZOR.exe");
    EXPECT_EQ(std::filesystem::path(marker->directory), installFolder());
    EXPECT_GT(marker->pid, 0);
    EXPECT_EQ(ListFiles(installFolder()), "ZOR.cnt\nZOR.exe\nZOR.hlp\nzor-started.txt\n");
}

TEST_F(InstallEndToEnd, CancelAndYesReturnsZeroWithNothingWritten)
{
    host::Script script;
    script.launchForReal = true;
    script.messageBoxAnswers = {IDYES};
    host::ScopedScript scoped(script);

    int code = RunSetup([] { Click(IDC_CANCEL_SETUP); });

    EXPECT_EQ(code, 0);
    ASSERT_EQ(script.messageBoxes.size(), 1u);
    EXPECT_EQ(script.messageBoxes[0].text, "Are you sure you wish to cancel ZOR Setup?");
    EXPECT_EQ(script.messageBoxes[0].style, 0x34u);
    EXPECT_TRUE(script.launches.empty());
    EXPECT_EQ(ListFiles(drive_.path()), "");
    EXPECT_FALSE(std::filesystem::exists(installFolder()));
    EXPECT_EQ(ListFiles(work_.path()), "ZOR.cn_\nZOR.ex_\nZOR.hl_\n");
}

} // namespace
} // namespace zor::e2e
