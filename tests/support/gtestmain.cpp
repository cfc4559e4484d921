// The main function of the GoogleTest programs: an application object in the
// pinned test environment, then every test.
#include "testenvironment.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Headless also when run by hand or listed by CTest.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestEnvironment::pin();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
