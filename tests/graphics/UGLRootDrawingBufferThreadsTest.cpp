#include "RunJobsWithDeadline.h"

#include "foundation/UFemNotFound.h"
#include "graphics/drawingbuffer/UGLRootDrawingBuffer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <map>

// Writers and the reader without OpenGL: the reader takes the blocks from the root as the replay
// would and gathers the draw objects through the root, or cancels the root mid-frame.
namespace {

constexpr quint64 triangles = 4;
constexpr quint64 writerCount = 4;
constexpr quint64 stageCount = 5;
constexpr quint64 drawObjectsPerStage = 3;

void writeFrame(UGLDrawingBuffer& buffer, quint64 writer, std::atomic<quint64>* stagesWritten)
{
    bool canceled = false;
    const double corners[9] = { 0, 0, 0, 1, 0, 0, 0, 1, 0 };
    for (quint64 stage = 0; stage < stageCount && !canceled; ++stage) {
        buffer.openWriteStageWithStageIdentifier(stage, &canceled);
        for (quint64 object = 0; object < drawObjectsPerStage; ++object) {
            // Enough triangles between the draw objects to hand over several small blocks.
            for (int triangle = 0; triangle < 200 && !canceled; ++triangle)
                buffer.writeDrawVertexArrayWithPolygonMode(
                    triangles, corners, nullptr, nullptr, 3, &canceled);
            buffer.writeCocoaDrawingObjectWithArray(
                { UFemGraphicCocoaDrawObject::cocoaDrawObjectWithDrawObject(
                    QImage(), QPointF(double(writer), double(stage * 10 + object))) },
                &canceled);
        }
        buffer.closeCurrentWriteStage_isCanceled(&canceled);
        if (stagesWritten != nullptr && !canceled)
            ++*stagesWritten;
    }
    buffer.finishWriteBuffer_isCanceled(&canceled);
}

// Reads whole stages; cancels the root once `cancelAfterStage` stages were read.
std::vector<UFemGraphicCocoaDrawObject> readFrame(
    UGLRootDrawingBuffer& root, quint64 cancelAfterStage, bool* sawCancel)
{
    std::vector<UFemGraphicCocoaDrawObject> objects;
    bool canceled = false;
    for (quint64 read = 0;; ++read) {
        if (read == cancelAfterStage)
            root.requestCancel();
        const quint64 stage = root.nextReadStageIdentifier_returnsWhenUnknown(nullptr, &canceled);
        if (stage == UFemNotFound || canceled)
            break;
        root.openReadStageWithStageIdentifier(stage, &canceled);
        const void* start = nullptr;
        const void* end = nullptr;
        while (!root.getNextReadBufferStartPtr(&start, &end, nullptr, &canceled) && !canceled) { }
        root.getCocoaDrawingObjectsToCocoaDrawObjectArray(&objects, stage, &canceled);
        root.closeCurrentReadStage_isCanceled(&canceled);
    }
    if (canceled) {
        bool isEmpty = false;
        *sawCancel = !root.drawOpenGLUntilNextStage_returnsWhenEmpty(&isEmpty, &objects, &canceled)
            && canceled;
    }
    return objects;
}

} // namespace

TEST(RootDrawingBufferThreads, DrawObjectsOfFourWritersArriveStageByStageInOrder)
{
    UGLRootDrawingBuffer root(3, 256, UGLOpenGLVersion_1_4);
    for (int frame = 0; frame < 2; ++frame) {
        root.resetBufferWithChildBufferCount(writerCount);
        std::vector<UFemGraphicCocoaDrawObject> objects;
        bool sawCancel = false;
        std::vector<std::function<void()>> jobs;
        for (quint64 writer = 0; writer < writerCount; ++writer)
            jobs.emplace_back([&root, writer] {
                writeFrame(*root.drawingBufferAtIndex(writer), writer, nullptr);
            });
        jobs.emplace_back([&] { objects = readFrame(root, ~quint64(0), &sawCancel); });
        runJobsWithDeadline(jobs);
        ASSERT_EQ(objects.size(), writerCount * stageCount * drawObjectsPerStage);
        // Stage by stage; within a stage, each writer's objects in writing order.
        std::map<quint64, double> lastOfWriter { { 0, -1 }, { 1, -1 }, { 2, -1 }, { 3, -1 } };
        double lastStage = 0;
        for (const UFemGraphicCocoaDrawObject& object : objects) {
            const double stage = std::floor(object.drawPoint().y() / 10);
            EXPECT_GE(stage, lastStage);
            lastStage = stage;
            const quint64 writer = quint64(object.drawPoint().x());
            EXPECT_GT(object.drawPoint().y(), lastOfWriter.at(writer));
            lastOfWriter[writer] = object.drawPoint().y();
        }
        EXPECT_FALSE(sawCancel);
    }
}

TEST(RootDrawingBufferThreads, CancelMidFrameStopsWritersAndReader)
{
    UGLRootDrawingBuffer root(3, 256, UGLOpenGLVersion_1_1);
    root.resetBufferWithChildBufferCount(writerCount);
    std::atomic<quint64> stagesWritten { 0 };
    bool sawCancel = false;
    std::vector<std::function<void()>> jobs;
    for (quint64 writer = 0; writer < writerCount; ++writer)
        jobs.emplace_back([&root, writer, &stagesWritten] {
            writeFrame(*root.drawingBufferAtIndex(writer), writer, &stagesWritten);
        });
    jobs.emplace_back([&] { readFrame(root, 2, &sawCancel); });
    runJobsWithDeadline(jobs);
    EXPECT_TRUE(sawCancel);
    EXPECT_LT(stagesWritten.load(), writerCount * stageCount);
}
