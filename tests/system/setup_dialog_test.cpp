// The setup dialog: what it shows, Browse..., Cancel, and what its procedure
// answers.

#include "system_fixture.h"

#include "src/dialog/dialog.h"
#include "src/platform/qt/test_access.h"

#include <QLineEdit>
#include <QTest>

namespace zor::system_test {
namespace {

std::string WindowText(HWND window)
{
    char text[512] = "(unread)";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

TEST_F(SystemTest, DialogComesUpOverTheBackdropWithTheDefaultFolder)
{
    HWND backdrop = CreateBackdrop();
    ASSERT_NE(backdrop, nullptr);
    ASSERT_NE(g_hSetupDlg, nullptr);
    EXPECT_TRUE(DialogVisible());
    EXPECT_TRUE(IsWindowVisible(backdrop));
    EXPECT_EQ(WindowText(backdrop), "ZOR Setup");
    EXPECT_EQ(WindowText(g_hSetupDlg), "ZOR Setup");
    EXPECT_EQ(FolderText(), "C:\\Program Files\\ZOR\\");

    const std::pair<int, const char *> controls[] = {
        {IDC_WELCOME_TEXT,
         "Welcome to ZOR! This program will copy the ZOR executable files into a directory of your choice. It will "
         "then start ZOR itself, which will complete setup."},
        {IDC_PROMPT_TEXT, "Enter the directory to which you would like to install."},
        {IDC_CONTINUE, "Continue"},
        {IDC_CANCEL_SETUP, "Cancel"},
        {IDC_BROWSE, "Browse..."},
    };
    for (const auto &[id, text] : controls) {
        HWND control = GetDlgItem(g_hSetupDlg, id);
        ASSERT_NE(control, nullptr) << id;
        EXPECT_TRUE(IsWindowVisible(control)) << id;
        EXPECT_EQ(WindowText(control), text) << id;
    }
    EXPECT_EQ(Settle(), std::nullopt);
    EXPECT_TRUE(script_.messageBoxes.empty());
}

TEST_F(SystemTest, BrowseCancelledLeavesTheFolderTextAsItWas)
{
    ASSERT_NE(CreateBackdrop(), nullptr);
    SetFolderText("C:\\Somewhere\\Else");
    script_.folderPicks = {std::nullopt};

    const std::optional<int> ended = Press(IDC_BROWSE);

    ASSERT_EQ(script_.folderPickers.size(), 1u);
    EXPECT_EQ(script_.folderPickers[0].owner, g_hSetupDlg);
    EXPECT_EQ(script_.folderPickers[0].title, kBrowseTitle);
    EXPECT_EQ(script_.folderPickers[0].flags, 1u);
    EXPECT_EQ(FolderText(), "C:\\Somewhere\\Else");
    EXPECT_EQ(ended, std::nullopt);
    EXPECT_TRUE(DialogVisible());
}

TEST_F(SystemTest, BrowsePickReplacesTheTextVerbatimAndContinueAddsTheSeparator)
{
    ASSERT_NE(CreateBackdrop(), nullptr);
    const std::filesystem::path picked = OnDriveC("Program Files") / "Picked Folder";
    std::filesystem::create_directory(picked);
    script_.folderPicks = {picked.string()};

    const std::optional<int> ended = Press(IDC_BROWSE);

    EXPECT_EQ(FolderText(), picked.string());
    EXPECT_EQ(ended, std::nullopt);
    EXPECT_TRUE(DialogVisible());

    const std::optional<int> endedAgain = Press(IDC_CONTINUE);

    EXPECT_TRUE(script_.messageBoxes.empty());
    EXPECT_EQ(e2e::ListFiles(picked), "ZOR.cnt\nZOR.exe\nZOR.hlp\n");
    ASSERT_EQ(script_.launches.size(), 1u);
    EXPECT_EQ(script_.launches[0].file, picked.string() + "\\ZOR.exe");
    EXPECT_EQ(script_.launches[0].directory, picked.string() + "\\");
    EXPECT_EQ(endedAgain, 0);
}

TEST_F(SystemTest, CancelThenNoKeepsTheDialogAndItsText)
{
    ASSERT_NE(CreateBackdrop(), nullptr);
    SetFolderText("C:\\Keep\\Me");
    script_.messageBoxAnswers = {IDNO};

    const std::optional<int> ended = Press(IDC_CANCEL_SETUP);

    ASSERT_EQ(BoxesOf(script_), (std::vector<Box>{{kCancelQuestion, SETUP_TITLE, 0x34}}));
    EXPECT_EQ(script_.messageBoxes[0].owner, g_hSetupDlg);
    EXPECT_EQ(ended, std::nullopt);
    EXPECT_TRUE(DialogVisible());
    EXPECT_EQ(FolderText(), "C:\\Keep\\Me");
}

TEST_F(SystemTest, CancelThenYesEndsSetupWithNothingWritten)
{
    ASSERT_NE(CreateBackdrop(), nullptr);
    script_.messageBoxAnswers = {IDYES};

    const std::optional<int> ended = Press(IDC_CANCEL_SETUP);

    EXPECT_EQ(BoxesOf(script_), (std::vector<Box>{{kCancelQuestion, SETUP_TITLE, 0x34}}));
    EXPECT_EQ(ended, 0);
    EXPECT_FALSE(DialogVisible());
    EXPECT_TRUE(script_.launches.empty());
    EXPECT_EQ(e2e::ListFiles(DriveC()), "");
}

// What the procedure answers for each command: TRUE for what it handles.
TEST_F(SystemTest, DialogProcedureAnswersHandledCommandsOnly)
{
    ASSERT_NE(CreateBackdrop(), nullptr);
    HWND dlg = g_hSetupDlg;
    struct Command {
        WPARAM wParam;
        std::deque<int> answers;
        INT_PTR result;
    };
    const Command commands[] = {
        {MAKEWPARAM(IDC_INSTALL_PATH, EN_CHANGE), {}, FALSE},
        {MAKEWPARAM(IDC_PROMPT_TEXT, 0), {}, FALSE},
        {MAKEWPARAM(IDC_WELCOME_TEXT, 0), {}, FALSE},
        {MAKEWPARAM(1000, 0), {}, FALSE},
        {MAKEWPARAM(1007, 0), {}, FALSE},
        {MAKEWPARAM(IDC_CANCEL_SETUP, 0), {IDNO}, FALSE},
        // Only the low word names the control.
        {MAKEWPARAM(IDC_BROWSE, 0x1234), {}, TRUE},
    };
    for (const Command &command : commands) {
        script_.messageBoxAnswers = command.answers;
        EXPECT_EQ(SetupDlgProc(dlg, WM_COMMAND, command.wParam, 0), command.result) << "id " << LOWORD(command.wParam);
    }
    EXPECT_EQ(SetupDlgProc(dlg, WM_SIZE, 0, 0), FALSE);
    EXPECT_EQ(SetupDlgProc(dlg, WM_CLOSE, 0, 0), FALSE);
    EXPECT_EQ(script_.messageBoxes.size(), 1u);
    EXPECT_EQ(script_.folderPickers.size(), 1u);
    EXPECT_EQ(Settle(), std::nullopt);
    EXPECT_TRUE(DialogVisible());

    script_.messageBoxAnswers = {IDYES};
    EXPECT_EQ(SetupDlgProc(dlg, WM_COMMAND, MAKEWPARAM(IDC_CANCEL_SETUP, BN_CLICKED), 0), TRUE);
    EXPECT_EQ(Settle(), 0);
}

// Enter, Escape and Tab are not dialog keys here: they press no button.
// The edit box still takes its own keys.
TEST_F(SystemTest, KeysInTheFolderBoxPressNoButton)
{
    ASSERT_NE(CreateBackdrop(), nullptr);
    QWidget *edit = host::test::WidgetOf(GetDlgItem(g_hSetupDlg, IDC_INSTALL_PATH));
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    SetFolderText("C:\\Typed");
    if (auto *line = qobject_cast<QLineEdit *>(edit))
        line->end(false);

    QTest::keyClicks(edit, "\\More");
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Tab})
        QTest::keyClick(edit, key);

    EXPECT_EQ(Settle(), std::nullopt);
    EXPECT_TRUE(DialogVisible());
    EXPECT_EQ(FolderText(), "C:\\Typed\\More");
    EXPECT_TRUE(script_.messageBoxes.empty());
    EXPECT_TRUE(script_.launches.empty());
    EXPECT_EQ(script_.beeps, 0);
}

TEST_F(SystemTest, FolderTextIsReadAsAtMost259Characters)
{
    ASSERT_NE(CreateBackdrop(), nullptr);
    SetFolderText(std::string(300, 'x'));
    EXPECT_EQ(FolderText(), std::string(259, 'x'));
}

} // namespace
} // namespace zor::system_test
