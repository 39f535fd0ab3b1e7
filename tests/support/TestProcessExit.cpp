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

#include <cstdio>

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
    const quint64 listed = processThreadCountAfterExits(1);
    if (listed > 1) {
        std::fprintf(stderr, "test exit: %llu threads besides the main one still run\n",
            static_cast<unsigned long long>(listed - 1));
    }
}
