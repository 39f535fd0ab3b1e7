#include "foundation/errors/UException.h"
#include "graphics/drawingbuffer/UGLRootDrawingBuffer.h"
#include "graphicview/tasks/UFemBufferDrawingThreadContext.h"
#include "graphicview/tasks/UFemBufferDrawingThreadTaskContext.h"
#include "graphicview/tasks/UFemCardValueDataCalcThreadTaskContext.h"
#include "graphicview/tasks/UFemColorScaleRangeCalcThreadTaskContext.h"
#include "graphicview/tasks/UFemLayerImageDrawingThreadContext.h"
#include "graphicview/tasks/UFemLayerImageDrawingThreadTaskContext.h"
#include "graphicview/tasks/UFemRubberbandCardIndexTableCalcThreadTaskContext.h"
#include "graphicview/tasks/UFemSelectBufferHitObjectWritingThreadTaskContext.h"
#include "graphicview/tasks/UFemSelectedCardIndexTableCalcThreadTaskContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <numeric>
#include <set>

namespace {

// Every worker routine of the view: records who ran, and holds the workers at a gate when asked.
class RecordingDelegate : public UFemColorScaleRangeCalcThreadTaskContext::Delegate,
                          public UFemCardValueDataCalcThreadTaskContext::Delegate,
                          public UFemBufferDrawingThreadTaskContext::Delegate,
                          public UFemLayerImageDrawingThreadTaskContext::Delegate,
                          public UFemSelectBufferHitObjectWritingThreadTaskContext::Delegate,
                          public UFemSelectedCardIndexTableCalcThreadTaskContext::Delegate,
                          public UFemRubberbandCardIndexTableCalcThreadTaskContext::Delegate {
public:
    bool calculateColorScaleRangeWithThreadContext(UThreadContext&) override { return pass(); }
    bool calculateCardValueDataCacheWithThreadContext(UThreadContext&) override { return pass(); }
    void cardValueDataCalcThreadTaskDidFinishedWithThreadContext(UThreadContext&) override
    {
        std::lock_guard lock(mutex_);
        ++finishCount;
    }
    bool runBufferDrawingWithThreadContext(UFemBufferDrawingThreadContext& context) override
    {
        {
            std::lock_guard lock(mutex_);
            bufferShares.insert(
                { context.openGLContextIndex(), context.childDrawingBufferIndex() });
        }
        return pass();
    }
    bool runLayerImageDrawingWithThreadContext(UFemLayerImageDrawingThreadContext&) override
    {
        return pass();
    }
    bool runLayerImageDrawingWithThreadContext_selectMode(
        UFemLayerImageDrawingThreadContext&) override
    {
        return pass();
    }
    bool runSelectBufferHitObjectWritingWithThreadContext(UThreadContext&) override
    {
        return pass();
    }
    bool runSelectedCardIndexTableCalcWithThreadContext(UThreadContext&) override { return pass(); }
    bool runRubberbandCardIndexTableCalcWithThreadContext(UThreadContext&) override
    {
        return pass();
    }

    void closeGate()
    {
        std::lock_guard lock(mutex_);
        gateOpen_ = false;
    }
    void openGate()
    {
        {
            std::lock_guard lock(mutex_);
            gateOpen_ = true;
        }
        gate_.notify_all();
    }
    int finishCount = 0;
    std::set<std::pair<quint64, quint64>> bufferShares;

private:
    bool pass()
    {
        std::unique_lock lock(mutex_);
        gate_.wait(lock, [this] { return gateOpen_; });
        return true;
    }

    std::mutex mutex_;
    std::condition_variable gate_;
    bool gateOpen_ = true;
};

// One task of each kind with the means to give it arguments.
struct TaskUnderTest {
    const char* name;
    std::unique_ptr<UThreadTaskContext> task;
    std::function<bool()> giveArguments;
};

std::vector<TaskUnderTest> everyTask(RecordingDelegate& delegate, UGLRootDrawingBuffer& root)
{
    static const quint64 records[] = { 0, 1 };
    static const quint64* const recordTables[] = { records };
    static const quint64 recordCounts[] = { 2 };
    std::vector<TaskUnderTest> tasks;
    auto add = [&tasks](const char* name, auto task, auto give) {
        auto* raw = task.get();
        tasks.push_back({ name, std::move(task), [raw, give] { return give(*raw); } });
    };
    add("colour range", std::make_unique<UFemColorScaleRangeCalcThreadTaskContext>(),
        [&delegate](UFemColorScaleRangeCalcThreadTaskContext& task) {
            return task.setArgumentIfNeededWithDelegate(&delegate, nullptr, {}, {}, {});
        });
    add("card value data", std::make_unique<UFemCardValueDataCalcThreadTaskContext>(),
        [&delegate](UFemCardValueDataCalcThreadTaskContext& task) {
            return task.setArgumentIfNeededWithDelegate(&delegate, records, 2, nullptr);
        });
    add("buffer drawing", std::make_unique<UFemBufferDrawingThreadTaskContext>(),
        [&delegate, &root](UFemBufferDrawingThreadTaskContext& task) {
            UGLRootDrawingBuffer* roots[] = { &root };
            return task.setArgumentIfNeededWithDelegate(
                &delegate, roots, recordTables, recordCounts, 1, false, QRectF(), nullptr);
        });
    add("layer image", std::make_unique<UFemLayerImageDrawingThreadTaskContext>(),
        [&delegate, &root](UFemLayerImageDrawingThreadTaskContext& task) {
            UGLRootDrawingBuffer* roots[] = { &root };
            UOpenGLManager* managers[] = { nullptr };
            return task.setArgumentIfNeededWithDelegate(&delegate, recordTables, recordCounts,
                managers, roots, 1, false, nullptr, 0, nullptr);
        });
    add("hit writer", std::make_unique<UFemSelectBufferHitObjectWritingThreadTaskContext>(),
        [&delegate](UFemSelectBufferHitObjectWritingThreadTaskContext& task) {
            return task.setArgumentIfNeededWithDelegate(&delegate, QRectF(1, 2, 4, 4), 31, 100);
        });
    add("selected cards", std::make_unique<UFemSelectedCardIndexTableCalcThreadTaskContext>(),
        [&delegate](UFemSelectedCardIndexTableCalcThreadTaskContext& task) {
            return task.setArgumentIfNeededWithDelegate(&delegate, {});
        });
    add("rubber band", std::make_unique<UFemRubberbandCardIndexTableCalcThreadTaskContext>(),
        [&delegate](UFemRubberbandCardIndexTableCalcThreadTaskContext& task) {
            return task.setArgumentIfNeededWithDelegate(&delegate, 10, true, 7, {}, nullptr);
        });
    return tasks;
}

TEST(GraphicViewTasksThreads, RunningOrCanceledTasksRefuseArguments)
{
    RecordingDelegate delegate;
    UGLRootDrawingBuffer root(UGLOpenGLVersion_1_1);
    root.resetBufferWithChildBufferCount(1);
    for (TaskUnderTest& t : everyTask(delegate, root)) {
        SCOPED_TRACE(t.name);
        UThreadTaskContext& task = *t.task;
        task.requestCancel();
        EXPECT_FALSE(t.giveArguments());
        EXPECT_EQ(task.threadState(), UThreadTaskStateCleared);
        task.clearAll_shouldNotRunning();

        ASSERT_TRUE(t.giveArguments());
        EXPECT_EQ(task.threadState(), UThreadTaskStateReadyToRun);
        EXPECT_FALSE(t.giveArguments());

        delegate.closeGate();
        ASSERT_TRUE(task.startThreadIfNeededWithThreadCount(1, nullptr));
        EXPECT_FALSE(t.giveArguments());
        EXPECT_EQ(task.threadState(), UThreadTaskStateRunning);
        delegate.openGate();
        EXPECT_TRUE(task.waitAllThreadDone());

        task.clearAll_shouldNotRunning();
        EXPECT_TRUE(t.giveArguments()) << "a cleared task takes arguments again";
        task.clearAll_shouldNotRunning();
    }
    EXPECT_EQ(delegate.finishCount, 1);
}

TEST(GraphicViewTasks, BufferWorkersMapToTheirContextAndChild)
{
    RecordingDelegate delegate;
    UGLRootDrawingBuffer first(UGLOpenGLVersion_1_1);
    UGLRootDrawingBuffer second(UGLOpenGLVersion_1_1);
    first.resetBufferWithChildBufferCount(3);
    second.resetBufferWithChildBufferCount(1);
    UGLRootDrawingBuffer* roots[] = { &first, &second };
    const quint64 records[] = { 0, 1, 2 };
    const quint64* const recordTables[] = { records, records + 2 };
    const quint64 recordCounts[] = { 2, 1 };
    UFemBufferDrawingThreadTaskContext task;
    ASSERT_TRUE(task.setArgumentIfNeededWithDelegate(
        &delegate, roots, recordTables, recordCounts, 2, false, QRectF(), nullptr));
    EXPECT_EQ(task.specifiedThreadCount(), 4u);
    auto context = std::dynamic_pointer_cast<UFemBufferDrawingThreadContext>(
        task.newThreadContextWithThreadIdentifier(3));
    ASSERT_TRUE(context);
    EXPECT_EQ(context->openGLContextIndex(), 1u);
    EXPECT_EQ(context->childDrawingBufferIndex(), 0u);
    try {
        task.newThreadContextWithThreadIdentifier(4);
        ADD_FAILURE() << "identifier 4 was accepted";
    } catch (const UException& exception) {
        EXPECT_EQ(exception.reason(), QStringLiteral("Unexpected threadIdentifier???"));
    }
    EXPECT_EQ(task.openGLContextRecord(1).targetRecordIndexes.count, 1u);
    EXPECT_EQ(task.openGLContextRecord(1).targetRecordIndexes.table[0], 2u);
}

TEST(GraphicViewTasksThreads, BufferTaskRunsOneWorkerPerChildBuffer)
{
    RecordingDelegate delegate;
    UGLRootDrawingBuffer first(UGLOpenGLVersion_1_1);
    UGLRootDrawingBuffer second(UGLOpenGLVersion_1_1);
    first.resetBufferWithChildBufferCount(3);
    second.resetBufferWithChildBufferCount(1);
    UGLRootDrawingBuffer* roots[] = { &first, &second };
    const quint64 records[] = { 0 };
    const quint64* const recordTables[] = { records, records };
    const quint64 recordCounts[] = { 1, 1 };
    UFemBufferDrawingThreadTaskContext task;
    ASSERT_TRUE(task.setArgumentIfNeededWithDelegate(
        &delegate, roots, recordTables, recordCounts, 2, true, QRectF(0, 0, 3, 3), nullptr));
    ASSERT_TRUE(task.startThreadIfNeeded_isCanceled(nullptr));
    ASSERT_TRUE(task.waitAllThreadDone());
    const std::set<std::pair<quint64, quint64>> expected { { 0, 0 }, { 0, 1 }, { 0, 2 }, { 1, 0 } };
    EXPECT_EQ(delegate.bufferShares, expected);
}

TEST(GraphicViewTasks, ClearingDropsArgumentsAndResultsButKeepsStorage)
{
    RecordingDelegate delegate;
    UFemColorScaleRangeCalcThreadTaskContext range;
    EXPECT_TRUE(std::isnan(range.minCardValue()));
    ASSERT_TRUE(range.setArgumentIfNeededWithDelegate(&delegate, nullptr, {}, {}, {}));
    range.mergeCardValueRange(-2, 5, 3, 2);
    range.mergeCardValueRange(std::nan(""), 9, 1, 1);
    EXPECT_EQ(range.minCardValue(), -2);
    EXPECT_EQ(range.maxCardValue(), 9);
    EXPECT_EQ(range.numberOfCardValidByCardFilter(), 4u);
    range.clearAll_shouldNotRunning();
    EXPECT_TRUE(std::isnan(range.maxCardValue()));
    EXPECT_EQ(range.numberOfCardRespondToValueExpression(), 0u);

    UFemSelectBufferHitObjectWritingThreadTaskContext hits;
    ASSERT_TRUE(hits.setArgumentIfNeededWithDelegate(&delegate, QRectF(1, 1, 2, 2), 3, 1000));
    EXPECT_EQ(hits.selectionBufferCapacity_GLUInt(), 1256u);
    *hits.hitObjectCountPtr() = 5;
    hits.clearAll_shouldNotRunning();
    EXPECT_EQ(hits.hitObjectCount(), 0u);
    EXPECT_EQ(hits.drawingCardTypeIndexes(), 0u);
    EXPECT_EQ(hits.selectionBufferCapacity_GLUInt(), 1256u);
    ASSERT_TRUE(hits.setArgumentIfNeededWithDelegate(&delegate, QRectF(), 0, 1200));
    EXPECT_EQ(hits.selectionBufferCapacity_GLUInt(), 1256u) << "a large enough buffer stays";
    hits.clearAll_shouldNotRunning();

    // A band's hits taken without drawing follow the drawn ones and grow the buffer.
    ASSERT_TRUE(hits.setArgumentIfNeededWithDelegate(&delegate, QRectF(), 31, 0, false));
    EXPECT_FALSE(hits.isHitDepthNeeded());
    hits.selectionBufferPtr()[3] = 7;
    std::vector<GLuint> names(400);
    std::iota(names.begin(), names.end(), GLuint(100));
    {
        std::lock_guard lock(hits);
        EXPECT_EQ(hits.appendHitsWithoutDepth_whileLocked(1, names), 401u);
    }
    ASSERT_GE(hits.selectionBufferCapacity_GLUInt(), 401u * 4);
    const GLuint* buffer = hits.selectionBufferPtr();
    EXPECT_EQ(buffer[3], 7u);
    EXPECT_EQ(std::vector<GLuint>(buffer + 4, buffer + 8), (std::vector<GLuint> { 1, 0, 0, 100 }));
    EXPECT_EQ(buffer[400 * 4 + 3], 499u);
    hits.clearAll_shouldNotRunning();
    EXPECT_TRUE(hits.isHitDepthNeeded());

    UFemRubberbandCardIndexTableCalcThreadTaskContext band;
    ASSERT_TRUE(band.setArgumentIfNeededWithDelegate(&delegate, 100, true, 7, {}, &hits));
    EXPECT_EQ(band.cardIndexList().cardIndexTableCapacity(), 100u * 5 / 4 + 256);
    band.clearAll_shouldNotRunning();
    EXPECT_FALSE(band.doesUpdateSelectedCardSetManager());
    EXPECT_EQ(band.selectedCardSetManagerChangeIdentifier(), 0u);
    EXPECT_EQ(band.selectBufferHitObjectWritingThreadTaskContext(), nullptr);
    EXPECT_EQ(band.cardIndexList().cardIndexTableCapacity(), 381u);
}

} // namespace
