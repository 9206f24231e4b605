// The main of the tests that run the program on the Qt host: one widget
// application on Qt's offscreen platform for the whole run.

#include "src/platform/qt/test_access.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    int result = RUN_ALL_TESTS();
    zor::host::test::ResetHost();
    return result;
}
