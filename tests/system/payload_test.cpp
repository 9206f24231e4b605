// Expanding the payload from the current directory into the install folder.

#include "system_fixture.h"

#include "src/install/install.h"
#include "tests/e2e/child_process.h"

#include <fstream>

namespace zor::system_test {
namespace {

using e2e::ListFiles;
using e2e::ReadFile;

constexpr char kInstallDir[] = "C:\\Program Files\\ZOR\\";

// A compressed file in the expansion format that stores every byte as a
// literal, recording `recorded` as the last character of the name.
std::string PackedLiterally(const std::string &content, char recorded)
{
    std::string packed = "SZDD\x88\xf0\x27\x33";
    packed += 'A';
    packed += recorded;
    for (int shift = 0; shift < 32; shift += 8)
        packed += static_cast<char>((content.size() >> shift) & 0xff);
    for (std::size_t i = 0; i < content.size(); i += 8) {
        packed += '\xff';
        packed += content.substr(i, 8);
    }
    return packed;
}

class PayloadTest : public SystemTest {
  protected:
    void SetUp() override
    {
        SystemTest::SetUp();
        std::filesystem::create_directories(folder_);
    }

    const std::filesystem::path folder_ = OnDriveC("Program Files/ZOR");
};

TEST_F(PayloadTest, ExpandsTheThreeFilesUnderTheirRecordedNames)
{
    EXPECT_EQ(InstallPayload(kInstallDir), 1);
    EXPECT_EQ(ListFiles(folder_), "ZOR.cnt\nZOR.exe\nZOR.hlp\n");
    EXPECT_EQ(ReadFile(folder_ / "ZOR.exe"), ReadFile(e2e::DemoProgram()));
    EXPECT_EQ(ReadFile(folder_ / "ZOR.hlp"), ReadFile(e2e::DemoSourceFolder() / "ZOR.hlp"));
    EXPECT_EQ(ReadFile(folder_ / "ZOR.cnt"), ReadFile(e2e::DemoSourceFolder() / "ZOR.cnt"));
    // The payload stays where it was.
    EXPECT_EQ(ListFiles(WorkFolder()), "ZOR.cn_\nZOR.ex_\nZOR.hl_\n");
}

TEST_F(PayloadTest, TheNameRecordedInTheFileWinsOverTheCompressedName)
{
    std::ofstream("ZOR.cn_", std::ios::binary) << PackedLiterally("contents, renamed", 'x');
    EXPECT_EQ(ExpandPayloadFile(kInstallDir, "ZOR.cn_"), 1);
    EXPECT_EQ(ListFiles(folder_), "ZOR.cnx\n");
    EXPECT_EQ(ReadFile(folder_ / "ZOR.cnx"), "contents, renamed");
}

TEST_F(PayloadTest, StopsAtTheFirstMissingFileAndKeepsWhatCameBefore)
{
    std::filesystem::remove("ZOR.hl_");
    EXPECT_EQ(InstallPayload(kInstallDir), 0);
    EXPECT_EQ(ListFiles(folder_), "ZOR.exe\n");
    EXPECT_EQ(ReadFile(folder_ / "ZOR.exe"), ReadFile(e2e::DemoProgram()));

    std::filesystem::remove("ZOR.ex_");
    std::filesystem::remove(folder_ / "ZOR.exe");
    EXPECT_EQ(InstallPayload(kInstallDir), 0);
    EXPECT_EQ(ListFiles(folder_), "");
}

TEST_F(PayloadTest, LooksForThePayloadInTheCurrentDirectoryOnly)
{
    e2e::TempFolder elsewhere("zor-elsewhere");
    std::filesystem::current_path(elsewhere.path());
    EXPECT_EQ(InstallPayload(kInstallDir), 0);
    EXPECT_EQ(ListFiles(folder_), "");
    std::filesystem::current_path(WorkFolder());
}

TEST_F(PayloadTest, OverwritesAnExistingFileOfTheSameName)
{
    std::ofstream(folder_ / "ZOR.cnt", std::ios::binary) << std::string(100000, '#');
    EXPECT_EQ(ExpandPayloadFile(kInstallDir, "ZOR.cn_"), 1);
    EXPECT_EQ(ReadFile(folder_ / "ZOR.cnt"), ReadFile(e2e::DemoSourceFolder() / "ZOR.cnt"));
}

TEST_F(PayloadTest, CorruptFileFailsAndLeavesNoPartialOrTemporaryFile)
{
    std::string packed = PackedLiterally(std::string(5000, 'h'), 'p');
    std::ofstream("ZOR.hl_", std::ios::binary) << packed.substr(0, packed.size() / 2);
    EXPECT_EQ(ExpandPayloadFile(kInstallDir, "ZOR.hl_"), 0);
    EXPECT_EQ(ListFiles(folder_), "");
}

TEST_F(PayloadTest, FailsWhenTheInstallFolderIsMissing)
{
    EXPECT_EQ(ExpandPayloadFile("C:\\Program Files\\Nowhere\\", "ZOR.cn_"), 0);
    EXPECT_EQ(ListFiles(DriveC()), "");
}

} // namespace
} // namespace zor::system_test
