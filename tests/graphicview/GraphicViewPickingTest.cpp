#include "GraphicViewTestSupport.h"

#include "HangGuard.h"

#include "cardmodel/data/UFemWindowCardTable.h"
#include "graphicview/tasks/UFemSelectBufferHitObjectWritingThreadTaskContext.h"

#include <QKeyEvent>

#include <chrono>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

namespace {

const QString plateHeader = QStringLiteral("Material , Steel , 210000 , 0.3 ,\n"
                                           "ShellProp , P , Steel , 0.05 ,\n");

// A 2 x 1 plate in the XZ plane at depth `y` (larger y lies farther from the eye under
// "X right, Z up"), with its own four nodes.
QString plateAtDepth(const QString& name, double y)
{
    QString text;
    const double corners[4][2] = { { -1, -0.5 }, { 1, -0.5 }, { 1, 0.5 }, { -1, 0.5 } };
    for (int corner = 0; corner < 4; ++corner)
        text += QStringLiteral("Node , %1%2 ,  , %3 , %4 , %5 ,\n")
                    .arg(name)
                    .arg(corner)
                    .arg(corners[corner][0])
                    .arg(y)
                    .arg(corners[corner][1]);
    return text + QStringLiteral("Quad , ") + name + QStringLiteral(" , P , ") + name
        + QStringLiteral("0 , ") + name + QStringLiteral("1 , ") + name + QStringLiteral("2 , ")
        + name + QStringLiteral("3 ,\n");
}

// `count` plates over the same four nodes at depth 0.
QString stackedPlates(int count)
{
    QString text = plateAtDepth(QStringLiteral("S"), 0);
    for (int plate = 1; plate < count; ++plate)
        text += QStringLiteral("Quad , T%1 , P , S0 , S1 , S2 , S3 ,\n").arg(plate);
    return text;
}

constexpr quint64 elementsOnly = 1;
constexpr quint64 nodesOnly = 2;
// The middle of the 400 x 300 view, where every plate lies.
constexpr QPointF viewCentre { 200, 150 };
// Node "*0" at (-1, -0.5): 0.009 model units per point after the fit.
constexpr QPointF firstCorner { 200 - 1 / 0.009, 150 - 0.5 / 0.009 };

QString nameOf(const UFemCardPtr& card)
{
    return card == nullptr ? QStringLiteral("none") : card->cardNameString().value_or(QString());
}

class GraphicViewPickingTest : public GraphicViewFixture {
protected:
    explicit GraphicViewPickingTest(const QString& model)
        : GraphicViewFixture(plateHeader + model)
    {
    }
};

class GraphicViewPickingTwoPlatesTest : public GraphicViewPickingTest {
protected:
    GraphicViewPickingTwoPlatesTest()
        : GraphicViewPickingTest(
            plateAtDepth(QStringLiteral("Far"), 0) + plateAtDepth(QStringLiteral("Near"), -1))
    {
    }
};

class GraphicViewPickingNearLastTest : public GraphicViewPickingTest {
protected:
    GraphicViewPickingNearLastTest()
        : GraphicViewPickingTest(
            plateAtDepth(QStringLiteral("Near"), -1) + plateAtDepth(QStringLiteral("Far"), 0))
    {
    }
};

class GraphicViewPickingStackTest : public GraphicViewPickingTest {
protected:
    GraphicViewPickingStackTest()
        : GraphicViewPickingTest(stackedPlates(3))
    {
    }
};

// Far more hits than the smallest buffer holds, and the nearest card written last.
class GraphicViewPickingOverflowTest : public GraphicViewPickingTest {
protected:
    GraphicViewPickingOverflowTest()
        : GraphicViewPickingTest(stackedPlates(100) + plateAtDepth(QStringLiteral("Near"), -1))
    {
    }
};

void sendKey(QWidget* view, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
    bool isAutoRepeat = false)
{
    QKeyEvent event(type, key, modifiers, QString(), isAutoRepeat);
    QApplication::sendEvent(view, &event);
}

} // namespace

// The nearer plate wins whichever comes first in the model; a repeated pick (from the display
// lists) gives the same card.
TEST_F(GraphicViewPickingTwoPlatesTest, TheFrontElementIsPicked)
{
    EXPECT_EQ(nameOf(controller->cardAtViewPoint(viewCentre, elementsOnly)), "Near");
    EXPECT_EQ(nameOf(controller->cardAtViewPoint(viewCentre, elementsOnly)), "Near");
    EXPECT_EQ(nameOf(controller->cardAtViewPoint({ 5, 5 }, elementsOnly)), "none");
    EXPECT_EQ(controller->hitObjectNameInViewRect(QRectF(3, 3, 4, 4), 31),
        UFemGraphicViewPicker::noHitObjectName);
}

TEST_F(GraphicViewPickingNearLastTest, TheFrontElementIsPicked)
{
    EXPECT_EQ(nameOf(controller->cardAtViewPoint(viewCentre, elementsOnly)), "Near");
}

TEST_F(GraphicViewPickingStackTest, ATieGoesToTheFirstHit)
{
    EXPECT_EQ(nameOf(controller->cardAtViewPoint(viewCentre, elementsOnly)), "S");
}

// Holding "n" picks nodes only; its release, but not an auto-repeat release, restores all five.
TEST_F(GraphicViewPickingStackTest, HoldingNPicksNodesOnly)
{
    EXPECT_EQ(nameOf(controller->cardAtViewPoint(firstCorner, nodesOnly)), "S0");
    EXPECT_EQ(nameOf(controller->cardAtViewPoint(viewCentre, nodesOnly)), "none");
    sendKey(view, QEvent::KeyPress, Qt::Key_N, Qt::NoModifier);
    EXPECT_EQ(controller->currentPressedKeyPickMaskCardTypeIndexes(), nodesOnly);
    EXPECT_EQ(controller->toolTipStringWithViewPoint(viewCentre), std::nullopt);
    EXPECT_NE(controller->toolTipStringWithViewPoint(firstCorner), std::nullopt);
    sendKey(view, QEvent::KeyRelease, Qt::Key_N, Qt::NoModifier, true);
    EXPECT_EQ(controller->currentPressedKeyPickMaskCardTypeIndexes(), nodesOnly);
    sendKey(view, QEvent::KeyRelease, Qt::Key_N, Qt::NoModifier);
    EXPECT_EQ(controller->currentPressedKeyPickMaskCardTypeIndexes(), 31u);
    // With a modifier the key is not the view's.
    sendKey(view, QEvent::KeyPress, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(controller->currentPressedKeyPickMaskCardTypeIndexes(), 31u);
}

TEST_F(GraphicViewPickingOverflowTest, AForcedOverflowKeepsTheRightHits)
{
    static_cast<UFemSelectBufferHitObjectWritingThreadTaskContext&>(
        controller->selectBufferHitObjectWritingThreadTaskContext())
        .setSelectionBufferCapacityLimitForTesting(0);
    EXPECT_EQ(nameOf(controller->cardAtViewPoint(viewCentre, elementsOnly)), "Near");
    EXPECT_EQ(nameOf(controller->cardAtViewPoint(viewCentre, elementsOnly)), "Near");
}

// A frame that waits for its data makes a pick answer nothing at once.
TEST_F(GraphicViewPickingStackTest, APickWhileAFrameWaitsAnswersNothing)
{
    UErrorPtr error;
    ASSERT_TRUE(controller->setViewPreferences(
        UFemGraphicViewPreferences::baseGraphicViewPreferences(), &error));
    {
        std::lock_guard hold(
            controller->drawingCacheManager().drawingLayerImageInfoRecordTableLockCondition());
        view->repaint();
        ASSERT_TRUE(controller->isRedisplayRequiredWhenCalculationDone());
        EXPECT_EQ(controller->cardAtViewPoint(viewCentre, elementsOnly), nullptr);
    }
    bool isCanceled = false;
    controller->drawingCacheManager().waitCardValueDataCalcThreadFinished_isCanceled(&isCanceled);
}

namespace {

// A writer that publishes one hit and then fails, or waits until it is released.
class ScriptedWriter final : public UFemSelectBufferHitObjectWritingThreadTaskContext::Delegate {
public:
    explicit ScriptedWriter(UFemSelectBufferHitObjectWritingThreadTaskContext& task)
        : task_(task)
    {
    }
    bool runSelectBufferHitObjectWritingWithThreadContext(UThreadContext&) override
    {
        {
            std::lock_guard lock(task_);
            GLuint* hit = task_.selectionBufferPtr();
            hit[0] = 1;
            hit[1] = 7;
            hit[2] = 7;
            hit[3] = 42;
            task_.publishHitObjectCount_whileLocked(1);
        }
        return release.get_future().get();
    }
    std::promise<bool> release;

private:
    UFemSelectBufferHitObjectWritingThreadTaskContext& task_;
};

using HitWait = UFemSelectBufferHitObjectWritingThreadTaskContext::HitWait;

} // namespace

// Readers leave their wait once the writer stops, also when it failed or was canceled.
TEST(GraphicViewPickingThreadsTest, AStoppedWriterEndsEveryWait)
{
    for (const bool succeeds : { true, false }) {
        UFemSelectBufferHitObjectWritingThreadTaskContext task;
        ScriptedWriter writer(task);
        ASSERT_TRUE(task.setArgumentIfNeededWithDelegate(&writer, QRectF(0, 0, 4, 4), 31, 4));
        bool isCanceled = false;
        task.startThreadIfNeeded_isCanceled(&isCanceled);
        std::vector<GLuint> hits;
        ASSERT_EQ(task.waitForHitsAfter(0, &hits), HitWait::newHits);
        EXPECT_EQ(hits, (std::vector<GLuint> { 1, 7, 7, 42 }));
        auto reader = std::async(std::launch::async, [&] {
            std::vector<GLuint> more;
            return task.waitForHitsAfter(1, &more);
        });
        if (!succeeds)
            task.requestCancel();
        writer.release.set_value(succeeds);
        ASSERT_EQ(reader.wait_for(std::chrono::seconds(10)), std::future_status::ready);
        EXPECT_EQ(reader.get(), succeeds ? HitWait::finished : HitWait::failed);
        task.waitAllThreadDone();
    }
}

namespace {

constexpr auto startDeadline = std::chrono::seconds(20);

// Holds the card value data's workers at the layer table's lock until the composition has
// started them, then cancels the data under the running composition and lets the workers go.
class MidRunCanceller {
public:
    explicit MidRunCanceller(UFemGraphicViewController& controller)
        : thread_([&controller, this] {
            UThreadTaskContext& data = controller.cardValueDataCalcThreadTaskContext();
            {
                std::lock_guard hold(controller.drawingCacheManager()
                                         .drawingLayerImageInfoRecordTableLockCondition());
                holding_.set_value();
                const auto deadline = std::chrono::steady_clock::now() + startDeadline;
                while (!data.isRunning() && std::chrono::steady_clock::now() < deadline)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                didCancelWhileRunning = data.isRunning();
                data.requestCancel();
            }
        })
    {
        holding_.get_future().wait();
    }
    ~MidRunCanceller() { thread_.join(); }
    MidRunCanceller(const MidRunCanceller&) = delete;
    MidRunCanceller& operator=(const MidRunCanceller&) = delete;
    bool didCancelWhileRunning = false;

private:
    std::promise<void> holding_;
    std::thread thread_;
};

} // namespace

// The card value data is canceled while a pick or a rendered frame waits for it: both end,
// with no hit and no picture, and once new settings clear the canceled data a pick finds the
// plate again.
TEST_F(GraphicViewPickingStackTest, ACancelledCompositionEndsWithoutHanging)
{
    const std::vector<std::pair<const char*, std::function<bool()>>> compositions {
        { "a pick",
            [this] {
                return controller->hitObjectNameInViewRect(QRectF(198, 148, 4, 4), elementsOnly)
                    == UFemGraphicViewPicker::noHitObjectName;
            } },
        { "a rendered frame",
            [this] { return controller->renderToImage(UGLDrawingOutputTypeScreen).isNull(); } },
    };
    UErrorPtr error;
    const QVariantMap preferences = UFemGraphicViewPreferences::baseGraphicViewPreferences();
    for (const auto& [what, answersNothing] : compositions) {
        SCOPED_TRACE(what);
        ASSERT_TRUE(controller->setViewPreferences(preferences, &error));
        bool isEmpty = false;
        bool didCancelWhileRunning = false;
        {
            const HangGuard guard(what);
            MidRunCanceller canceller(*controller);
            isEmpty = answersNothing();
            didCancelWhileRunning = canceller.didCancelWhileRunning;
        }
        EXPECT_TRUE(didCancelWhileRunning);
        EXPECT_TRUE(isEmpty);
        EXPECT_TRUE(controller->cardValueDataCalcThreadTaskContext().isCanceled());
    }
    ASSERT_TRUE(controller->setViewPreferences(preferences, &error));
    EXPECT_EQ(nameOf(controller->cardAtViewPoint(viewCentre, elementsOnly)), "S");
}
