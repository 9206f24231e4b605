// LZ32 on POSIX: expansion checked against libmspack, names, handles and
// every way a copy can fail.

#include "src/platform/win32.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <mspack.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <unistd.h>

namespace {

using namespace zor::testing;
namespace fs = std::filesystem;

// libmspack's expansion of a file, or nothing when it refuses it.
std::optional<Bytes> ExpandWithLibmspack(const std::string &source, const std::string &destination)
{
    msszdd_decompressor *decompressor = mspack_create_szdd_decompressor(nullptr);
    if (decompressor == nullptr)
        return std::nullopt;
    int error = decompressor->decompress(decompressor, const_cast<char *>(source.c_str()),
                                         const_cast<char *>(destination.c_str()));
    mspack_destroy_szdd_decompressor(decompressor);
    if (error != MSPACK_ERR_OK)
        return std::nullopt;
    return ReadFile(destination);
}

std::vector<std::pair<std::string, Bytes>> RoundTripInputs()
{
    std::vector<std::pair<std::string, Bytes>> inputs;
    inputs.emplace_back("empty", Bytes{});
    inputs.emplace_back("one byte", Bytes{0x4D});
    Bytes across(12000);
    for (std::size_t i = 0; i < across.size(); i++)
        across[i] = static_cast<std::uint8_t>((i % 4500) * 7);
    inputs.emplace_back("runs across the window", across);
    std::mt19937 random(3);
    Bytes noise(200000);
    for (auto &b : noise)
        b = static_cast<std::uint8_t>(random());
    inputs.emplace_back("incompressible", noise);
    inputs.emplace_back("a few megabytes", MixedData(3'500'000, 11));
    return inputs;
}

TEST(LzRoundTrip, PackerThenLzCopyGivesTheBytesBack)
{
    TempFolder temp;
    for (const auto &[name, data] : RoundTripInputs()) {
        SCOPED_TRACE(name);
        WriteFile(temp / "ZOR.ex_", Pack(data, 'e'));
        EXPECT_EQ(Expand(temp / "ZOR.ex_", temp / "ZOR.exe"), static_cast<LONG>(data.size()));
        EXPECT_TRUE(ReadFile(temp / "ZOR.exe") == data);
    }
}

TEST(LzRoundTrip, LibmspackReadsWhatThePackerWrites)
{
    TempFolder temp;
    for (const auto &[name, data] : RoundTripInputs()) {
        SCOPED_TRACE(name);
        WriteFile(temp / "packed", Pack(data, 'e'));
        std::optional<Bytes> expanded = ExpandWithLibmspack(temp / "packed", temp / "out");
        ASSERT_TRUE(expanded);
        EXPECT_TRUE(*expanded == data);
    }
}

TEST(LzRoundTrip, ExpandsWhatMscompressWritesAsLibmspackDoes)
{
    if (std::system("command -v mscompress >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "mscompress is not installed (Debian package mscompress)";
    TempFolder temp;
    struct Input {
        std::string name;
        Bytes data;
        bool keptWhole; // mscompress loses the first bytes of very short files
    };
    const Input inputs[] = {
        {"mixed", MixedData(700'000, 21), true},
        {"spaces", Bytes(9000, ' '), true},
        {"short", Bytes{'Z', 'O', 'R'}, false},
    };
    for (const auto &[name, data, keptWhole] : inputs) {
        SCOPED_TRACE(name);
        WriteFile(temp / "input", data);
        ASSERT_EQ(std::system(("cd '" + temp.Path() + "' && mscompress input >/dev/null 2>&1").c_str()), 0);
        std::optional<Bytes> reference = ExpandWithLibmspack(temp / "input_", temp / "reference");
        ASSERT_TRUE(reference);
        ASSERT_EQ(Expand(temp / "input_", temp / "ours"), static_cast<LONG>(reference->size()));
        EXPECT_TRUE(ReadFile(temp / "ours") == *reference);
        if (keptWhole)
            EXPECT_TRUE(*reference == data);
        fs::remove(temp / "input_");
    }
}

TEST(LzOpen, CopiesAFileThatIsNotCompressedAsItIs)
{
    TempFolder temp;
    const Bytes cases[] = {{}, {'M', 'Z'}, {'S', 'Z', 'D', 'X', 1, 2, 3}, MixedData(300'000, 4)};
    for (const Bytes &data : cases) {
        WriteFile(temp / "plain", data);
        EXPECT_EQ(Expand(temp / "plain", temp / "copy"), static_cast<LONG>(data.size()));
        EXPECT_TRUE(ReadFile(temp / "copy") == data);
    }
}

TEST(LzOpen, HandlesAreSmallNumbersAndBadOnesAreRefused)
{
    TempFolder temp;
    WriteFile(temp / "a_", Pack({1, 2, 3}, 'a'));
    OFSTRUCT info;
    std::string source = temp / "a_";
    std::string destination = temp / "a";
    INT in = LZOpenFileA(source.data(), &info, OF_READ);
    INT out = LZOpenFileA(destination.data(), &info, OF_CREATE | OF_WRITE);
    ASSERT_GE(in, 0);
    ASSERT_GE(out, 0);
    EXPECT_NE(in, out);
    EXPECT_EQ(info.nErrCode, 0);
    EXPECT_STREQ(info.szPathName, destination.c_str());

    EXPECT_EQ(LZCopy(-1, out), LZERROR_BADINHANDLE);
    EXPECT_EQ(LZCopy(1000, out), LZERROR_BADINHANDLE);
    EXPECT_EQ(LZCopy(out, out), LZERROR_BADINHANDLE) << "a file opened for writing is no source";
    EXPECT_EQ(LZCopy(in, -5), LZERROR_BADOUTHANDLE);
    EXPECT_EQ(LZCopy(in, in), LZERROR_BADOUTHANDLE) << "a file opened for reading is no destination";
    EXPECT_EQ(LZCopy(in, out), 3);
    LZClose(in);
    LZClose(out);
    EXPECT_EQ(LZCopy(in, out), LZERROR_BADINHANDLE) << "closed";
    LZClose(in); // closing twice does no harm
    LZClose(-3);

    // A full table refuses more, and takes them again after a close.
    std::vector<INT> handles;
    INT handle;
    while ((handle = LZOpenFileA(source.data(), &info, OF_READ)) >= 0 && handles.size() < 1000)
        handles.push_back(handle);
    EXPECT_EQ(handle, LZERROR_GLOBALLOC);
    EXPECT_GE(handles.size(), 16u);
    LZClose(handles.back());
    handle = LZOpenFileA(source.data(), &info, OF_READ);
    EXPECT_GE(handle, 0);
    handles.back() = handle;
    for (INT h : handles)
        LZClose(h);
}

TEST(LzOpen, FailsForMissingFoldersUnmappedDrivesAndOddStyles)
{
    TempFolder temp;
    OFSTRUCT info;
    std::string missing = temp / "missing_";
    EXPECT_EQ(LZOpenFileA(missing.data(), &info, OF_READ), LZERROR_BADINHANDLE);
    EXPECT_EQ(info.nErrCode, ERROR_FILE_NOT_FOUND);
    std::string noFolder = temp / "no/such/file";
    EXPECT_EQ(LZOpenFileA(noFolder.data(), &info, OF_CREATE | OF_WRITE), LZERROR_BADINHANDLE);
    std::string drive = "Q:\\x";
    EXPECT_EQ(LZOpenFileA(drive.data(), &info, OF_READ), LZERROR_BADINHANDLE);
    std::string folder = temp.Path();
    EXPECT_EQ(LZOpenFileA(folder.data(), &info, OF_READ), LZERROR_BADINHANDLE);
    EXPECT_EQ(LZOpenFileA(folder.data(), &info, OF_CREATE | OF_WRITE), LZERROR_BADINHANDLE);
    EXPECT_EQ(LZOpenFileA(missing.data(), &info, OF_DELETE), LZERROR_BADVALUE);
    EXPECT_TRUE(ListFolder(temp.Path()).empty());
}

TEST(GetExpandedName, ReplacesTheUnderscoreWithTheRecordedCharacter)
{
    TempFolder temp;
    WriteFile(temp / "ZOR.ex_", Pack({1}, 'e'));
    WriteFile(temp / "ZOR.HL_", Pack({1}, 'p'));
    WriteFile(temp / "none.ex_", Pack({1}, 0));
    WriteFile(temp / "plain.ex_", {'M', 'Z'});
    WriteFile(temp / "bad.ex_", Pack({1}, '|'));
    Bytes shortHeader = Pack({1}, 'e');
    shortHeader.resize(9);
    WriteFile(temp / "short.ex_", shortHeader);

    struct Case {
        std::string source;
        INT result;
        std::string expanded;
    };
    // The current directory at the temporary folder, as setup composes it.
    std::string cwd = temp.Path();
    const Case cases[] = {
        {cwd + "\\ZOR.ex_", TRUE, cwd + "\\ZOR.exe"},   {cwd + "/ZOR.HL_", TRUE, cwd + "/ZOR.HLP"},
        {cwd + "\\none.ex_", TRUE, cwd + "\\none.ex_"}, {cwd + "\\plain.ex_", TRUE, cwd + "\\plain.ex_"},
        {cwd + "\\bad.ex_", LZERROR_BADVALUE, ""},      {cwd + "\\short.ex_", LZERROR_BADVALUE, ""},
        {cwd + "\\missing.ex_", LZERROR_BADVALUE, ""},  {"Q:\\ZOR.ex_", LZERROR_BADVALUE, ""},
    };
    for (const Case &c : cases) {
        std::string source = c.source;
        char buffer[MAX_PATH] = "untouched";
        EXPECT_EQ(GetExpandedNameA(source.data(), buffer), c.result) << c.source;
        if (c.result == TRUE)
            EXPECT_EQ(std::string(buffer), c.expanded);
    }
    // Relative to the current directory.
    CurrentDirectoryScope here(temp.Path());
    char relative[] = "ZOR.ex_";
    char buffer[MAX_PATH];
    EXPECT_EQ(GetExpandedNameA(relative, buffer), TRUE);
    EXPECT_STREQ(buffer, "ZOR.exe");
}

// Every way the compressed file can be damaged gives an LZ error, never a
// success, whatever LZCopy may have written.
TEST(LzFaults, EveryPrefixOfAValidFileFails)
{
    TempFolder temp;
    Bytes data = MixedData(3000, 8);
    Bytes packed = Pack(data, 'e');
    ASSERT_EQ(Expand((WriteFile(temp / "whole", packed), temp / "whole"), temp / "out"),
              static_cast<LONG>(data.size()));
    for (std::size_t size = 1; size < packed.size(); size++) {
        WriteFile(temp / "cut", Bytes(packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(size)));
        LONG result = Expand(temp / "cut", temp / "out");
        EXPECT_EQ(result, LZERROR_READ) << "prefix of " << size << " bytes";
    }
}

TEST(LzFaults, StreamsThatRunPastTheirLengthOrUseAnUnknownMode)
{
    TempFolder temp;
    Bytes data = MixedData(5000, 9);
    Bytes packed = Pack(data, 'e');
    // Record a shorter length than the stream holds.
    for (std::uint32_t length : {0u, 1u, 4999u}) {
        Bytes shorter = packed;
        for (int i = 0; i < 4; i++)
            shorter[static_cast<std::size_t>(10 + i)] = static_cast<std::uint8_t>(length >> (8 * i));
        WriteFile(temp / "long_", shorter);
        EXPECT_EQ(Expand(temp / "long_", temp / "out"), LZERROR_READ) << length;
    }
    // Extra items after the end.
    Bytes extra = packed;
    extra.insert(extra.end(), {0xFF, 'x', 'y'});
    WriteFile(temp / "extra_", extra);
    EXPECT_EQ(Expand(temp / "extra_", temp / "out"), LZERROR_READ);

    Bytes mode = packed;
    mode[8] = 'B';
    WriteFile(temp / "mode_", mode);
    EXPECT_EQ(Expand(temp / "mode_", temp / "out"), LZERROR_UNKNOWNALG);
}

TEST(LzFaults, AFullDeviceIsAWriteError)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full on this host";
    TempFolder temp;
    WriteFile(temp / "ZOR.ex_", Pack(MixedData(100'000, 1), 'e'));
    EXPECT_EQ(Expand(temp / "ZOR.ex_", "/dev/full"), LZERROR_WRITE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
    WriteFile(temp / "plain", MixedData(100'000, 1));
    EXPECT_EQ(Expand(temp / "plain", "/dev/full"), LZERROR_WRITE);
}

// A file-size limit makes the write fail: LZCopy says so, and the process
// lives on whether SIGXFSZ is ignored or left to its default (ending it).
TEST(LzFaults, AFileSizeLimitIsAWriteErrorNotADeath)
{
    TempFolder temp;
    Bytes data = MixedData(2'000'000, 2);
    WriteFile(temp / "ZOR.ex_", Pack(data, 'e'));
    for (bool ignore : {false, true}) {
        SCOPED_TRACE(ignore ? "SIGXFSZ ignored" : "SIGXFSZ default");
        ChildResult child = RunWithFileSizeLimit(256 * 1024, ignore, [&] {
            LONG result = Expand(temp / "ZOR.ex_", temp / "ZOR.exe");
            return result == LZERROR_WRITE ? 0 : 101;
        });
        ASSERT_TRUE(child.exitCode) << "died of signal " << child.signal;
        EXPECT_EQ(*child.exitCode, 0);
        EXPECT_LE(fs::file_size(temp / "ZOR.exe"), 256u * 1024u);
    }
}

TEST(LzFaults, AnUnreadableFileCannotBeOpened)
{
    TempFolder temp;
    fs::permissions(temp.Path(), fs::perms::all);
    WriteFile(temp / "ZOR.ex_", Pack({1, 2, 3}, 'e'));
    fs::permissions(temp / "ZOR.ex_", fs::perms::none);
    auto attempt = [&] {
        OFSTRUCT info;
        std::string source = temp / "ZOR.ex_";
        char buffer[MAX_PATH];
        if (LZOpenFileA(source.data(), &info, OF_READ) != LZERROR_BADINHANDLE)
            return 1;
        if (info.nErrCode != ERROR_ACCESS_DENIED)
            return 2;
        if (GetExpandedNameA(source.data(), buffer) != LZERROR_BADVALUE)
            return 3;
        return 0;
    };
    std::optional<ChildResult> result = RunUnprivileged(attempt);
    if (!result)
        GTEST_SKIP() << "cannot drop privileges to nobody (65534) in a child";
    ASSERT_TRUE(result->exitCode) << "died of signal " << result->signal;
    EXPECT_EQ(*result->exitCode, 0);
}

} // namespace
