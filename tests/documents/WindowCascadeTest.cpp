#include "CalculationTestSupport.h"
#include "ShellTestSupport.h"

#include "appkit/WindowPlacer.h"
#include "appkit/WindowTracker.h"
#include "documents/application/UFemCommandNames.h"
#include "documents/window/UFemWindowController.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSet>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// A window manager's frame: a title bar and borders (offscreen windows keep their client area
// two pixels from the screen's left and top edges).
const QMargins TitleBarFrame(3, 20, 3, 3);
const QPoint Step(WindowPlacer::CascadeOffset, WindowPlacer::CascadeOffset);

// Stands in for a window manager, which frames a window only some time after it first shows.
struct FramingWindowManager {
    explicit FramingWindowManager(WindowPlacer& placer)
        : placer(placer)
    {
        placer.setFrameMargins([this](const QWidget& window) { return marginsOf(window); });
    }
    ~FramingWindowManager() { placer.setFrameMargins(WindowPlacer::reportedFrameMargins); }
    FramingWindowManager(const FramingWindowManager&) = delete;
    FramingWindowManager& operator=(const FramingWindowManager&) = delete;
    QMargins marginsOf(const QWidget& window) const
    {
        return framed.contains(&window) ? TitleBarFrame : QMargins();
    }
    QRect frameOf(const QWidget& window) const
    {
        return window.geometry().marginsAdded(marginsOf(window));
    }
    void frame(const QWidget& window) { framed.insert(&window); }

    WindowPlacer& placer;
    QSet<const QWidget*> framed;
};

// The shell with one model open, framed, and its window the main one.
struct CascadeHarness {
    CascadeHarness()
        : windowManager(harness.shell->windowPlacer())
    {
        harness.writeHomeFile(QStringLiteral("M.vtmodel"), InvertedHexaModel.toUtf8());
        harness.shell->start();
        harness.shell->openFiles({ harness.homePath(QStringLiteral("M.vtmodel")) });
        model = harness.documentAt(harness.homePath(QStringLiteral("M.vtmodel")));
        if (model != nullptr)
            main = dynamic_cast<UFemWindowController*>(model->windowControllers().front().get());
        if (main != nullptr)
            windowManager.frame(*main->window());
    }
    // Opens a window as the command does from the main window and frames it.
    QWidget* open(const QString& command)
    {
        harness.shell->windowTracker().windowDidActivate(main);
        harness.item(command)->trigger();
        QWidget* window
            = harness.shell->windowTracker().orderedWindowControllers().front()->window();
        windowManager.frame(*window);
        return window;
    }

    ShellHarness harness;
    FramingWindowManager windowManager;
    UFemDocument* model = nullptr;
    UFemWindowController* main = nullptr;
};

} // namespace

// Check Model run twice, a new window and two new models, from a window whose frame fills the
// screen (as a large window does on a small screen): each new window's frame stands a step down
// and right of the last one's frame, wholly on the screen, never over the window before it.
TEST(WindowCascade, NewWindowsOfAKindStepFromTheLastOneShown)
{
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    CascadeHarness cascade;
    ASSERT_NE(cascade.main, nullptr);
    cascade.main->window()->setGeometry(available.marginsRemoved(TitleBarFrame));
    finishEventTurn();

    std::vector<QWidget*> shown { cascade.main->window() };
    for (const QString& command :
        { UFemCheckToRunCalculationCommand, UFemCheckToRunCalculationCommand,
            UFemMakeNewWindowCommand, UFemNewModelDocumentCommand, UFemNewModelDocumentCommand })
        shown.push_back(cascade.open(command));
    finishEventTurn();
    for (size_t k = 1; k < shown.size(); ++k) {
        const QRect frame = cascade.windowManager.frameOf(*shown[k]);
        EXPECT_TRUE(shown[k]->isVisible()) << k;
        EXPECT_TRUE(available.contains(frame)) << k;
        EXPECT_EQ(frame.topLeft(), cascade.windowManager.frameOf(*shown[k - 1]).topLeft() + Step)
            << k;
    }
}

// The user moves a new window away from the main window: the next of its kind steps from where
// that window stands now, not from the main window.
TEST(WindowCascade, NewWindowsStepFromTheLastOfTheirKindWhereverItWasMoved)
{
    CascadeHarness cascade;
    ASSERT_NE(cascade.main, nullptr);
    const QPoint clientOffset(TitleBarFrame.left(), TitleBarFrame.top());
    cascade.main->window()->setGeometry(QRect(QPoint(300, 300) + clientOffset, QSize(300, 200)));
    finishEventTurn();

    const QString commands[] = { UFemCheckToRunCalculationCommand, UFemMakeNewWindowCommand,
        UFemNewModelDocumentCommand };
    for (int k = 0; k < 3; ++k) {
        QWidget* moved = cascade.open(commands[k]);
        // Near the screen's corner, where a window wider than the screen still steps.
        const QPoint movedCorner(4 + 8 * k, 4 + 8 * k);
        moved->setGeometry(QRect(movedCorner + clientOffset, QSize(300, 200)));
        finishEventTurn();
        const QWidget* next = cascade.open(commands[k]);
        EXPECT_EQ(cascade.windowManager.frameOf(*next).topLeft(), movedCorner + Step)
            << commands[k].toStdString();
    }
}
