#pragma once

// The card view of a test document window over a large model, for the benchmarks that drive the
// card table through its controller.
#include "WindowTestSupport.h"

#include "tables/UFemTableViewController.h"

#include <QElapsedTimer>

#include <functional>
#include <memory>

struct CardTableWindowBench {
    explicit CardTableWindowBench(const QString& modelText)
    {
        QElapsedTimer timer;
        timer.start();
        harness = std::make_unique<WindowHarness>(
            UFemDocumentTypeModel, modelText, &UFemTableViewController::makeMainViewController);
        openMilliseconds = double(timer.nsecsElapsed()) / 1.0e6;
        controller = dynamic_cast<UFemTableViewController*>(harness->window->mainViewController());
        harness->window->window()->resize(windowWidth, windowHeight);
        harness->window->window()->show();
        harness->finishEventTurn();
    }

    static double millisecondsOf(const std::function<void()>& work)
    {
        QElapsedTimer timer;
        timer.start();
        work();
        return double(timer.nsecsElapsed()) / 1.0e6;
    }

    static constexpr int windowWidth = 1200;
    static constexpr int windowHeight = 800;

    std::unique_ptr<WindowHarness> harness;
    UFemTableViewController* controller = nullptr;
    // Reading the model text and opening the window: the baseline of the run.
    double openMilliseconds = 0;
};
