// KERNEL32 on POSIX: drive C, the current directory, attributes, folders,
// files, temporary names and the module handle.

#include "src/platform/posix/host_path.h"
#include "src/platform/win32.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <regex>
#include <set>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace zor::testing;
namespace fs = std::filesystem;

// Windows-style name of a file in drive C's test folder.
std::string OnDriveC(const std::string &relative)
{
    return "C:\\" + relative;
}

TEST(DriveC, ComesFromTheVariableThenWineThenOwnFolder)
{
    TempFolder temp;
    fs::create_directories(temp / "home/.wine/drive_c");
    fs::create_directories(temp / "prefix/drive_c");
    fs::create_directories(temp / "empty-prefix");

    EnvironmentScope home("HOME", temp / "home");
    EnvironmentScope data("XDG_DATA_HOME", temp / "data");
    {
        EnvironmentScope chosen("ZOR_SETUP_DRIVE_C", temp / "chosen");
        EnvironmentScope prefix("WINEPREFIX", temp / "prefix");
        EXPECT_EQ(zor::posix::DriveCFolder(), temp / "chosen");
    }
    {
        // A relative choice is taken from the current directory.
        CurrentDirectoryScope here(temp.Path());
        EnvironmentScope chosen("ZOR_SETUP_DRIVE_C", "rel/c");
        EXPECT_EQ(zor::posix::DriveCFolder(), temp / "rel/c");
    }
    EnvironmentScope chosen("ZOR_SETUP_DRIVE_C", std::nullopt);
    {
        EnvironmentScope prefix("WINEPREFIX", temp / "prefix");
        EXPECT_EQ(zor::posix::DriveCFolder(), temp / "prefix/drive_c");
    }
    {
        EnvironmentScope prefix("WINEPREFIX", std::nullopt);
        EXPECT_EQ(zor::posix::DriveCFolder(), temp / "home/.wine/drive_c");
    }
    {
        // A Wine prefix without drive_c: our own folder, made with
        // "Program Files" the first time.
        EnvironmentScope prefix("WINEPREFIX", temp / "empty-prefix");
        std::string own = temp / "data/zor-setup/drive_c";
        EXPECT_FALSE(fs::exists(own));
        EXPECT_EQ(zor::posix::DriveCFolder(), own);
        EXPECT_TRUE(fs::is_directory(own + "/Program Files"));
        EXPECT_EQ(GetFileAttributesA("C:\\Program Files\\"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
        fs::remove(own + "/Program Files");
        EXPECT_EQ(zor::posix::DriveCFolder(), own);
        EXPECT_FALSE(fs::exists(own + "/Program Files")) << "made only the first time";
    }
    {
        // Without XDG_DATA_HOME: under the home folder.
        fs::remove_all(temp / "home/.wine");
        EnvironmentScope prefix("WINEPREFIX", std::nullopt);
        EnvironmentScope noData("XDG_DATA_HOME", std::nullopt);
        EXPECT_EQ(zor::posix::DriveCFolder(), temp / "home/.local/share/zor-setup/drive_c");
        EXPECT_TRUE(fs::is_directory(temp / "home/.local/share/zor-setup/drive_c/Program Files"));
    }
}

TEST(GetCurrentDirectory, GivesTheHostPathOrTheSizeItNeeds)
{
    TempFolder temp;
    CurrentDirectoryScope here(temp.Path());
    const std::string cwd = fs::current_path().string();
    const auto length = static_cast<DWORD>(cwd.size());

    char buffer[MAX_PATH];
    ASSERT_LT(length, sizeof buffer);
    EXPECT_EQ(GetCurrentDirectoryA(MAX_PATH, buffer), length);
    EXPECT_EQ(std::string(buffer), cwd);

    // Exactly large enough: the length without the terminator.
    EXPECT_EQ(GetCurrentDirectoryA(length + 1, buffer), length);
    // One byte short, or no buffer: the size needed, nothing written.
    for (DWORD size : {length, DWORD{1}, DWORD{0}}) {
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(GetCurrentDirectoryA(size, buffer), length + 1) << size;
        EXPECT_EQ(buffer[0], '#');
    }
    EXPECT_EQ(GetCurrentDirectoryA(0, nullptr), length + 1);
}

TEST(GetCurrentDirectory, AtTheRootAndWhenTheDirectoryIsGone)
{
    char buffer[MAX_PATH];
    {
        CurrentDirectoryScope root("/");
        EXPECT_EQ(GetCurrentDirectoryA(MAX_PATH, buffer), 1u);
        EXPECT_STREQ(buffer, "/");
    }
    TempFolder temp;
    fs::create_directory(temp / "gone");
    CurrentDirectoryScope here(temp / "gone");
    fs::remove(temp / "gone");
    SetLastError(0);
    EXPECT_EQ(GetCurrentDirectoryA(MAX_PATH, buffer), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(GetFileAttributes, FoldersFilesAndWhatCannotBeExamined)
{
    TempFolder temp;
    fs::create_directory(temp / "folder");
    WriteFile(temp / "file", {1, 2, 3});
    WriteFile(temp / "read-only", {1});
    chmod((temp / "read-only").c_str(), 0444);
    fs::create_directories(DriveCFolder() + "/attr/sub");

    struct Case {
        std::string path;
        DWORD expected;
    };
    const Case cases[] = {
        {temp / "folder", FILE_ATTRIBUTE_DIRECTORY},
        {temp.Path() + "\\folder\\", FILE_ATTRIBUTE_DIRECTORY},
        {temp / "file", FILE_ATTRIBUTE_NORMAL},
        {temp / "read-only", FILE_ATTRIBUTE_READONLY},
        {temp / "missing", INVALID_FILE_ATTRIBUTES},
        {temp / "file\\", INVALID_FILE_ATTRIBUTES},
        {temp / "file\\below", INVALID_FILE_ATTRIBUTES},
        {OnDriveC("attr\\sub"), FILE_ATTRIBUTE_DIRECTORY},
        {"c:/attr//sub/", FILE_ATTRIBUTE_DIRECTORY},
        {"D:\\", INVALID_FILE_ATTRIBUTES},
        {"", INVALID_FILE_ATTRIBUTES},
    };
    for (const Case &c : cases)
        EXPECT_EQ(GetFileAttributesA(c.path.c_str()), c.expected) << c.path;
    EXPECT_EQ(GetFileAttributesA(nullptr), INVALID_FILE_ATTRIBUTES);

    GetFileAttributesA((temp / "missing").c_str());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(CreateDirectory, CreatesTheLastLevelOnly)
{
    fs::remove_all(DriveCFolder() + "/New");
    SetLastError(0);
    EXPECT_FALSE(CreateDirectoryA("C:\\New\\Deeper\\", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(fs::exists(DriveCFolder() + "/New")) << "no intermediate folder";

    EXPECT_TRUE(CreateDirectoryA("C:\\New", nullptr));
    EXPECT_TRUE(CreateDirectoryA("C:\\New\\Deeper\\", nullptr));
    EXPECT_TRUE(fs::is_directory(DriveCFolder() + "/New/Deeper"));

    EXPECT_FALSE(CreateDirectoryA("C:\\New\\Deeper", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));

    WriteFile(DriveCFolder() + "/New/file", {});
    EXPECT_FALSE(CreateDirectoryA("C:\\New\\file", nullptr));
    EXPECT_FALSE(CreateDirectoryA("D:\\New", nullptr));
    EXPECT_FALSE(CreateDirectoryA("C:\\New\\file\\sub", nullptr));
    fs::remove_all(DriveCFolder() + "/New");
}

TEST(DeleteAndMoveFiles, FollowTheWindowsRules)
{
    TempFolder temp;
    std::string a = temp / "a.txt";
    std::string b = temp / "b.txt";
    WriteFile(a, {'a'});
    WriteFile(b, {'b'});

    // Without MOVEFILE_REPLACE_EXISTING an existing target stays.
    EXPECT_FALSE(MoveFileExA(a.c_str(), b.c_str(), 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(ReadFile(a), Bytes{'a'});
    EXPECT_EQ(ReadFile(b), Bytes{'b'});

    EXPECT_TRUE(MoveFileExA(a.c_str(), b.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_FALSE(fs::exists(a));
    EXPECT_EQ(ReadFile(b), Bytes{'a'});

    std::string windowsStyle = temp.Path() + "\\c.txt";
    EXPECT_TRUE(MoveFileExA(b.c_str(), windowsStyle.c_str(), 0));
    EXPECT_EQ(ReadFile(temp / "c.txt"), Bytes{'a'});
    EXPECT_FALSE(MoveFileExA(b.c_str(), windowsStyle.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    // A folder is never replaced by a file, nor deleted as one.
    fs::create_directory(temp / "folder");
    EXPECT_FALSE(MoveFileExA(windowsStyle.c_str(), (temp / "folder").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_TRUE(fs::is_directory(temp / "folder"));
    EXPECT_FALSE(DeleteFileA((temp / "folder").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

    EXPECT_TRUE(DeleteFileA(windowsStyle.c_str()));
    EXPECT_FALSE(fs::exists(temp / "c.txt"));
    EXPECT_FALSE(DeleteFileA(windowsStyle.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(GetTempFileName, CreatesAUniqueEmptyFileWithAWindowsStyleName)
{
    fs::create_directories(DriveCFolder() + "/Temp");
    char first[MAX_PATH];
    char second[MAX_PATH];
    UINT a = GetTempFileNameA("C:\\Temp\\", "zorro", 0, first);
    UINT b = GetTempFileNameA("C:\\Temp", "zor", 0, second);
    ASSERT_NE(a, 0u);
    ASSERT_NE(b, 0u);
    EXPECT_NE(std::string(first), std::string(second));

    std::regex pattern(R"(C:\\Temp\\zor([0-9A-F]{1,4})\.TMP)");
    std::cmatch match;
    ASSERT_TRUE(std::regex_match(first, match, pattern)) << first;
    EXPECT_EQ(std::stoul(match[1].str(), nullptr, 16), a);
    ASSERT_TRUE(std::regex_match(second, pattern)) << second;

    // The file exists and is empty; the name works with the other calls.
    std::string host = DriveCFolder() + "/Temp/" + std::string(first).substr(8);
    EXPECT_TRUE(fs::is_regular_file(host));
    EXPECT_EQ(fs::file_size(host), 0u);
    EXPECT_EQ(GetFileAttributesA(first), static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(DeleteFileA(first));
    EXPECT_TRUE(DeleteFileA(second));
    EXPECT_TRUE(fs::is_empty(DriveCFolder() + "/Temp"));
    fs::remove(DriveCFolder() + "/Temp");
}

TEST(GetTempFileName, GivenNumbersHostPathsAndFailures)
{
    TempFolder temp;
    char name[MAX_PATH];
    // A given number names the file without creating it.
    EXPECT_EQ(GetTempFileNameA(temp.Path().c_str(), "ab", 0x1A2B, name), 0x1A2Bu);
    EXPECT_EQ(std::string(name), temp / "ab1A2B.TMP");
    EXPECT_TRUE(fs::is_empty(temp.Path()));

    // Made files never collide.
    std::set<std::string> names;
    for (int i = 0; i < 50; i++) {
        ASSERT_NE(GetTempFileNameA(temp.Path().c_str(), "", 0, name), 0u);
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 50u);
    EXPECT_EQ(ListFolder(temp.Path()).size(), 50u);

    // A missing folder or a name that would not fit: 0, and nothing overflows.
    EXPECT_EQ(GetTempFileNameA((temp / "missing").c_str(), "zor", 0, name), 0u);
    EXPECT_EQ(GetTempFileNameA("D:\\", "zor", 0, name), 0u);
    std::string deep = temp.Path();
    while (deep.size() < MAX_PATH - 8)
        deep += "/x";
    EXPECT_EQ(GetTempFileNameA(deep.c_str(), "zor", 0, name), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
}

TEST(GetModuleHandle, NamesTheProgramOnly)
{
    HMODULE program = GetModuleHandleA(nullptr);
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(GetModuleHandleA(nullptr), program);
    std::string name = program_invocation_short_name;
    EXPECT_EQ(GetModuleHandleA(name.c_str()), program);
    EXPECT_EQ(GetModuleHandleA((name + ".EXE").c_str()), program);
    EXPECT_EQ(GetModuleHandleA("user32.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST(LastError, IsKeptPerThread)
{
    SetLastError(1234);
    EXPECT_EQ(GetLastError(), 1234u);
    DWORD seenByOther = 0;
    std::thread([&] { seenByOther = GetLastError(); }).join();
    EXPECT_EQ(seenByOther, 0u);
    EXPECT_EQ(GetLastError(), 1234u);
}

} // namespace
