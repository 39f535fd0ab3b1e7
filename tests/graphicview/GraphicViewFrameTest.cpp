#include "GraphicViewTestSupport.h"

#include "foundation/UFemHeaderGlobals.h"
#include "graphicview/UFemOpenGLCurrentContext.h"
#include "graphicview/tasks/UFemCardValueDataCalcThreadTaskContext.h"
#include "graphicview/tasks/UFemLayerImageDrawingThreadTaskContext.h"

#include <QPaintEvent>
#include <QProgressBar>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <new>
#include <string>
#include <vector>

namespace {

// One plate element of 2 x 1 in the XZ plane, facing the eye under "X right, Z up".
const QString facingPlateModelText = QStringLiteral("Material , Steel , 210000 , 0.3 ,\n"
                                                    "ShellProp , P , Steel , 0.05 ,\n"
                                                    "Node , A ,  , -1 , 0 , -0.5 ,\n"
                                                    "Node , B ,  , 1 , 0 , -0.5 ,\n"
                                                    "Node , C ,  , 1 , 0 , 0.5 ,\n"
                                                    "Node , D ,  , -1 , 0 , 0.5 ,\n"
                                                    "Quad , Q , P , A , B , C , D ,\n");

class GraphicViewFrameTest : public GraphicViewFixture {
protected:
    GraphicViewFrameTest()
        : GraphicViewFixture(facingPlateModelText)
    {
    }
};

::testing::AssertionResult isNear(QColor actual, QColor expected)
{
    constexpr int tolerance = 3;
    if (std::abs(actual.red() - expected.red()) <= tolerance
        && std::abs(actual.green() - expected.green()) <= tolerance
        && std::abs(actual.blue() - expected.blue()) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
        << "(" << actual.red() << ", " << actual.green() << ", " << actual.blue() << ")";
}

} // namespace

// Lit face-on in the default element colour (0, 0.5, 1): 0.5 + 0.5/√3 of it, (0, 101, 201). The
// plate fills the middle of the view, the triad stands at its centre.
TEST_F(GraphicViewFrameTest, AFaceOnElementOverTheBackground)
{
    const QImage image = controller->renderToImage(UGLDrawingOutputTypeScreen);
    ASSERT_EQ(image.size(), QSize(400, 300));
    EXPECT_TRUE(isNear(image.pixelColor(150, 180), QColor(0, 101, 201)));
    EXPECT_TRUE(isNear(image.pixelColor(5, 5), QColor(153, 191, 191)));
    EXPECT_TRUE(controller->isBaseImageValid());
    // What the view shows is the same picture.
    const QImage shown = view->grab().toImage();
    EXPECT_TRUE(isNear(shown.pixelColor(150, 180), QColor(0, 101, 201)));
    EXPECT_FALSE(controller->isRedisplayRequiredWhenCalculationDone());
    EXPECT_FALSE(controller->isDrawingCacheCalculatingProgressIndicatorDisplayed());
}

// On the screen and through the print drawing alike.
TEST_F(GraphicViewFrameTest, ResolutionTwoGivesTheSamePictureTwiceTheSize)
{
    const struct {
        UGLDrawingOutputType outputType;
        QString resolutionKey;
    } cases[] = {
        { UGLDrawingOutputTypeScreen, ScreenImageResolutionNumberGraphicViewPreferenceKey },
        { UGLDrawingOutputTypePrint, PrintImageResolutionNumberGraphicViewPreferenceKey },
    };
    for (const auto& entry : cases) {
        QVariantMap preferences = UFemGraphicViewPreferences::baseGraphicViewPreferences();
        UErrorPtr error;
        ASSERT_TRUE(controller->setViewPreferences(preferences, &error));
        const QImage single = controller->renderToImage(entry.outputType);
        ASSERT_EQ(single.size(), QSize(400, 300)) << entry.outputType;
        preferences.insert(entry.resolutionKey, 144.0);
        ASSERT_TRUE(controller->setViewPreferences(preferences, &error));
        const QImage twice = controller->renderToImage(entry.outputType);
        ASSERT_EQ(twice.size(), QSize(800, 600)) << entry.outputType;
        for (const QPoint point : { QPoint(150, 180), QPoint(5, 5), QPoint(120, 100) })
            EXPECT_TRUE(isNear(twice.pixelColor(point * 2), single.pixelColor(point)))
                << entry.outputType << " at " << point.x() << "," << point.y();
        EXPECT_TRUE(isNear(single.pixelColor(150, 180), QColor(0, 101, 201))) << entry.outputType;
    }
}

TEST_F(GraphicViewFrameTest, LightingOffGivesThePlainColour)
{
    QVariantMap preferences = UFemGraphicViewPreferences::baseGraphicViewPreferences();
    preferences.insert(IsLightingActiveGraphicViewPreferenceKey, false);
    UErrorPtr error;
    ASSERT_TRUE(controller->setViewPreferences(preferences, &error));
    const QImage image = controller->renderToImage(UGLDrawingOutputTypeScreen);
    EXPECT_TRUE(isNear(image.pixelColor(150, 180), QColor(0, 128, 255)));
}

namespace {

// Counts the paints of a whole widget (hiding a child repaints only the part it covered).
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget)
        : widget_(widget)
    {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint
            && static_cast<QPaintEvent*>(event)->rect() == widget_->rect())
            ++paints;
        return false;
    }
    int paints = 0;

private:
    QWidget* widget_;
};

} // namespace

// The card value data is held up past the half second: the frame shows the progress box, and the
// finished data brings exactly one redisplay, which shows the picture and hides the indicator.
TEST_F(GraphicViewFrameTest, SlowDataShowsTheProgressBoxThenOneRedisplay)
{
    QApplication::processEvents();
    PaintCounter counter(view);
    // New settings drop every cache; the frame below is the first to ask for the data again.
    UErrorPtr error;
    ASSERT_TRUE(controller->setViewPreferences(
        UFemGraphicViewPreferences::baseGraphicViewPreferences(), &error));
    QImage waiting;
    {
        // The data's workers build the layer table first and wait for its lock.
        std::lock_guard hold(
            controller->drawingCacheManager().drawingLayerImageInfoRecordTableLockCondition());
        view->repaint();
        waiting = view->grab().toImage();
        // Frames while the box shows do not wait; the reload the settings asked for is one.
        QApplication::processEvents();
    }
    EXPECT_TRUE(controller->isDrawingCacheCalculatingProgressIndicatorDisplayed());
    EXPECT_TRUE(controller->isRedisplayRequiredWhenCalculationDone());
    // The translucent box over the background in the middle, the background around it.
    EXPECT_TRUE(isNear(waiting.pixelColor(5, 5), QColor(153, 191, 191)));
    EXPECT_TRUE(isNear(waiting.pixelColor(110, 120), QColor(187, 212, 212)));
    bool isCanceled = false;
    controller->drawingCacheManager().waitCardValueDataCalcThreadFinished_isCanceled(&isCanceled);
    counter.paints = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (counter.paints == 0 && std::chrono::steady_clock::now() < deadline)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    for (int turn = 0; turn < 5; ++turn)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(counter.paints, 1);
    EXPECT_FALSE(controller->isDrawingCacheCalculatingProgressIndicatorDisplayed());
    EXPECT_FALSE(controller->isRedisplayRequiredWhenCalculationDone());
}

TEST_F(GraphicViewFrameTest, TheDrawingTimeShowsOnlyOnMeasuredFrames)
{
    UFemDoesDisplayGraphicViewDrawingTime = true;
    controller->clearBaseImage();
    const QImage measured = view->grab().toImage();
    const QImage reused = view->grab().toImage();
    UFemDoesDisplayGraphicViewDrawingTime = false;
    // Black at 0.6 over the background in the lower-left corner, then the background alone.
    EXPECT_TRUE(isNear(measured.pixelColor(1, measured.height() - 2), QColor(61, 76, 76)));
    EXPECT_TRUE(isNear(reused.pixelColor(1, reused.height() - 2), QColor(153, 191, 191)));
}

// Without results "Displacement & VonMisesStress" can draw neither: two boxes, one under the
// other from the top edge.
TEST_F(GraphicViewFrameTest, TwoErrorsGiveTwoStackedBoxes)
{
    applyPreset(4);
    const QImage shot = view->grab().toImage();
    const int boxHeight
        = qRound(QFontMetricsF(QApplication::font()).size(0, QStringLiteral("X")).height()) + 8;
    auto isBox = [&](int y) {
        const QColor color = shot.pixelColor(3, y);
        return color.red() > 200 && color.green() < 180;
    };
    EXPECT_TRUE(isBox(boxHeight / 2));
    EXPECT_TRUE(isBox(boxHeight + boxHeight / 2));
    EXPECT_FALSE(isBox(2 * boxHeight + 4));
}

// A resolution past what the renderer can hold gives a drawing error, not a huge allocation.
TEST_F(GraphicViewFrameTest, AHugeResolutionGivesADrawingError)
{
    QVariantMap preferences = UFemGraphicViewPreferences::baseGraphicViewPreferences();
    preferences.insert(ScreenImageResolutionNumberGraphicViewPreferenceKey, 72.0 * 100);
    UErrorPtr error;
    ASSERT_TRUE(controller->setViewPreferences(preferences, &error));
    std::vector<UErrorPtr> errors;
    bool isCanceled = false;
    const QImage image = controller->pixelSizeImageWithDrawRectInfo(
        view->drawRectInfoWithOutputType(UGLDrawingOutputTypeScreen), &errors, &isCanceled);
    EXPECT_TRUE(image.isNull());
    ASSERT_EQ(errors.size(), 1U);
    EXPECT_EQ(errors.front()->code(), 32001);
    const QImage shown = view->grab().toImage();
    EXPECT_GT(shown.pixelColor(3, 3).red(), 200);
}

// A layer worker that cannot take its context (held by this thread) fails the frame: the error
// shows over the bare background, and neither the progress box nor a redisplay follows.
TEST_F(GraphicViewFrameTest, AWorkerFailureShowsItsError)
{
    controller->clearBaseImage();
    QApplication::processEvents();
    PaintCounter counter(view);
    std::vector<UErrorPtr> errors;
    bool isCanceled = false;
    QImage composed;
    QImage shown;
    {
        const UFemOpenGLCurrentContext held(*controller->openGLManagerWithOpenGLContextIndex(0));
        ASSERT_TRUE(held.isCurrent());
        composed = controller->pixelSizeImageWithDrawRectInfo(
            view->drawRectInfoWithOutputType(UGLDrawingOutputTypeScreen), &errors, &isCanceled);
        shown = view->grab().toImage();
    }
    EXPECT_FALSE(isCanceled);
    ASSERT_EQ(errors.size(), 1U);
    EXPECT_EQ(errors.front()->code(), 32001);
    EXPECT_EQ(errors.front()->localizedDescription(),
        QStringLiteral("The OpenGL context could not be made current."));
    ASSERT_FALSE(composed.isNull());
    EXPECT_TRUE(isNear(composed.pixelColor(150, 180), QColor(153, 191, 191)));
    // One box at the top edge, none under it; the plate's place shows the background.
    const int boxHeight
        = qRound(QFontMetricsF(QApplication::font()).size(0, QStringLiteral("X")).height()) + 8;
    EXPECT_GT(shown.pixelColor(3, boxHeight / 2).red(), 200);
    EXPECT_TRUE(isNear(shown.pixelColor(3, boxHeight + boxHeight / 2), QColor(153, 191, 191)));
    EXPECT_TRUE(isNear(shown.pixelColor(150, 180), QColor(153, 191, 191)));
    EXPECT_FALSE(controller->isBaseImageValid());
    EXPECT_FALSE(controller->isDrawingCacheCalculatingProgressIndicatorDisplayed());
    EXPECT_FALSE(controller->isRedisplayRequiredWhenCalculationDone());
    counter.paints = 0;
    for (int turn = 0; turn < 5; ++turn)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(counter.paints, 0);
    // With the context free again the next frame draws the plate.
    EXPECT_TRUE(isNear(view->grab().toImage().pixelColor(150, 180), QColor(0, 101, 201)));
}

// Over a kept base image a selection change replays the selection layer alone and leaves the
// base (and its triad) as it was: the picture equals a frame drawn from scratch.
TEST_F(GraphicViewFrameTest, ASelectionChangeReplaysOnlyTheSelectionLayer)
{
    controller->renderToImage(UGLDrawingOutputTypeScreen);
    ASSERT_TRUE(controller->isBaseImageValid());
    const qint64 baseKey = controller->baseImage().cacheKey();
    harness.window->addCardToSelectedCardArray(cardNamed(QStringLiteral("Q")));
    harness.finishEventTurn();
    ASSERT_TRUE(controller->isBaseImageValid());
    std::vector<std::string> steps;
    controller->setPipelineStepObserver([&](const char* step) { steps.emplace_back(step); });
    const QImage reused = controller->renderToImage(UGLDrawingOutputTypeScreen);
    const std::vector<std::string> reusedSteps = steps;
    auto& layers = static_cast<UFemLayerImageDrawingThreadTaskContext&>(
        controller->layerImageDrawingThreadTaskContext_screen());
    for (quint64 layer = 0; layer < UFemLayerImageDrawingThreadTaskContext::layerCount; ++layer)
        EXPECT_EQ(layers.layerImageDataRecord(layer).validness,
            layer == 5 ? UFemUGLRawImageDataRecord::ImageReadBack
                       : UFemUGLRawImageDataRecord::Pending)
            << layer;
    EXPECT_EQ(controller->baseImage().cacheKey(), baseKey);
    controller->clearBaseImage();
    steps.clear();
    const QImage full = controller->renderToImage(UGLDrawingOutputTypeScreen);
    controller->setPipelineStepObserver(nullptr);
    EXPECT_TRUE(reusedSteps.empty());
    EXPECT_EQ(steps, std::vector<std::string> { "drawGlobalCoordToImage" });
    EXPECT_TRUE(isNear(reused.pixelColor(150, 180), QColor(100, 101, 201)));
    EXPECT_EQ(reused, full);
}

namespace {

// Card value data workers that wait to be released and then run out of memory; the end of the
// run goes to the view's own caches, which ask for the redraw.
class ExhaustedCardValueData : public UFemCardValueDataCalcThreadTaskContext::Delegate {
public:
    explicit ExhaustedCardValueData(UFemGraphicViewController& controller)
        : controller_(controller)
    {
    }
    ~ExhaustedCardValueData() override
    {
        release();
        controller_.cardValueDataCalcThreadTaskContext().waitAllThreadDone();
    }
    bool calculateCardValueDataCacheWithThreadContext(UThreadContext&) override
    {
        std::unique_lock lock(mutex_);
        released_.wait(lock, [this] { return isReleased_; });
        throw std::bad_alloc();
    }
    void cardValueDataCalcThreadTaskDidFinishedWithThreadContext(
        UThreadContext& threadContext) override
    {
        controller_.drawingCacheManager().cardValueDataCalcThreadTaskDidFinishedWithThreadContext(
            threadContext);
    }
    void release()
    {
        const std::lock_guard lock(mutex_);
        isReleased_ = true;
        released_.notify_all();
    }

private:
    UFemGraphicViewController& controller_;
    std::mutex mutex_;
    std::condition_variable released_;
    bool isReleased_ = false;
};

using GraphicViewFailedValueDataEndsWaitTest = GraphicViewFrameTest;

} // namespace

// The data fails only after the frame gave up waiting: the failure brings one redraw, which
// shows its error in a box and hides the indicator, and later frames show the error too.
TEST_F(GraphicViewFailedValueDataEndsWaitTest, AFailureAfterTheProgressBoxShowsTheError)
{
    QApplication::processEvents();
    UErrorPtr error;
    ASSERT_TRUE(controller->setViewPreferences(
        UFemGraphicViewPreferences::baseGraphicViewPreferences(), &error));
    auto& task = static_cast<UFemCardValueDataCalcThreadTaskContext&>(
        controller->cardValueDataCalcThreadTaskContext());
    ExhaustedCardValueData exhausted(*controller);
    constexpr quint64 recordIndexes[] = { 0, 1, 2, 3, 4, 5, 6 };
    ASSERT_TRUE(task.setArgumentIfNeededWithDelegate(
        &exhausted, recordIndexes, std::size(recordIndexes), nullptr));
    view->repaint();
    // Frames while the box shows do not wait; the reload the settings asked for is one.
    QApplication::processEvents();
    ASSERT_TRUE(controller->isDrawingCacheCalculatingProgressIndicatorDisplayed());
    const auto* indicator = view->findChild<QProgressBar*>();
    ASSERT_TRUE(indicator && indicator->isVisible());
    PaintCounter counter(view);
    exhausted.release();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (counter.paints == 0 && std::chrono::steady_clock::now() < deadline)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(counter.paints, 1);
    EXPECT_FALSE(controller->isDrawingCacheCalculatingProgressIndicatorDisplayed());
    EXPECT_FALSE(controller->isRedisplayRequiredWhenCalculationDone());

    const std::vector<UErrorPtr> failures = task.errorArray();
    ASSERT_FALSE(failures.empty());
    for (const UErrorPtr& failure : failures) {
        EXPECT_EQ(failure->code(), 81001);
        EXPECT_EQ(failure->localizedFailureReason(), QStringLiteral("Memory allocation failed."));
    }
    const QFontMetricsF metrics(QApplication::font());
    const int boxHeight = qRound(metrics.size(0, QStringLiteral("X")).height()) + 8;
    // The second frame comes with a rubber band, which the failed data cannot serve: it ends.
    // Shift keeps the selection, whose change would start the data again.
    for (int frame = 0; frame < 2; ++frame) {
        if (frame == 1) {
            for (const auto& [type, at] : { std::pair { QEvent::MouseButtonPress, QPointF(50, 50) },
                     std::pair { QEvent::MouseMove, QPointF(90, 80) } }) {
                QMouseEvent event(type, at, view->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::ShiftModifier);
                QApplication::sendEvent(view, &event);
            }
            ASSERT_TRUE(controller->doesDrawRubberbandCard());
        }
        const QImage shown = view->grab().toImage();
        EXPECT_GT(shown.pixelColor(3, boxHeight / 2).red(), 200) << frame;
        // Below the boxes, one per failed thread, the background; the progress box is gone.
        EXPECT_TRUE(
            isNear(shown.pixelColor(shown.width() - 3, shown.height() - 3), QColor(153, 191, 191)))
            << frame;
        EXPECT_FALSE(indicator->isVisible()) << frame;
        EXPECT_FALSE(controller->isDrawingCacheCalculatingProgressIndicatorDisplayed()) << frame;
        EXPECT_FALSE(controller->doesDrawRubberbandCard()) << frame;
    }
}
