// Continue in the setup dialog: the folder check, the payload, the launch of
// the installed program, and every way the sequence ends.

#include "system_fixture.h"

#include "tests/e2e/child_process.h"

#include <fstream>
#include <functional>

namespace zor::system_test {
namespace {

using e2e::ListFiles;
using e2e::ReadFile;

constexpr char kInstalledFiles[] = "ZOR.cnt\nZOR.exe\nZOR.hlp\n";

void ExpectInstalledDemo(const std::filesystem::path &folder)
{
    EXPECT_EQ(ListFiles(folder), kInstalledFiles);
    EXPECT_EQ(ReadFile(folder / "ZOR.exe"), ReadFile(e2e::DemoProgram()));
    EXPECT_EQ(ReadFile(folder / "ZOR.hlp"), ReadFile(e2e::DemoSourceFolder() / "ZOR.hlp"));
    EXPECT_EQ(ReadFile(folder / "ZOR.cnt"), ReadFile(e2e::DemoSourceFolder() / "ZOR.cnt"));
}

struct InstallCase {
    const char *name;
    std::string text;         // typed into the folder box
    const char *hostFolder;   // where that is under drive C:
    bool folderExists;        // before Continue
    std::string launchFolder; // the install folder as the program names it
};

void PrintTo(const InstallCase &c, std::ostream *out) { *out << c.name; }

class InstallTest : public SystemTest, public ::testing::WithParamInterface<InstallCase> {};

TEST_P(InstallTest, ContinueInstallsThePayloadAndStartsZorFromTheFolder)
{
    const InstallCase &c = GetParam();
    const std::filesystem::path folder = OnDriveC(c.hostFolder);
    if (c.folderExists)
        std::filesystem::create_directories(folder);
    ASSERT_NE(CreateBackdrop(), nullptr);
    SetFolderText(c.text);
    script_.messageBoxAnswers = {IDYES};

    const std::optional<int> ended = Press(IDC_CONTINUE);

    if (c.folderExists)
        EXPECT_EQ(BoxesOf(script_), std::vector<Box>{});
    else
        EXPECT_EQ(BoxesOf(script_), (std::vector<Box>{{kFolderQuestion, SETUP_TITLE, 0x24}}));
    for (const host::MessageBoxCall &call : script_.messageBoxes)
        EXPECT_EQ(call.owner, g_hSetupDlg);
    ExpectInstalledDemo(folder);

    ASSERT_EQ(script_.launches.size(), 1u);
    const host::LaunchCall &launch = script_.launches[0];
    EXPECT_EQ(launch.verb, "open");
    EXPECT_EQ(launch.file, c.launchFolder + "ZOR.exe");
    EXPECT_EQ(launch.parameters, "");
    EXPECT_EQ(launch.directory, c.launchFolder);
    EXPECT_EQ(launch.show, SW_SHOW);

    EXPECT_EQ(ended, 0);
    EXPECT_FALSE(DialogVisible());
    EXPECT_EQ(script_.beeps, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, InstallTest,
    ::testing::Values(InstallCase{"DefaultFolderExists", DEFAULT_INSTALL_DIR, "Program Files/ZOR", true,
                                  "C:\\Program Files\\ZOR\\"},
                      InstallCase{"DefaultFolderCreatedOnYes", DEFAULT_INSTALL_DIR, "Program Files/ZOR", false,
                                  "C:\\Program Files\\ZOR\\"},
                      InstallCase{"NoTrailingBackslashFolderExists", "C:\\Program Files\\Apps", "Program Files/Apps",
                                  true, "C:\\Program Files\\Apps\\"},
                      InstallCase{"NoTrailingBackslashCreatedOnYes", "C:\\Program Files\\Apps", "Program Files/Apps",
                                  false, "C:\\Program Files\\Apps\\"},
                      InstallCase{"ForwardSlashesGetABackslash", "C:/Program Files/Fwd", "Program Files/Fwd", false,
                                  "C:/Program Files/Fwd\\"},
                      InstallCase{"TrailingForwardSlashStillGetsABackslash", "C:/Program Files/Fwd/",
                                  "Program Files/Fwd", true, "C:/Program Files/Fwd/\\"}),
    [](const ::testing::TestParamInfo<InstallCase> &info) { return std::string(info.param.name); });

// Cases where Continue ends setup without installing anything.
struct EndCase {
    const char *name;
    std::function<std::string(const std::filesystem::path &driveC)> prepare; // returns the folder text
    std::deque<int> answers;
    std::vector<Box> boxes;
};

std::string LongName(std::size_t length)
{
    return std::string(length, 'z');
}

void PrintTo(const EndCase &c, std::ostream *out) { *out << c.name; }

class EndWithoutInstallTest : public SystemTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(EndWithoutInstallTest, SetupEndsWithNothingInstalledOrStarted)
{
    const EndCase &c = GetParam();
    ASSERT_NE(CreateBackdrop(), nullptr);
    const std::string text = c.prepare(DriveC());
    // What was in the drive and in the current directory before Continue.
    const std::string driveBefore = ListFiles(DriveC());
    SetFolderText(text);
    ASSERT_EQ(FolderText(), text);
    script_.messageBoxAnswers = c.answers;

    const std::optional<int> ended = Press(IDC_CONTINUE);

    EXPECT_EQ(BoxesOf(script_), c.boxes);
    for (const host::MessageBoxCall &call : script_.messageBoxes)
        EXPECT_EQ(call.owner, g_hSetupDlg);
    EXPECT_EQ(script_.unansweredBoxes, 0);
    EXPECT_TRUE(script_.launches.empty());
    EXPECT_EQ(ListFiles(DriveC()), driveBefore);
    EXPECT_EQ(ended, 0);
    EXPECT_FALSE(DialogVisible());
}

const Box kQuestion{kFolderQuestion, SETUP_TITLE, 0x24};
const Box kCreateError{kFolderError, SETUP_TITLE, 0x10};
const Box kCopyError{kCopyFailure, SETUP_ERROR_TITLE, 0x10};

INSTANTIATE_TEST_SUITE_P(
    Outcomes, EndWithoutInstallTest,
    ::testing::Values(
        EndCase{"FolderMissingAndNo",
                [](const std::filesystem::path &) { return std::string(DEFAULT_INSTALL_DIR); },
                {IDNO},
                {kQuestion}},
        EndCase{"FileInTheWay",
                [](const std::filesystem::path &drive) {
                    std::ofstream(drive / "Program Files" / "ZOR") << "not a folder";
                    return std::string(DEFAULT_INSTALL_DIR);
                },
                {IDYES, IDOK},
                {kQuestion, kCreateError}},
        EndCase{"MissingParent",
                [](const std::filesystem::path &) { return std::string("C:\\Program Files\\New\\Deeper\\"); },
                {IDYES, IDOK},
                {kQuestion, kCreateError}},
        EndCase{"UnmappedDrive",
                [](const std::filesystem::path &) { return std::string("Q:\\ZOR\\"); },
                {IDYES, IDOK},
                {kQuestion, kCreateError}},
        EndCase{
            "OnlySpacesAndNo", [](const std::filesystem::path &) { return std::string("   "); }, {IDNO}, {kQuestion}},
        EndCase{"PayloadMissingFromCurrentDirectory",
                [](const std::filesystem::path &drive) {
                    std::filesystem::create_directory(drive / "Program Files" / "ZOR");
                    for (const char *name : {"ZOR.ex_", "ZOR.hl_", "ZOR.cn_"})
                        std::filesystem::remove(name);
                    return std::string(DEFAULT_INSTALL_DIR);
                },
                {IDOK},
                {kCopyError}},
        // "C:\Program Files\" is 17 characters: 259 in all, and the separator
        // does not fit.
        EndCase{"FolderOf259NeedingTheSeparatorCreatedOnYes",
                [](const std::filesystem::path &) { return "C:\\Program Files\\" + LongName(242); },
                {IDYES, IDOK},
                {kQuestion, kCopyError}},
        // 254 characters with the separator: "ZOR.exe" does not fit.
        EndCase{"FolderTooLongForTheProgramName",
                [](const std::filesystem::path &drive) {
                    std::filesystem::create_directory(drive / "Program Files" / LongName(236));
                    return "C:\\Program Files\\" + LongName(236) + "\\";
                },
                {IDOK},
                {kCopyError}}),
    [](const ::testing::TestParamInfo<EndCase> &info) { return std::string(info.param.name); });

TEST_F(SystemTest, EmptyFolderTextOnlyBeepsAndTheDialogStays)
{
    ASSERT_NE(CreateBackdrop(), nullptr);
    SetFolderText("");

    const std::optional<int> ended = Press(IDC_CONTINUE);

    EXPECT_EQ(script_.beeps, 1);
    EXPECT_TRUE(script_.messageBoxes.empty());
    EXPECT_TRUE(script_.launches.empty());
    EXPECT_EQ(ended, std::nullopt);
    EXPECT_TRUE(DialogVisible());
    EXPECT_EQ(ListFiles(DriveC()), "");

    // The dialog still works: a folder typed afterwards installs.
    SetFolderText(DEFAULT_INSTALL_DIR);
    script_.messageBoxAnswers = {IDYES};
    const std::optional<int> endedAgain = Press(IDC_CONTINUE);
    EXPECT_EQ(script_.beeps, 1);
    ExpectInstalledDemo(OnDriveC("Program Files/ZOR"));
    EXPECT_EQ(script_.launches.size(), 1u);
    EXPECT_EQ(endedAgain, 0);
}

TEST_F(SystemTest, FailedReinstallKeepsTheFilesInstalledBefore)
{
    const std::filesystem::path folder = OnDriveC("Program Files/ZOR");
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "ZOR.hlp") << "help installed before";
    // A payload help file cut short: its expansion fails.
    std::filesystem::resize_file("ZOR.hl_", 20);
    ASSERT_NE(CreateBackdrop(), nullptr);

    const std::optional<int> ended = Press(IDC_CONTINUE);

    EXPECT_EQ(BoxesOf(script_), (std::vector<Box>{kCopyError}));
    EXPECT_TRUE(script_.launches.empty());
    // ZOR.exe came first and stays; ZOR.cnt was not attempted; the old help
    // file is untouched and no temporary file is left.
    EXPECT_EQ(ListFiles(folder), "ZOR.exe\nZOR.hlp\n");
    EXPECT_EQ(ReadFile(folder / "ZOR.exe"), ReadFile(e2e::DemoProgram()));
    EXPECT_EQ(ReadFile(folder / "ZOR.hlp"), "help installed before");
    EXPECT_EQ(ended, 0);
}

} // namespace
} // namespace zor::system_test
