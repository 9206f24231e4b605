// The Qt host's tests run real widgets in one QApplication, on Qt's
// offscreen platform unless the environment names another; the dialogs come
// from the test's own compiled resources.
#include "src/platform/qt/test_access.h"
#include "src/platform/resources/module_resources.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

const std::vector<std::byte> &TestResources()
{
    static const std::vector<std::byte> bytes = [] {
        std::ifstream in(ZOR_HOST_TEST_RES, std::ios::binary);
        std::vector<char> chars((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<std::byte> result(chars.size());
        for (std::size_t i = 0; i < chars.size(); ++i)
            result[i] = static_cast<std::byte>(chars[i]);
        return result;
    }();
    return bytes;
}

} // namespace

namespace zor::host::testing {

// Registers the test's resources as the program's (tests that register
// others put these back).
void RegisterTestResources()
{
    zor::resources::RegisterProgramResources(TestResources());
}

} // namespace zor::host::testing

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    zor::host::testing::RegisterTestResources();
    int result;
    {
        QApplication application(argc, argv);
        result = RUN_ALL_TESTS();
        zor::host::test::ResetHost();
    }
    return result;
}
