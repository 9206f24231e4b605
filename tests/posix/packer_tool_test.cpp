// The zor-pack command.

#include "src/platform/logic/szdd_format.h"
#include "src/platform/win32.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>

namespace {

using namespace zor::testing;
namespace fs = std::filesystem;

struct ToolRun {
    int exitCode;
    std::string errors;
};

ToolRun RunPacker(const TempFolder &temp, const std::string &arguments)
{
    std::string command = std::string("'") + ZOR_PACK_PROGRAM + "' " + arguments + " 2>'" + (temp / "stderr") + "'";
    int status = std::system(command.c_str());
    std::optional<Bytes> errors = ReadFile(temp / "stderr");
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::string(errors->begin(), errors->end())};
}

std::uint8_t RecordedCharacter(const std::string &path)
{
    Bytes packed = *ReadFile(path);
    zor::szdd::Header header;
    EXPECT_EQ(zor::szdd::ParseHeader(packed, header), zor::szdd::HeaderStatus::Ok);
    return header.missingChar;
}

TEST(PackerTool, PacksRecordingTheReplacedCharacter)
{
    TempFolder temp;
    Bytes data = MixedData(200'000, 6);
    WriteFile(temp / "ZOR.exe", data);

    // Without OUTPUT: the last character becomes the underscore.
    ToolRun derived = RunPacker(temp, "'" + (temp / "ZOR.exe") + "'");
    EXPECT_EQ(derived.exitCode, 0) << derived.errors;
    EXPECT_EQ(derived.errors, "");
    EXPECT_EQ(RecordedCharacter(temp / "ZOR.ex_"), 'e');

    // With OUTPUT: that name, still recording the input's last character.
    ToolRun named = RunPacker(temp, "'" + (temp / "ZOR.exe") + "' '" + (temp / "payload.bin") + "'");
    EXPECT_EQ(named.exitCode, 0) << named.errors;
    EXPECT_EQ(RecordedCharacter(temp / "payload.bin"), 'e');

    // What it wrote expands to the input under the recorded name.
    std::string source = temp.Path() + "\\ZOR.ex_";
    char expanded[MAX_PATH];
    ASSERT_EQ(GetExpandedNameA(source.data(), expanded), TRUE);
    EXPECT_EQ(std::string(expanded), temp.Path() + "\\ZOR.exe");
    std::string out = temp / "copy";
    EXPECT_EQ(Expand(source, out), static_cast<long>(data.size()));
    EXPECT_TRUE(ReadFile(out) == data);
}

TEST(PackerTool, FailuresSayWhyInOneLine)
{
    TempFolder temp;
    WriteFile(temp / "ZOR.hlp", {1, 2, 3});
    const std::string cases[] = {
        "'" + (temp / "missing.exe") + "'",
        "'" + (temp / "ZOR.hlp") + "' '" + (temp / "no/such/folder/ZOR.hl_") + "'",
        "'" + (temp / "ZOR.hlp") + "' '" + temp.Path() + "'",
        "",
    };
    for (const std::string &arguments : cases) {
        ToolRun run = RunPacker(temp, arguments);
        EXPECT_NE(run.exitCode, 0) << arguments;
        EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << run.errors;
        EXPECT_EQ(run.errors.rfind("zor-pack: ", 0), 0u) << run.errors;
    }
    EXPECT_FALSE(fs::exists(temp / "missing.ex_"));
}

} // namespace
