#include "AppKitTestSupport.h"

#include "platform/UNotificationCenter.h"

#include <gtest/gtest.h>

#include <QWidget>

namespace {

std::unique_ptr<WindowController> makePanel(WindowTracker& tracker)
{
    auto panel = std::make_unique<QWidget>(nullptr, Qt::Tool);
    panel->resize(160, 100);
    return std::make_unique<WindowController>(
        std::move(panel), tracker, WindowController::Kind::Panel);
}

} // namespace

TEST(WindowTrackerTest, PanelInFrontLeavesTheDocumentWindowMain)
{
    AppKitHarness app;
    app.writeFile(QStringLiteral("a.dummy"), "a");
    app.writeFile(QStringLiteral("b.dummy"), "b");
    DummyDocument* a = app.open(QStringLiteral("a.dummy"));
    DummyDocument* b = app.open(QStringLiteral("b.dummy"));
    auto* windowA = static_cast<DummyWindowController*>(a->windowControllers().at(0).get());
    auto* windowB = static_cast<DummyWindowController*>(b->windowControllers().at(0).get());
    std::unique_ptr<WindowController> panel = makePanel(app.tracker);
    // A window the program shows in front is main at once.
    EXPECT_EQ(app.tracker.mainWindowController(), windowB);

    QStringList posted;
    UNotificationCenter& center = UNotificationCenter::defaultCenter();
    const auto record = [&](const QString& prefix) {
        return [&posted, &windowA, prefix](const UNotification& notification) {
            posted.append(prefix + (notification.sender == windowA ? "A" : "B"));
        };
    };
    UNotificationObservation becameMain
        = center.observe(UWindowDidBecomeMainNotification, nullptr, record("become "));
    UNotificationObservation resignedMain
        = center.observe(UWindowDidResignMainNotification, nullptr, record("resign "));

    app.tracker.windowDidActivate(windowA);
    app.tracker.windowDidActivate(windowB);
    EXPECT_EQ(posted, (QStringList { "resign B", "become A", "resign A", "become B" }));
    EXPECT_EQ(windowA->resignedMain, 2);
    EXPECT_EQ(windowB->becameMain, 2);

    panel->showWindow();
    app.tracker.windowDidActivate(panel.get());
    EXPECT_EQ(app.tracker.keyWindowController(), panel.get());
    EXPECT_EQ(app.tracker.mainWindowController(), windowB);
    EXPECT_TRUE(windowB->isMainWindow());
    EXPECT_FALSE(windowB->isKeyWindow());
    EXPECT_EQ(app.tracker.orderedWindowControllers(),
        (std::vector<WindowController*> { panel.get(), windowB, windowA }));
    EXPECT_EQ(b->windowForSheet(), windowB->window());
    EXPECT_EQ(a->windowForSheet(), windowA->window());
    EXPECT_EQ(app.controller.currentDocument(), b);

    // Closing the main window makes the next document window main, never the panel.
    posted.clear();
    windowB->close();
    EXPECT_EQ(app.tracker.mainWindowController(), windowA);
    EXPECT_EQ(app.tracker.keyWindowController(), panel.get());
    EXPECT_EQ(posted, (QStringList { "resign B", "become A" }));

    panel->close();
    EXPECT_EQ(app.tracker.keyWindowController(), windowA);
    windowA->close();
    EXPECT_EQ(app.tracker.mainWindowController(), nullptr);
    EXPECT_EQ(app.controller.currentDocument(), nullptr);
    finishEventTurn();
}

TEST(WindowTrackerTest, FollowsTheWindowSystemsActivation)
{
    AppKitHarness app;
    app.writeFile(QStringLiteral("a.dummy"), "a");
    app.writeFile(QStringLiteral("b.dummy"), "b");
    WindowController* windowA = app.open(QStringLiteral("a.dummy"))->windowControllers()[0].get();
    WindowController* windowB = app.open(QStringLiteral("b.dummy"))->windowControllers()[0].get();
    finishEventTurn();
    windowA->showWindow();
    finishEventTurn();
    EXPECT_EQ(app.tracker.mainWindowController(), windowA);
    EXPECT_EQ(app.tracker.keyWindowController(), windowA);
    windowB->showWindow();
    finishEventTurn();
    EXPECT_EQ(app.tracker.mainWindowController(), windowB);
    EXPECT_EQ(app.tracker.orderedWindowControllers().front(), windowB);
}
