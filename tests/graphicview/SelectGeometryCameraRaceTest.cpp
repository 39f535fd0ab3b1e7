#include "GraphicViewTestSupport.h"

#include "HangGuard.h"
#include "SelectPassLatch.h"

#include "appkit/UToolTipWindow.h"
#include "foundation/threads/UThreadCountPreference.h"

#include <chrono>
#include <cmath>
#include <functional>
#include <string_view>
#include <thread>

namespace {

constexpr int raceGridSide = 12;
constexpr quint64 raceNodeRecord = 1;
constexpr quint64 raceNodesOnly = 2;
constexpr int raceProbedOffsets = 16;
constexpr quint64 raceRotateMode = 3;
constexpr quint64 raceZoomMode = 5;
constexpr QSize raceViewSize { 400, 300 };

// A square of Quads in the XZ plane and one node on its own to the right of it.
QString gridWithLoneNodeText()
{
    return quadGridModelText(raceGridSide)
        + QStringLiteral("Node , Lone ,  , %1 , 0 , %2 ,\n")
              .arg(raceGridSide + 3)
              .arg(raceGridSide / 2);
}

struct CameraChange {
    const char* name;
    std::function<void(UFemGraphicViewController&)> apply;
};

const std::vector<CameraChange>& cameraChanges()
{
    static const std::vector<CameraChange> changes {
        { "zoom in",
            [](UFemGraphicViewController& c) {
                c.updateEyeAndObjectLocationWithObjectMoveMode(raceZoomMode, 0, 100);
            } },
        { "rotate",
            [](UFemGraphicViewController& c) {
                c.updateEyeAndObjectLocationWithObjectMoveMode(raceRotateMode, 30, 10);
            } },
        { "fit", [](UFemGraphicViewController& c) { c.fitObjectInView(); } },
        { "view size", [](UFemGraphicViewController& c) { c.setViewSize(c.viewSize()); } },
        { "zoom out",
            [](UFemGraphicViewController& c) {
                c.updateEyeAndObjectLocationWithObjectMoveMode(raceZoomMode, 0, -100);
            } },
    };
    return changes;
}

class SelectGeometryCameraRace : public GraphicViewFixture {
protected:
    // The window is never shown, so that no frame is painted: Qt's painting runs on its own
    // pooled threads, whose locks ThreadSanitizer cannot see.
    SelectGeometryCameraRace()
        : GraphicViewFixture(gridWithLoneNodeText(), true, QSize())
    {
        view->setFixedSize(raceViewSize);
        controller->setViewSize(QSizeF(raceViewSize));
    }
    ~SelectGeometryCameraRace() override { UToolTipWindow::sharedToolTipWindow().close(); }

    QPointF loneNodeViewPoint() const
    {
        const double at[3] = { raceGridSide + 3, 0, raceGridSide / 2 };
        double onEye[3];
        controller->camera().getPositionOnEyeCoord(onEye, at);
        return { controller->viewSize().width() / 2 + onEye[0],
            controller->viewSize().height() / 2 + onEye[1] };
    }
    // The offsets in whole view points to the right of the lone node at which a pick of nodes
    // finds it.
    std::vector<int> offsetsPickingLoneNode()
    {
        const UFemCardPtr lone = cardNamed(QStringLiteral("Lone"));
        const QPointF centre = loneNodeViewPoint();
        std::vector<int> offsets;
        for (int offset = 0; offset < raceProbedOffsets; ++offset)
            if (controller->cardAtViewPoint(centre + QPointF(offset, 0), raceNodesOnly) == lone)
                offsets.push_back(offset);
        return offsets;
    }
    std::vector<int> offsetsPickingLoneNodeFromScratch()
    {
        controller->clearSelectModeObjectDisplayList();
        return offsetsPickingLoneNode();
    }
    // A hover over the lone node whose select geometry is not built sets the pass going.
    void startTipPass()
    {
        EXPECT_EQ(controller->toolTipStringWithViewPoint(loneNodeViewPoint()), std::nullopt);
    }
    void waitForPass()
    {
        controller->selectBufferHitObjectWritingThreadTaskContext().waitAllThreadDone();
    }
    // Fitted, then zoomed out, so that a fit changes the scale too.
    void resetCamera()
    {
        controller->setDirection_X_Right_Z_Up();
        controller->updateEyeAndObjectLocationWithObjectMoveMode(raceZoomMode, 0, -50);
        controller->clearSelectModeObjectDisplayList();
    }
    void useThreadCount(quint64 threadCount)
    {
        QVariantMap preferences = UFemUserPreferences::registeredDefaults();
        preferences.insert(UFemReferenceThreadCountPreferencesKey, threadCount);
        harness.document->userPreferences
            = UFemUserPreferences::userPreferencesWithPreferencesDictionary(preferences,
                UGLGraphicProcessorInfoManager::sharedGraphicProcessorInfoManager(), nullptr);
    }
};

} // namespace

// A hover's pass that built its nodes for the old camera is held while the camera changes: the
// nodes' select geometry then is not valid, and picks beside the lone node find it where
// geometry built from scratch does.
TEST_F(SelectGeometryCameraRace, AChangeDuringATipsPassLeavesNoGeometryOfTheOldCamera)
{
    for (const CameraChange& change : cameraChanges()) {
        SCOPED_TRACE(change.name);
        resetCamera();
        SelectPassLatch latch(raceNodeRecord);
        controller->picker().setSelectGeometryBuiltObserver(
            [&latch](quint64 record) { latch.hold(record); });
        // A change that outdates the pass lets it go first.
        controller->setPipelineStepObserver([&latch](const char* step) {
            if (std::string_view(step) == "outdatePickingPass")
                latch.release();
        });
        bool hasArrived = false;
        {
            const HangGuard guard(change.name);
            startTipPass();
            hasArrived = latch.waitForArrival();
            if (hasArrived)
                change.apply(*controller);
            latch.release();
            waitForPass();
        }
        controller->setPipelineStepObserver({});
        controller->picker().setSelectGeometryBuiltObserver({});
        ASSERT_TRUE(hasArrived);
        EXPECT_FALSE(controller->isSelectModeDisplayListValid(raceNodeRecord));
        const std::vector<int> picked = offsetsPickingLoneNode();
        EXPECT_FALSE(picked.empty());
        EXPECT_EQ(picked, offsetsPickingLoneNodeFromScratch());
    }
}

namespace {

using SelectGeometryCameraRaceThreads = SelectGeometryCameraRace;

// Moments of a camera change, spread evenly over the length of a pass.
constexpr int raceMomentCount = 15;

} // namespace

// Camera changes at moments spread over hovers' passes, with every count of the pass's buffer
// workers: the picks afterwards are always those of select geometry built from scratch.
TEST_F(SelectGeometryCameraRaceThreads, ChangesAtAnyMomentOfAPassPickLikeAFreshPass)
{
    const HangGuard guard("camera changes during passes", std::chrono::seconds(600));
    const std::vector<CameraChange>& changes = cameraChanges();
    for (quint64 threads = 1; threads <= UFemGraphicViewCompositor::maximumChildBufferCount;
         ++threads) {
        useThreadCount(threads);
        controller->clearSelectModeObjectDisplayList();
        const auto start = std::chrono::steady_clock::now();
        startTipPass();
        waitForPass();
        const auto passLength = std::chrono::steady_clock::now() - start;
        for (int moment = 0; moment < raceMomentCount; ++moment) {
            const CameraChange& change = changes[moment % changes.size()];
            SCOPED_TRACE(testing::Message() << threads << " threads, " << change.name << " at "
                                            << moment << "/" << raceMomentCount << " of a pass");
            controller->clearSelectModeObjectDisplayList();
            startTipPass();
            std::this_thread::sleep_for(passLength * moment / raceMomentCount);
            change.apply(*controller);
            waitForPass();
            const std::vector<int> picked = offsetsPickingLoneNode();
            EXPECT_EQ(picked, offsetsPickingLoneNodeFromScratch());
        }
    }
}

namespace {

using ClickAfterCameraChangeThreads = SelectGeometryCameraRace;

} // namespace

// A hover's pass is held once it has built the nodes for the old camera while the camera zooms
// in: the zoom does not wait for the held pass but cancels it, and a hover and a click at the
// lone node's new place then name and select it.
TEST_F(ClickAfterCameraChangeThreads, AClickAndAHoverAfterAnOutdatedPassPickInTheNewView)
{
    const HangGuard guard("a click after a camera change");
    resetCamera();
    const UFemCardPtr lone = cardNamed(QStringLiteral("Lone"));
    SelectPassLatch latch(
        raceNodeRecord, &controller->selectBufferHitObjectWritingThreadTaskContext());
    controller->picker().setSelectGeometryBuiltObserver(
        [&latch](quint64 record) { latch.hold(record); });
    startTipPass();
    ASSERT_TRUE(latch.waitForArrival());
    const QPointF before = loneNodeViewPoint();
    cameraChanges().front().apply(*controller);
    EXPECT_FALSE(latch.wasHeldToTheLimit());
    waitForPass();
    controller->picker().setSelectGeometryBuiltObserver({});
    const QPointF after = loneNodeViewPoint();
    ASSERT_GT(std::abs(after.x() - before.x()), 4 * UFemGraphicViewPicker::pickPointRadius);
    EXPECT_FALSE(controller->isSelectModeDisplayListValid(raceNodeRecord));

    // The hover sets its pass going again; the click waits for it and picks.
    EXPECT_EQ(controller->toolTipStringWithViewPoint(after), std::nullopt);
    const QPointF widgetPoint(after.x(), view->height() - after.y());
    QMouseEvent press(QEvent::MouseButtonPress, widgetPoint, view->mapToGlobal(widgetPoint),
        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, widgetPoint, view->mapToGlobal(widgetPoint),
        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view, &release);
    EXPECT_EQ(harness.window->unsortedSelectedCardArray(), UFemCardVector { lone });
    EXPECT_EQ(controller->toolTipStringWithViewPoint(after), lone->toolTipString());
}
