// Runs the tests with drive C: in a temporary folder of its own.

#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace zor::testing {

namespace {
std::unique_ptr<TempFolder> driveC;
std::string driveCPath;
} // namespace

const std::string &DriveCFolder()
{
    return driveCPath;
}

} // namespace zor::testing

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    zor::testing::driveC = std::make_unique<zor::testing::TempFolder>();
    zor::testing::driveCPath = zor::testing::driveC->Path();
    std::filesystem::create_directory(zor::testing::driveCPath + "/Program Files");
    setenv("ZOR_SETUP_DRIVE_C", zor::testing::driveCPath.c_str(), 1);
    int result = RUN_ALL_TESTS();
    zor::testing::driveC.reset();
    return result;
}
