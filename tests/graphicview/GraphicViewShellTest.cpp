#include "GraphicViewTestSupport.h"

#include "cardmodel/data/UFemDataControllerNotifications.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "documents/window/UFemWindowNotifications.h"
#include "tables/UFemTableViewController.h"

namespace {

class GraphicViewShellTest : public GraphicViewFixture {
protected:
    ~GraphicViewShellTest() override { controller->setPipelineStepObserver({}); }
    void recordSteps()
    {
        controller->setPipelineStepObserver([this](const char* step) { steps << step; });
    }
    QStringList steps;
};

class GraphicViewShellNoRendererTest : public GraphicViewFixture {
protected:
    GraphicViewShellNoRendererTest()
        : GraphicViewFixture(plateModelText(4), false)
    {
    }
};

const QStringList quit { "quitAllBackgroundThreadIfCalculating" };
const QStringList reloadBoth { "reloadGraphicView", "reloadResultTableView" };
const QStringList clearKeepingRange { "clearAllBackgroundThreadIfCanceled",
    "clearGraphicViewDrawingCache", "clearBaseImage", "clearSelectModeObjectDisplayList" };
const QStringList clearAll { "clearAllBackgroundThreadIfCanceled", "clearColorScaleRangeCache",
    "clearGraphicViewDrawingCache", "clearBaseImage", "clearSelectModeObjectDisplayList" };

// Whether `run` occurs in `steps` in one piece.
bool containsRun(const QStringList& steps, const QStringList& run)
{
    for (qsizetype start = 0; start + run.size() <= steps.size(); ++start)
        if (steps.mid(start, run.size()) == run)
            return true;
    return false;
}

} // namespace

// Other observers of the window answer some of these notifications with their own, which this
// controller also handles; each handler's own run of steps must still be there whole.
TEST_F(GraphicViewShellTest, EachHandlerClearsAndReloadsInItsOrder)
{
    UFemDataController& data = harness.model();
    UNotificationCenter& modelCenter = *data.notificationCenter();
    UFemWindowCardTable& cards = harness.window->windowCardTable();
    UNotificationCenter& center = UNotificationCenter::defaultCenter();
    const void* window = harness.window;
    struct Case {
        UNotificationCenter& center;
        QString name;
        const void* sender;
        QStringList steps;
    };
    const Case cases[] = {
        { modelCenter, UFemModelDataWillChangeNotification, &data, quit },
        { modelCenter, UFemModelDataDidChangeNotification, &data, reloadBoth },
        { modelCenter, UFemModelDataWillChangeNotification_private, &data, quit },
        { modelCenter, UFemModelDataDidChangeNotification_private, &data, clearAll },
        { cards.notificationCenter(), UFemWindowCardTableWillChangeNotification, &cards, quit },
        { cards.notificationCenter(), UFemWindowCardTableDidChangeNotification, &cards,
            reloadBoth },
        { cards.notificationCenter(), UFemWindowCardTableWillChangeNotification_private, &cards,
            quit },
        // The window's cards and the current case keep the colour range.
        { cards.notificationCenter(), UFemWindowCardTableDidChangeNotification_private, &cards,
            clearKeepingRange },
        { modelCenter, UFemResultDataWillChangeNotification, &data, quit },
        { modelCenter, UFemResultDataDidChangeNotification, &data, reloadBoth },
        { modelCenter, UFemResultDataWillChangeNotification_private, &data, quit },
        { modelCenter, UFemResultDataDidChangeNotification_private, &data, clearAll },
        { center, UFemWindowCurrentCaseWillChangeNotification, window, quit },
        { center, UFemWindowCurrentCaseDidChangeNotification, window,
            clearKeepingRange + reloadBoth },
        { center, UFemWindowSelectedCardWillChangeNotification, window, quit },
        { center, UFemWindowSelectedCardDidChangeNotification, window,
            QStringList { "clearAllBackgroundThreadIfCanceled" } + reloadBoth },
    };
    recordSteps();
    for (const Case& entry : cases) {
        steps.clear();
        entry.center.post(entry.name, entry.sender);
        EXPECT_TRUE(containsRun(steps, entry.steps)) << entry.name.toStdString();
        if (!entry.steps.contains("clearColorScaleRangeCache")) {
            EXPECT_FALSE(steps.contains("clearColorScaleRangeCache")) << entry.name.toStdString();
        }
    }
}

// The data controller posts the private did-change first, so the caches are empty before any
// view reloads.
TEST_F(GraphicViewShellTest, AnEditClearsBeforeTheViewsReload)
{
    controller->setBaseImage(QImage(1, 1, QImage::Format_ARGB32_Premultiplied));
    controller->camera().fitWithObjectDirection(nullptr);
    recordSteps();
    UErrorPtr error;
    ASSERT_TRUE(harness.model().resetWithModelText(plateModelText(6), true, &error));
    const qsizetype firstReload = steps.indexOf("reloadGraphicView");
    ASSERT_GE(firstReload, 0);
    // The will-changes quit first; the model's and the result's private did-change each clear
    // the colour range with everything else before the first reload.
    EXPECT_EQ(steps.first(), "quitAllBackgroundThreadIfCalculating");
    const QStringList beforeReload = steps.mid(0, firstReload);
    EXPECT_EQ(beforeReload.count("clearColorScaleRangeCache"), 2);
    EXPECT_TRUE(containsRun(beforeReload, clearAll + clearAll));
    EXPECT_FALSE(controller->isBaseImageValid());
    EXPECT_FALSE(controller->camera().isEyeLocationDepthValid());
}

TEST_F(GraphicViewShellTest, ASecondFinishDoesNothing)
{
    recordSteps();
    controller->finish();
    EXPECT_EQ(steps.first(), "quitAllBackgroundThreadIfCalculating");
    EXPECT_EQ(controller->openGLManagerWithOpenGLContextIndex(0), nullptr);
    steps.clear();
    controller->finish();
    EXPECT_TRUE(steps.isEmpty());
    // The observers went with the first finish.
    UErrorPtr error;
    ASSERT_TRUE(harness.model().resetWithModelText(plateModelText(5), true, &error));
    EXPECT_TRUE(steps.isEmpty());
}

TEST_F(GraphicViewShellTest, OnlyTheFirstSwapInFits)
{
    ASSERT_TRUE(controller->updateEyeAndObjectLocationWithObjectMoveMode(5, 0, 100));
    const double zoomed = controller->eyeLocation().eyeLocationStruct().lengthPerPixel;
    harness.window->setViewType(UFemViewTypeCard);
    harness.window->setViewType(UFemViewTypeGraphic);
    ASSERT_EQ(harness.window->mainViewController(), controller);
    view->grab();
    EXPECT_DOUBLE_EQ(controller->eyeLocation().eyeLocationStruct().lengthPerPixel, zoomed);
    EXPECT_EQ(QApplication::focusWidget() == view || !view->isActiveWindow(), true);
}

TEST_F(GraphicViewShellTest, MakesTheViewOfEachType)
{
    EXPECT_NE(
        dynamic_cast<UFemTableViewController*>(
            UFemGraphicViewController::makeMainViewController(*harness.window, UFemViewTypeCard)
                .get()),
        nullptr);
    EXPECT_EQ(UFemGraphicViewController::makeMainViewController(*harness.window, UFemViewTypeInfo),
        nullptr);
    EXPECT_EQ(controller->minimumMainViewBoxSize(), QSize(400, 300));
    EXPECT_EQ(controller->mainView(), view);
    EXPECT_TRUE(controller->mainViewBox()->isAncestorOf(view));
    EXPECT_TRUE(controller->openGLSetupErrors().empty());
    EXPECT_EQ(controller->objectMoveMode(), 1U);
}

TEST_F(GraphicViewShellTest, NoRowToAddCardsAndTheLockError)
{
    UErrorPtr error;
    EXPECT_EQ(controller->cardRowIndexToAddCard(&error), UFemNotFound);
    EXPECT_EQ(error, nullptr);
    harness.model().setLockedOutside(true);
    EXPECT_EQ(controller->cardRowIndexToAddCard(&error), UFemNotFound);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), harness.model().errorIfLocked()->code());
    harness.model().setLockedOutside(false);
}

TEST_F(GraphicViewShellTest, CameraCommandsComeThroughTheWindow)
{
    harness.window->performCommand(CommandItem(QStringLiteral("setDirection_Y_Right_Z_Up:")));
    EXPECT_DOUBLE_EQ(
        controller->objectLocation().objectLocationStruct().objectDirection[0][2], 1.0);
    controller->setBaseImage(QImage(1, 1, QImage::Format_ARGB32_Premultiplied));
    harness.window->performCommand(CommandItem(QStringLiteral("fitObjectInView:")));
    EXPECT_FALSE(controller->isBaseImageValid());
}

// A click on the project information only closes it; the next click reaches the controller.
TEST_F(GraphicViewShellTest, AClickOnTheOverlayOnlyClosesIt)
{
    controller->setObjectMoveMode(2);
    auto drag = [this] {
        for (const auto& [type, at, buttons] :
            { std::tuple { QEvent::MouseButtonPress, QPointF(50, 50), Qt::LeftButton },
                std::tuple { QEvent::MouseMove, QPointF(60, 50), Qt::LeftButton },
                std::tuple { QEvent::MouseButtonRelease, QPointF(60, 50), Qt::NoButton } }) {
            QMouseEvent event(
                type, at, view->mapToGlobal(at), Qt::LeftButton, Qt::MouseButtons(buttons), {});
            QApplication::sendEvent(view, &event);
        }
    };
    const double x = controller->objectLocation().objectLocationStruct().objectPosition[0];
    harness.window->setDoesDrawOverlaidProjectInfo(true);
    drag();
    EXPECT_FALSE(harness.window->doesDrawOverlaidProjectInfo());
    EXPECT_DOUBLE_EQ(controller->objectLocation().objectLocationStruct().objectPosition[0], x);
    drag();
    EXPECT_NEAR(
        controller->objectLocation().objectLocationStruct().objectPosition[0], x + 0.09, 1e-12);
}

// Without a renderer the view opens, shows the drawing error and never touches OpenGL.
TEST_F(GraphicViewShellNoRendererTest, ShowsTheDrawingErrorBox)
{
    EXPECT_EQ(controller->openGLManagerWithOpenGLContextIndex(0), nullptr);
    EXPECT_EQ(controller->openGLManagerWithOpenGLContextIndex(1), nullptr);
    ASSERT_EQ(controller->openGLSetupErrors().size(), 1U);
    EXPECT_EQ(controller->openGLSetupErrors().front()->code(), 32001);
    UErrorPtr error;
    EXPECT_FALSE(
        controller->getGraphicProcessorInfoWithOpenGLContextIndex(0, nullptr, nullptr, &error));
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), 32001);
    const QImage shot = view->grab().toImage();
    // The box's pink fill over the background in the top-left corner.
    const QColor corner = shot.pixelColor(2, 2);
    EXPECT_GT(corner.red(), 200);
    EXPECT_LT(corner.green(), 160);
    const QColor middle = shot.pixelColor(shot.width() / 2, shot.height() - 10);
    EXPECT_EQ(middle, QColor(153, 191, 191));
    EXPECT_FALSE(controller->updateEyeAndObjectLocationWithObjectMoveMode(2, 0, 0));
}
