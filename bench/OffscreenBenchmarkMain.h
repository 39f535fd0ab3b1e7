#pragma once

// The main of the benchmarks that drive widgets: an offscreen application, `setUp` before the
// benchmarks run and `release` after them, while the application still stands (widgets may not
// outlive it).
#include <benchmark/benchmark.h>

#include <QApplication>

#include <functional>

inline int runOffscreenBenchmarks(int argc, char** argv, const std::function<void()>& setUp,
    const std::function<void()>& release = {})
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("EGL_PLATFORM", "surfaceless");
    QApplication application(argc, argv);
    if (setUp)
        setUp();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (release)
        release();
    return 0;
}
