// Entry point of every test executable: the tests run inside an application object so that
// queued calls, timers and the notification of user defaults behave as in the program.
#include "TestProcessExit.h"

#include <gtest/gtest.h>

#include <clocale>

#ifdef VANTREL_TEST_GUI
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
#ifdef VANTREL_TEST_GUI
    // CTest's test discovery runs the suite without the tests' environment; with no display the
    // widgets need the offscreen platform even to list the tests.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
#endif
    TestApplication app(argc, argv);
    TestApplication::setOrganizationName("VantrelTests");
    TestApplication::setApplicationName("VantrelTests");
    std::setlocale(LC_NUMERIC, "C");
    const int result = RUN_ALL_TESTS();
    endProcessWideThreads();
    return result;
}
