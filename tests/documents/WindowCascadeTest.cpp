#include "CalculationTestSupport.h"
#include "ShellTestSupport.h"

#include "appkit/WindowPlacer.h"
#include "appkit/WindowTracker.h"
#include "documents/window/UFemWindowController.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

QWidget* lastWindowOf(const UFemDocument& document)
{
    return document.windowControllers().back()->window();
}

} // namespace

// Check Model run twice and two new windows of one model, from a window that fills the screen
// (as a large window does on a small screen): each new window stands a step down and right of the
// last one shown, wholly on the screen, never over the window before it.
TEST(WindowCascade, NewWindowsOfAKindStepFromTheLastOneShown)
{
    const QPoint step(WindowPlacer::CascadeOffset, WindowPlacer::CascadeOffset);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    ShellHarness harness;
    harness.writeHomeFile(QStringLiteral("M.vtmodel"), InvertedHexaModel.toUtf8());
    harness.shell->start();
    harness.shell->openFiles({ harness.homePath(QStringLiteral("M.vtmodel")) });
    UFemDocument* model = harness.documentAt(harness.homePath(QStringLiteral("M.vtmodel")));
    ASSERT_NE(model, nullptr);
    auto* main = dynamic_cast<UFemWindowController*>(model->windowControllers().front().get());
    ASSERT_NE(main, nullptr);
    QWidget* mainWindow = main->window();
    mainWindow->setGeometry(available);
    finishEventTurn();

    std::vector<QWidget*> shown { mainWindow };
    for (int run = 0; run < 2; ++run) {
        harness.shell->windowTracker().windowDidActivate(main);
        harness.item(QStringLiteral("checkToRunCalculation:"))->trigger();
        shown.push_back(lastWindowOf(*model));
    }
    for (int run = 0; run < 2; ++run) {
        model->makeNewWindow();
        shown.push_back(lastWindowOf(*model));
    }
    finishEventTurn();
    ASSERT_EQ(model->windowControllers().size(), shown.size());
    for (size_t k = 1; k < shown.size(); ++k) {
        const QRect frame = shown[k]->frameGeometry();
        EXPECT_TRUE(shown[k]->isVisible()) << k;
        EXPECT_TRUE(available.contains(frame)) << k;
        EXPECT_EQ(frame.topLeft(), shown[k - 1]->frameGeometry().topLeft() + step) << k;
    }
}
