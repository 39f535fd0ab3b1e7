#include "TestProcessExit.h"

#include "ProcessThreads.h"

#if defined(VANTREL_TEST_EXIT_THREADS) || defined(VANTREL_TEST_EXIT_OPENGL)
#include "foundation/threads/UThreadPool.h"
#endif
#ifdef VANTREL_TEST_EXIT_OPENGL
#include "OpenGLDrivers.h"

#include "graphics/opengl/UGLEGLDisplays.h"
#endif

#include <QThreadPool>

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

constexpr auto threadExitTimeout = std::chrono::seconds(2);
constexpr auto threadExitPoll = std::chrono::milliseconds(1);

} // namespace

void endProcessWideThreads()
{
#if defined(VANTREL_TEST_EXIT_THREADS) || defined(VANTREL_TEST_EXIT_OPENGL)
    // Pool workers first: a job may still hold an OpenGL context on a display.
    UThreadPool::endProcessWideThreads();
#endif
#ifdef VANTREL_TEST_EXIT_OPENGL
    keepOpenGLDriversLoaded();
    UGLEGLDisplays::terminateDisplays();
#endif
    // Qt's pool (image conversions) waits for its threads without joining them: they are still
    // ending when waitForDone() returns.
    QThreadPool::globalInstance()->waitForDone();
    const auto deadline = std::chrono::steady_clock::now() + threadExitTimeout;
    while (processThreadCount() > 1) {
        if (std::chrono::steady_clock::now() > deadline) {
            std::fprintf(stderr, "test exit: %llu threads besides the main one still run\n",
                static_cast<unsigned long long>(processThreadCount() - 1));
            return;
        }
        std::this_thread::sleep_for(threadExitPoll);
    }
}
