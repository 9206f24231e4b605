// The payload expansion of the setup program (src/install/payload.cpp) on the
// POSIX layer: order, first failure, recorded names, the current directory,
// replacing files, and every fault of the layer.

#include "src/install/install.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

using namespace zor::testing;
namespace fs = std::filesystem;

// A source folder holding the payload, an install folder, and the current
// directory at the source folder.
class Payload : public ::testing::Test {
  protected:
    void SetUp() override
    {
        fs::create_directory(source / "");
        fs::create_directory(install / "");
        here.emplace(sourceFolder.Path());
    }

    // The install folder as setup passes it: Windows style, with a trailing backslash.
    std::string InstallDir() const { return install.Path() + "\\"; }

    void PutPayload(const std::string &name, const Bytes &data, std::uint8_t recorded)
    {
        WriteFile(sourceFolder / name, Pack(data, recorded));
    }

    void PutStandardPayload()
    {
        PutPayload("ZOR.ex_", exe, 'e');
        PutPayload("ZOR.hl_", hlp, 'p');
        PutPayload("ZOR.cn_", cnt, 't');
    }

    // The install folder holds exactly these names: no temporary file left.
    void ExpectInstalled(const std::vector<std::string> &names) { EXPECT_EQ(ListFolder(install.Path()), names); }

    TempFolder sourceFolder;
    TempFolder install;
    TempFolder &source = sourceFolder;
    std::optional<CurrentDirectoryScope> here;
    Bytes exe = MixedData(150'000, 1);
    Bytes hlp = MixedData(40'000, 2);
    Bytes cnt = MixedData(900, 3);
};

TEST_F(Payload, ExpandsTheThreeFilesUnderTheirRecordedNames)
{
    PutStandardPayload();
    EXPECT_EQ(InstallPayload(InstallDir().c_str()), 1);
    ExpectInstalled({"ZOR.cnt", "ZOR.exe", "ZOR.hlp"});
    EXPECT_TRUE(ReadFile(install / "ZOR.exe") == exe);
    EXPECT_TRUE(ReadFile(install / "ZOR.hlp") == hlp);
    EXPECT_TRUE(ReadFile(install / "ZOR.cnt") == cnt);
}

TEST_F(Payload, WorksThroughDriveC)
{
    PutStandardPayload();
    fs::create_directories(DriveCFolder() + "/Program Files/ZOR");
    EXPECT_EQ(InstallPayload("C:\\Program Files\\ZOR\\"), 1);
    EXPECT_EQ(ListFolder(DriveCFolder() + "/Program Files/ZOR"),
              (std::vector<std::string>{"ZOR.cnt", "ZOR.exe", "ZOR.hlp"}));
    EXPECT_TRUE(ReadFile(DriveCFolder() + "/Program Files/ZOR/ZOR.exe") == exe);
    fs::remove_all(DriveCFolder() + "/Program Files/ZOR");
}

TEST_F(Payload, StopsAtTheFirstFailureAndKeepsWhatWasExpanded)
{
    PutPayload("ZOR.ex_", exe, 'e');
    PutPayload("ZOR.cn_", cnt, 't');
    EXPECT_EQ(InstallPayload(InstallDir().c_str()), 0);
    ExpectInstalled({"ZOR.exe"}); // ZOR.cn_ was not attempted
    EXPECT_TRUE(ReadFile(install / "ZOR.exe") == exe);
}

TEST_F(Payload, UsesTheNameTheFileRecords)
{
    PutPayload("ZOR.ex_", exe, 'x');
    PutPayload("ZOR.hl_", hlp, 0);
    EXPECT_EQ(ExpandPayloadFile(InstallDir().c_str(), "ZOR.ex_"), 1);
    EXPECT_EQ(ExpandPayloadFile(InstallDir().c_str(), "ZOR.hl_"), 1);
    ExpectInstalled({"ZOR.exx", "ZOR.hl_"});
    EXPECT_TRUE(ReadFile(install / "ZOR.hl_") == hlp);
}

TEST_F(Payload, ReadsTheCurrentDirectoryAfreshForEveryFile)
{
    TempFolder other;
    Bytes otherExe = MixedData(5000, 9);
    WriteFile(other / "ZOR.ex_", Pack(otherExe, 'e'));
    PutPayload("ZOR.ex_", exe, 'e');

    EXPECT_EQ(ExpandPayloadFile(InstallDir().c_str(), "ZOR.ex_"), 1);
    EXPECT_TRUE(ReadFile(install / "ZOR.exe") == exe);
    {
        CurrentDirectoryScope moved(other.Path());
        EXPECT_EQ(ExpandPayloadFile(InstallDir().c_str(), "ZOR.ex_"), 1);
        EXPECT_TRUE(ReadFile(install / "ZOR.exe") == otherExe);
    }
    // Started from a folder without the payload, nothing is written.
    TempFolder empty;
    CurrentDirectoryScope elsewhere(empty.Path());
    fs::remove(install / "ZOR.exe");
    EXPECT_EQ(InstallPayload(InstallDir().c_str()), 0);
    ExpectInstalled({});
}

// At the root the source path becomes "/\ZOR.ex_". The child makes a
// temporary folder its root to have a payload there.
TEST_F(Payload, ACurrentDirectoryAtTheRoot)
{
    TempFolder root;
    fs::create_directory(root / "install");
    WriteFile(root / "ZOR.ex_", Pack(exe, 'e'));
    ChildResult child = RunInChild([&] {
        if (chroot(root.Path().c_str()) != 0)
            return 90;
        if (chdir("/") != 0)
            return 91;
        return ExpandPayloadFile("/install\\", "ZOR.ex_") == 1 ? 0 : 1;
    });
    ASSERT_TRUE(child.exitCode) << "signal " << child.signal;
    if (*child.exitCode == 90)
        GTEST_SKIP() << "chroot needs root (or CAP_SYS_CHROOT)";
    EXPECT_EQ(*child.exitCode, 0);
    EXPECT_TRUE(ReadFile(root / "install/ZOR.exe") == exe);
    EXPECT_EQ(ListFolder(root / "install"), std::vector<std::string>{"ZOR.exe"});
}

TEST_F(Payload, ReplacesAnExistingFileOnSuccessAndKeepsItOnFailure)
{
    Bytes earlier = {'o', 'l', 'd'};
    WriteFile(install / "ZOR.exe", earlier);
    PutPayload("ZOR.ex_", exe, 'e');
    EXPECT_EQ(ExpandPayloadFile(InstallDir().c_str(), "ZOR.ex_"), 1);
    EXPECT_TRUE(ReadFile(install / "ZOR.exe") == exe);

    WriteFile(install / "ZOR.exe", earlier);
    Bytes packed = Pack(exe, 'e');
    packed.resize(packed.size() / 2);
    WriteFile(source / "ZOR.ex_", packed);
    EXPECT_EQ(ExpandPayloadFile(InstallDir().c_str(), "ZOR.ex_"), 0);
    EXPECT_EQ(ReadFile(install / "ZOR.exe"), earlier);
    ExpectInstalled({"ZOR.exe"});
}

TEST_F(Payload, PathsThatDoNotFitGiveZero)
{
    PutPayload("ZOR.ex_", exe, 'e');
    // Install folder + recorded name one byte too long, then just fitting.
    std::string installDir = InstallDir();
    std::string longDir = installDir + std::string(MAX_PATH - installDir.size() - 8, 'd') + "\\";
    ASSERT_EQ(longDir.size() + 7, static_cast<std::size_t>(MAX_PATH));
    EXPECT_EQ(ExpandPayloadFile(longDir.c_str(), "ZOR.ex_"), 0);
    ExpectInstalled({});
    // A folder that leaves room for the temporary file's name (up to
    // "zorFFFF.TMP", 11 bytes) as well works.
    std::string fitting = installDir + std::string(MAX_PATH - 1 - 11 - installDir.size() - 1, 'f') + "\\";
    fs::create_directory(install / fitting.substr(installDir.size(), fitting.size() - installDir.size() - 1));
    EXPECT_EQ(ExpandPayloadFile(fitting.c_str(), "ZOR.ex_"), 1);
    EXPECT_TRUE(ReadFile(install / (fitting.substr(installDir.size(), fitting.size() - installDir.size() - 1) +
                                    "/ZOR.exe")) == exe);

    // A current directory of 260 bytes or more, and one where the source
    // path ("\" and the name) no longer fits.
    std::string deep = source.Path();
    while (deep.size() < MAX_PATH + 20)
        deep += "/" + std::string(30, 'c');
    fs::create_directories(deep);
    for (std::size_t length : {deep.size(), static_cast<std::size_t>(MAX_PATH - 5)}) {
        std::string folder = deep.substr(0, length);
        while (folder.back() == '/')
            folder.pop_back();
        fs::create_directories(folder);
        WriteFile(folder + "/ZOR.ex_", Pack(exe, 'e'));
        CurrentDirectoryScope inside(folder);
        EXPECT_EQ(ExpandPayloadFile(InstallDir().c_str(), "ZOR.ex_"), 0) << folder.size();
    }
}

// Every failure of the layer: result 0, no crash, no earlier file lost, no
// temporary file left.
class PayloadFaults : public Payload {
  protected:
    void SetUp() override
    {
        Payload::SetUp();
        WriteFile(install / "ZOR.exe", earlier);
    }
    void ExpectUntouched()
    {
        EXPECT_EQ(ReadFile(install / "ZOR.exe"), earlier);
        ExpectInstalled({"ZOR.exe"});
    }
    Bytes earlier = {'e', 'a', 'r', 'l', 'i', 'e', 'r'};
};

TEST_F(PayloadFaults, MissingPayload)
{
    EXPECT_EQ(ExpandPayloadFile(InstallDir().c_str(), "ZOR.ex_"), 0);
    ExpectUntouched();
}

TEST_F(PayloadFaults, EveryPrefixOfAValidFile)
{
    Bytes packed = Pack(MixedData(2500, 5), 'e');
    for (std::size_t size = 1; size < packed.size(); size++) {
        WriteFile(source / "ZOR.ex_", Bytes(packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(size)));
        ASSERT_EQ(ExpandPayloadFile(InstallDir().c_str(), "ZOR.ex_"), 0) << size;
    }
    ExpectUntouched();
}

TEST_F(PayloadFaults, AHeaderRecordingABadCharacter)
{
    for (std::uint8_t bad : {'\\', '/', ':', '*', '?', '"', '<', '>', '|', '\t'}) {
        PutPayload("ZOR.ex_", exe, bad);
        EXPECT_EQ(ExpandPayloadFile(InstallDir().c_str(), "ZOR.ex_"), 0) << bad;
    }
    ExpectUntouched();
}

TEST_F(PayloadFaults, AStreamThatDecodesPastItsLength)
{
    Bytes packed = Pack(exe, 'e');
    packed[10] = static_cast<std::uint8_t>(packed[10] - 1); // one byte less recorded
    WriteFile(source / "ZOR.ex_", packed);
    EXPECT_EQ(ExpandPayloadFile(InstallDir().c_str(), "ZOR.ex_"), 0);
    ExpectUntouched();
}

TEST_F(PayloadFaults, AnUncreatableDestination)
{
    PutPayload("ZOR.ex_", exe, 'e');
    std::string missingDir = install.Path() + "\\missing\\";
    EXPECT_EQ(ExpandPayloadFile(missingDir.c_str(), "ZOR.ex_"), 0);
    EXPECT_EQ(ExpandPayloadFile("Q:\\ZOR\\", "ZOR.ex_"), 0);
    ExpectUntouched();

    // The recorded name is taken by a folder.
    PutPayload("ZOR.hl_", hlp, 'p');
    fs::create_directory(install / "ZOR.hlp");
    EXPECT_EQ(ExpandPayloadFile(InstallDir().c_str(), "ZOR.hl_"), 0);
    EXPECT_TRUE(fs::is_directory(install / "ZOR.hlp"));
    EXPECT_EQ(ListFolder(install.Path()), (std::vector<std::string>{"ZOR.exe", "ZOR.hlp"}));
}

TEST_F(PayloadFaults, AFullDiskDuringTheCopy)
{
    PutPayload("ZOR.ex_", MixedData(3'000'000, 7), 'e');
    for (bool ignore : {true, false}) {
        SCOPED_TRACE(ignore ? "SIGXFSZ ignored" : "SIGXFSZ default");
        ChildResult child = RunWithFileSizeLimit(
            512 * 1024, ignore, [&] { return ExpandPayloadFile(InstallDir().c_str(), "ZOR.ex_") == 0 ? 0 : 1; });
        ASSERT_TRUE(child.exitCode) << "died of signal " << child.signal;
        EXPECT_EQ(*child.exitCode, 0);
        ExpectUntouched();
    }
}

TEST_F(PayloadFaults, AnUnreadablePayload)
{
    PutPayload("ZOR.ex_", exe, 'e');
    fs::permissions(source / "ZOR.ex_", fs::perms::none);
    fs::permissions(source.Path(), fs::perms::all);
    fs::permissions(install.Path(), fs::perms::all);
    auto attempt = [&] { return ExpandPayloadFile(InstallDir().c_str(), "ZOR.ex_") == 0 ? 0 : 1; };
    std::optional<ChildResult> result = RunUnprivileged(attempt);
    if (!result)
        GTEST_SKIP() << "cannot drop privileges to nobody (65534) in a child";
    ASSERT_TRUE(result->exitCode) << "died of signal " << result->signal;
    EXPECT_EQ(*result->exitCode, 0);
    ExpectUntouched();
}

} // namespace
