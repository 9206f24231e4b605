#include "src/platform/logic/path_mapping.h"

#include <gtest/gtest.h>

namespace {

using zor::logic::DriveTable;
using zor::logic::MapPath;

struct MappingCase {
    const char *path;
    const char *cwd;
    std::optional<std::string> expected;
};

void PrintTo(const MappingCase &c, std::ostream *os) { *os << c.path << " from " << c.cwd; }

class PathMapping : public ::testing::TestWithParam<MappingCase> {};

TEST_P(PathMapping, MapsAsWindowsWould)
{
    const MappingCase &c = GetParam();
    DriveTable drives = DriveTable::Standard("/srv/drive_c");
    EXPECT_EQ(MapPath(c.path, drives, c.cwd), c.expected) << "path: " << c.path << "  cwd: " << c.cwd;
}

INSTANTIATE_TEST_SUITE_P(
    Table, PathMapping,
    ::testing::Values(
        // Drive C goes to its folder; both separators, runs of them count once.
        MappingCase{"C:\\Program Files\\ZOR\\ZOR.exe", "/home", "/srv/drive_c/Program Files/ZOR/ZOR.exe"},
        MappingCase{"c:/Program Files/ZOR/ZOR.exe", "/home", "/srv/drive_c/Program Files/ZOR/ZOR.exe"},
        MappingCase{"C:\\\\Program Files//\\ZOR", "/home", "/srv/drive_c/Program Files/ZOR"},
        MappingCase{"C:\\Program Files\\ZOR\\", "/home", "/srv/drive_c/Program Files/ZOR/"},
        MappingCase{"C:\\", "/home", "/srv/drive_c"},
        // A drive without separator, and a drive-relative path, start at the drive's root.
        MappingCase{"C:", "/home", "/srv/drive_c"}, MappingCase{"C:ZOR\\a.txt", "/home", "/srv/drive_c/ZOR/a.txt"},
        // Z: is the host's root.
        MappingCase{"Z:\\etc\\hosts", "/home", "/etc/hosts"}, MappingCase{"z:\\", "/home", "/"},
        // Other drives are not mapped.
        MappingCase{"D:\\New\\Deeper\\", "/home", std::nullopt}, MappingCase{"q:", "/home", std::nullopt},
        // Host paths stand as they are, separators normalised.
        MappingCase{"/tmp/zor/ZOR.ex_", "/home", "/tmp/zor/ZOR.ex_"},
        MappingCase{"/tmp\\zor\\ZOR.ex_", "/home", "/tmp/zor/ZOR.ex_"}, MappingCase{"/\\ZOR.ex_", "/home", "/ZOR.ex_"},
        MappingCase{"//tmp//x", "/home", "/tmp/x"}, MappingCase{"\\tmp\\x", "/home", "/tmp/x"},
        MappingCase{"/", "/home", "/"},
        // Relative paths come from the current directory.
        MappingCase{"ZOR.ex_", "/home/ana/zor", "/home/ana/zor/ZOR.ex_"},
        MappingCase{"sub\\ZOR.ex_", "/home/ana/zor/", "/home/ana/zor/sub/ZOR.ex_"},
        MappingCase{"ZOR.ex_", "/", "/ZOR.ex_"}, MappingCase{"1:x", "/w", "/w/1:x"},
        // Dots resolve, and never climb above the root they start from.
        MappingCase{"C:\\a\\.\\b\\..\\c", "/home", "/srv/drive_c/a/c"},
        MappingCase{"C:\\..\\..\\etc\\passwd", "/home", "/srv/drive_c/etc/passwd"},
        MappingCase{"..\\x", "/home/ana", "/home/x"}, MappingCase{"/../../x", "/home", "/x"},
        // Nothing for an empty path or a current directory that is no host path.
        MappingCase{"", "/home", std::nullopt}, MappingCase{"ZOR.ex_", "", std::nullopt},
        MappingCase{"ZOR.ex_", "relative", std::nullopt}));

TEST(DriveTableTest, LettersMapInEitherCaseAndEmptyUnmaps)
{
    DriveTable drives;
    drives.Map('d', "/mnt/d/");
    EXPECT_EQ(MapPath("D:\\x", drives, "/"), "/mnt/d/x");
    EXPECT_EQ(MapPath("C:\\x", drives, "/"), std::nullopt);
    drives.Map('D', "");
    EXPECT_EQ(MapPath("d:\\x", drives, "/"), std::nullopt);
}

} // namespace
