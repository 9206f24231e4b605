#include "src/platform/logic/expanded_name.h"

#include <gtest/gtest.h>

namespace {

using zor::logic::ExpandedPath;

struct NameCase {
    const char *compressed;
    std::uint8_t recorded;
    std::optional<std::string> expected;
};

void PrintTo(const NameCase &c, std::ostream *os) { *os << c.compressed << " recording " << int(c.recorded); }

class ExpandedNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(ExpandedNames, FollowTheRecordedCharacter)
{
    const NameCase &c = GetParam();
    EXPECT_EQ(ExpandedPath(c.compressed, c.recorded), c.expected)
        << c.compressed << " recording " << static_cast<int>(c.recorded);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExpandedNames,
    ::testing::Values(
        // The recorded character takes the case of the character before the underscore.
        NameCase{"ZOR.EX_", 'e', "ZOR.EXE"}, NameCase{"ZOR.ex_", 'e', "ZOR.exe"}, NameCase{"ZOR.ex_", 'E', "ZOR.exe"},
        NameCase{"ZOR.EX_", 'E', "ZOR.EXE"}, NameCase{"ZOR.hl_", 'p', "ZOR.hlp"}, NameCase{"ZOR.cn_", 't', "ZOR.cnt"},
        // Before anything but a letter it stays as recorded.
        NameCase{"ZOR.1_", 'x', "ZOR.1x"}, NameCase{"ZOR._", 'Q', "ZOR.Q"}, NameCase{"_", 'a', "a"},
        // Only the file name changes, whichever separator the path uses.
        NameCase{"C:\\Setup Files\\ZOR.ex_", 'e', "C:\\Setup Files\\ZOR.exe"},
        NameCase{"/tmp/dl_/ZOR.ex_", 'e', "/tmp/dl_/ZOR.exe"}, NameCase{"/\\ZOR.ex_", 'e', "/\\ZOR.exe"},
        // No underscore at the end, or nothing recorded: the name stays.
        NameCase{"ZOR.exe", 'e', "ZOR.exe"}, NameCase{"ZOR.ex_", 0, "ZOR.ex_"},
        NameCase{"C:\\dir_\\", 'x', "C:\\dir_\\"},
        // A recorded character that no file name may hold is an error.
        NameCase{"ZOR.ex_", '\\', std::nullopt}, NameCase{"ZOR.ex_", '/', std::nullopt},
        NameCase{"ZOR.ex_", ':', std::nullopt}, NameCase{"ZOR.ex_", '*', std::nullopt},
        NameCase{"ZOR.ex_", '?', std::nullopt}, NameCase{"ZOR.ex_", '"', std::nullopt},
        NameCase{"ZOR.ex_", '<', std::nullopt}, NameCase{"ZOR.ex_", '>', std::nullopt},
        NameCase{"ZOR.ex_", '|', std::nullopt}, NameCase{"ZOR.ex_", '\n', std::nullopt},
        NameCase{"ZOR.ex_", 0x7F, std::nullopt}, NameCase{"ZOR.ex_", 0xE9, std::nullopt},
        // ...even when the name does not end in an underscore.
        NameCase{"ZOR.exe", '|', std::nullopt}));

} // namespace
