#include "ReplayTestSupport.h"
#include "RunJobsWithDeadline.h"

#include "graphics/drawingbuffer/UGLRootDrawingBuffer.h"
#include "graphics/drawingbuffer/UGLSelectionBuffer.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace {

constexpr QSizeF frameSize(192, 128);
constexpr quint64 writerCount = 4;
constexpr quint64 stageCount = 3;
// Each writer's square of each stage is a grid of small squares, so that a stage fills several
// of the small blocks below and the writers wait for the reader.
constexpr quint64 gridSide = 16;
constexpr double cellSide = 2;

_UGLColor writerColor(quint64 writer, quint64 stage)
{
    return { double(writer + 1) / 4, double(stage + 1) / 3, 0.5, 1 };
}

std::array<double, 2> writerCentre(quint64 writer, quint64 stage)
{
    return { -72 + 48 * double(writer), 40 - 40 * double(stage) };
}

QImage markerImage()
{
    QImage image(4, 4, QImage::Format_RGBA8888);
    image.fill(Qt::white);
    return image;
}

// One writer's frame: per stage a square of 2 x 16 x 16 triangles in its colour, half through
// plain and half through indexed arrays, and a white marker image at the square's centre.
void writeWriterFrame(UGLDrawingBuffer& buffer, quint64 writer)
{
    bool canceled = false;
    for (quint64 stage = 0; stage < stageCount; ++stage) {
        buffer.openWriteStageWithStageIdentifier(stage, &canceled);
        buffer.setCurrentWriteObjectName(writer, &canceled);
        const auto [cx, cy] = writerCentre(writer, stage);
        const _UGLColor color = writerColor(writer, stage);
        const _UGLColor colors[6] = { color, color, color, color, color, color };
        const quint64 indexes[6] = { 0, 1, 2, 3, 4, 5 };
        for (quint64 cell = 0; cell < gridSide * gridSide; ++cell) {
            const double x = cx + cellSide * (double(cell % gridSide) - double(gridSide - 1) / 2);
            const double y = cy + cellSide * (double(cell / gridSide) - double(gridSide - 1) / 2);
            const auto corners = squareTriangles(x, y, 0, cellSide);
            if (cell % 2 == 0)
                buffer.writeDrawVertexArrayWithPolygonMode(
                    replayTriangles, corners.data(), colors, nullptr, 6, &canceled);
            else
                buffer.writeDrawVertexArrayByIndexArrayWithPolygonMode(
                    replayTriangles, indexes, 6, corners.data(), colors, nullptr, 6, &canceled);
        }
        buffer.writeCocoaDrawingObjectWithArray(
            { UFemGraphicCocoaDrawObject::cocoaDrawObjectWithDrawObject(
                markerImage(), QPointF(96 + cx, 64 - cy)) },
            &canceled);
        buffer.closeCurrentWriteStage_isCanceled(&canceled);
    }
    buffer.finishWriteBuffer_isCanceled(&canceled);
    EXPECT_FALSE(canceled);
}

struct ThreadedFrame {
    ReplayFrame frame;
    std::vector<UFemGraphicCocoaDrawObject> drawObjects;
};

// Four writer threads fill the root while a layer-image thread replays it.
ThreadedFrame renderWrittenByFourThreads(UOpenGLManager& manager, UGLRootDrawingBuffer& root)
{
    EXPECT_EQ(root.resetBufferWithChildBufferCount(writerCount), writerCount);
    ThreadedFrame result;
    std::vector<std::function<void()>> jobs;
    for (quint64 writer = 0; writer < writerCount; ++writer)
        jobs.emplace_back(
            [&root, writer] { writeWriterFrame(*root.drawingBufferAtIndex(writer), writer); });
    jobs.emplace_back([&] {
        result.frame = renderReplayFrame(manager, frameSize, false,
            [&] { EXPECT_TRUE(replayAllStages(root, root, &result.drawObjects)); });
    });
    runJobsWithDeadline(jobs, std::chrono::seconds(120));
    return result;
}

} // namespace

TEST(RootDrawingBuffer, FourWritersReplayIntoOneFrameInBothForms)
{
    auto manager = softwareManager();
    ASSERT_TRUE(manager);
    std::vector<ReplayFrame> frames;
    for (const UGLOpenGLVersion version : { UGLOpenGLVersion_1_1, UGLOpenGLVersion_1_4 }) {
        SCOPED_TRACE(version);
        UGLRootDrawingBuffer root(8, 2048, version);
        // The children live across frames.
        for (int frameIndex = 0; frameIndex < 2; ++frameIndex) {
            ThreadedFrame threaded = renderWrittenByFourThreads(*manager, root);
            const ReplayFrame& frame = threaded.frame;
            for (quint64 writer = 0; writer < writerCount; ++writer) {
                for (quint64 stage = 0; stage < stageCount; ++stage) {
                    const auto [cx, cy] = writerCentre(writer, stage);
                    const QRgb expected = replayRgb(writerColor(writer, stage));
                    for (const double dx : { -14.0, 0.0, 14.0 })
                        EXPECT_TRUE(showsColourAt(frame, cx + dx, cy + dx, 0, expected));
                    EXPECT_TRUE(showsColourAt(frame, cx + 20, cy, 0, qRgb(0, 0, 0)));
                }
            }
            ASSERT_EQ(threaded.drawObjects.size(), writerCount * stageCount);
            QImage composed = frame.image();
            QPainter painter(&composed);
            for (const UFemGraphicCocoaDrawObject& object : threaded.drawObjects)
                object.draw(painter);
            painter.end();
            const auto [cx, cy] = writerCentre(2, 1);
            EXPECT_EQ(composed.pixel(int(96 + cx + 1), int(64 - cy + 1)), qRgb(255, 255, 255));
            EXPECT_NE(composed.pixel(int(96 + cx - 2), int(64 - cy - 2)), qRgb(255, 255, 255));
            frames.push_back(frame);
        }
    }
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0].pixels, frames[1].pixels);
    EXPECT_EQ(frames[0].pixels, frames[3].pixels);
}

namespace {

// A selection scene over two children, written before the read. Child 0: name 7, a square of
// side 20 at (0, 0); name 8, a square at (40, 0). Child 1: name 9, a square of side 10 at (5, 0)
// in front (z 10); then raw triangles: name 10 at z 0 and, after a name change inside a list
// begin, name 11 at z 5, both over (-40, 0).
void writeSelectionScene(UGLRootDrawingBuffer& root)
{
    root.resetBufferWithChildBufferCount(2);
    root.setDoesDrawForSelectMode(true);
    bool canceled = false;
    UGLDrawingBuffer& first = *root.drawingBufferAtIndex(0);
    UGLDrawingBuffer& second = *root.drawingBufferAtIndex(1);
    const _UGLColor colors[6] = { { 1, 0, 0, 1 }, { 1, 0, 0, 1 }, { 1, 0, 0, 1 }, { 1, 0, 0, 1 },
        { 1, 0, 0, 1 }, { 1, 0, 0, 1 } };
    const auto writeSquare
        = [&](UGLDrawingBuffer& buffer, quint64 name, double x, double z, double side) {
              buffer.setCurrentWriteObjectName(name, &canceled);
              const auto corners = squareTriangles(x, 0, z, side);
              buffer.writeDrawVertexArrayWithPolygonMode(
                  replayTriangles, corners.data(), colors, nullptr, 6, &canceled);
          };
    first.openWriteStageWithStageIdentifier(0, &canceled);
    writeSquare(first, 7, 0, 0, 20);
    writeSquare(first, 8, 40, 0, 20);
    first.closeCurrentWriteStage_isCanceled(&canceled);
    first.finishWriteBuffer_isCanceled(&canceled);

    second.openWriteStageWithStageIdentifier(0, &canceled);
    writeSquare(second, 9, 5, 10, 10);
    second.setCurrentWriteObjectName(10, &canceled);
    const auto writeRaw = [&](double z) {
        auto* cells = static_cast<_UGLDrawingBufferElement*>(
            second.writeBufferPtrWithElementCount(2 + 3 * 4 + 1, true, &canceled));
        cells[0].setUnsignedValue(UGLDrawingBufferCommandBegin);
        cells[1].setUnsignedValue(GL_TRIANGLES);
        const double corners[9] = { -50, -10, z, -30, -10, z, -40, 10, z };
        for (int vertex = 0; vertex < 3; ++vertex) {
            cells[2 + 4 * vertex].setUnsignedValue(UGLDrawingBufferCommandVertex);
            for (int axis = 0; axis < 3; ++axis)
                cells[3 + 4 * vertex + axis].setFloatValue(float(corners[3 * vertex + axis]));
        }
        cells[14].setUnsignedValue(UGLDrawingBufferCommandEnd);
    };
    writeRaw(0);
    second.setCurrentWriteObjectName(11, &canceled);
    writeRaw(5);
    second.closeCurrentWriteStage_isCanceled(&canceled);
    second.finishWriteBuffer_isCanceled(&canceled);
    ASSERT_FALSE(canceled);
}

// The hits of a 4 x 4 point pick region centred on the model point (x, y).
std::vector<UGLSelectionHit> pick(
    UOpenGLManager& manager, UGLRootDrawingBuffer& root, double x, double y, ReplayFrame* frame)
{
    writeSelectionScene(root);
    manager.setRestrictiveDrawRect(
        QRectF(frameSize.width() / 2 + x - 2, frameSize.height() / 2 + y - 2, 4, 4));
    UGLSelectionBuffer selection;
    std::vector<UGLSelectionHit> hits;
    bool didOverflow = true;
    *frame = renderReplayFrame(manager, frameSize, false, [&] {
        hits = selection.selectHits(
            [&] {
                std::vector<UFemGraphicCocoaDrawObject> objects;
                EXPECT_TRUE(replayAllStages(root, root, &objects));
            },
            false, &didOverflow);
    });
    manager.clearRestrictiveDrawRect();
    EXPECT_FALSE(didOverflow);
    return hits;
}

std::vector<quint32> hitNames(const std::vector<UGLSelectionHit>& hits)
{
    std::vector<quint32> names;
    for (const UGLSelectionHit& hit : hits) {
        EXPECT_EQ(hit.names.size(), 1u);
        names.insert(names.end(), hit.names.begin(), hit.names.end());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The selection depth of a flat primitive at height z seen from the pick region's frame.
void expectDepth(const ReplayFrame& frame, const UGLSelectionHit& hit, double z)
{
    const double expected = frame.project(0, 0, z)[2] * 4294967295.0;
    EXPECT_NEAR(double(hit.minimumDepth), expected, 4.3e4) << hit.names[0];
    EXPECT_NEAR(double(hit.maximumDepth), expected, 4.3e4) << hit.names[0];
}

const UGLSelectionHit& hitNamed(const std::vector<UGLSelectionHit>& hits, quint32 name)
{
    return *std::find_if(hits.begin(), hits.end(),
        [name](const UGLSelectionHit& hit) { return hit.names == std::vector<quint32> { name }; });
}

} // namespace

TEST(RootDrawingBuffer, SelectionGivesTheNamesAndDepthsUnderAPickRegion)
{
    auto manager = softwareManager();
    ASSERT_TRUE(manager);
    for (const UGLOpenGLVersion version : { UGLOpenGLVersion_1_1, UGLOpenGLVersion_1_4 }) {
        SCOPED_TRACE(version);
        UGLRootDrawingBuffer root(version);
        ReplayFrame frame;
        const auto overlap = pick(*manager, root, 5, 0, &frame);
        ASSERT_EQ(hitNames(overlap), (std::vector<quint32> { 7, 9 }));
        expectDepth(frame, hitNamed(overlap, 7), 0);
        expectDepth(frame, hitNamed(overlap, 9), 10);
        EXPECT_LT(hitNamed(overlap, 9).minimumDepth, hitNamed(overlap, 7).minimumDepth);

        EXPECT_EQ(hitNames(pick(*manager, root, 40, 0, &frame)), (std::vector<quint32> { 8 }));
        // The name change closed the open list begin, so each triangle has its own name.
        const auto raw = pick(*manager, root, -40, 0, &frame);
        ASSERT_EQ(hitNames(raw), (std::vector<quint32> { 10, 11 }));
        expectDepth(frame, hitNamed(raw, 11), 5);
        EXPECT_TRUE(pick(*manager, root, 70, 40, &frame).empty());
    }
}

TEST(RootDrawingBuffer, SettingsReachEveryChildAndResetKeepsTheEdgeFlag)
{
    UGLRootDrawingBuffer root(4, 1024, UGLOpenGLVersion_1_1);
    EXPECT_EQ(root.bufferCount(), 4u);
    EXPECT_EQ(root.bufferElementCapacity(), 1024u);
    root.resetBufferWithChildBufferCount(2);
    root.setEdgeDrawingBufferEnabled(true);
    root.setDoesDrawForSelectMode(true);
    root.setReadLightingEnabled(true);
    for (quint64 index = 0; index < 2; ++index) {
        const UGLDrawingBuffer& child = *root.drawingBufferAtIndex(index);
        EXPECT_EQ(child.renderingOpenGLVersion(), UGLOpenGLVersion_1_1);
        EXPECT_EQ(child.bufferCount(), 4u);
        EXPECT_EQ(child.bufferElementCapacity(), 1024u);
        EXPECT_TRUE(child.isEdgeDrawingBufferEnabled() && child.doesDrawForSelectMode()
            && child.isReadLightingEnabled());
    }
    EXPECT_EQ(root.drawingBufferAtIndex(2), nullptr);
    // Children made or taken up again by a later reset draw edges as the root says.
    root.resetBufferWithChildBufferCount(1);
    root.setEdgeDrawingBufferEnabled(false);
    root.resetBufferWithChildBufferCount(4);
    EXPECT_FALSE(root.isEdgeDrawingBufferEnabled());
    EXPECT_FALSE(root.doesDrawForSelectMode() || root.isReadLightingEnabled());
    for (quint64 index = 0; index < 4; ++index) {
        const UGLDrawingBuffer& child = *root.drawingBufferAtIndex(index);
        EXPECT_FALSE(child.isEdgeDrawingBufferEnabled()) << index;
        EXPECT_FALSE(child.doesDrawForSelectMode() || child.isReadLightingEnabled()) << index;
    }
    root.setEdgeDrawingBufferEnabled(true);
    root.resetBufferWithChildBufferCount(3);
    EXPECT_TRUE(root.isEdgeDrawingBufferEnabled());
    EXPECT_TRUE(root.drawingBufferAtIndex(2)->isEdgeDrawingBufferEnabled());
}

TEST(RootDrawingBuffer, DrawObjectsOfOneChildReturningWhenEmptyAndCancel)
{
    UGLRootDrawingBuffer root(4, 1024, UGLOpenGLVersion_1_4);
    root.resetBufferWithChildBufferCount(2);
    bool canceled = false;
    for (quint64 index = 0; index < 2; ++index) {
        UGLDrawingBuffer& child = *root.drawingBufferAtIndex(index);
        child.openWriteStageWithStageIdentifier(0, &canceled);
        if (index == 1)
            child.writeCocoaDrawingObjectWithArray(
                { UFemGraphicCocoaDrawObject::cocoaDrawObjectWithDrawObject(
                    markerImage(), QPointF(3, 4)) },
                &canceled);
    }
    std::vector<UFemGraphicCocoaDrawObject> objects;
    EXPECT_TRUE(root.getCocoaDrawingObjectsToCocoaDrawObjectArray(&objects, 0, &canceled));
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0].drawPoint(), QPointF(3, 4));
    EXPECT_FALSE(root.getCocoaDrawingObjectsToCocoaDrawObjectArray(&objects, 0, &canceled));

    // The stage is open on both writers but no block has been handed over.
    EXPECT_EQ(root.nextReadStageIdentifier_returnsWhenUnknown(nullptr, &canceled), 0u);
    ASSERT_TRUE(root.openReadStageWithStageIdentifier(0, &canceled));
    bool isEmpty = false;
    EXPECT_FALSE(root.drawOpenGLUntilNextStage_returnsWhenEmpty(&isEmpty, &objects, &canceled));
    EXPECT_TRUE(isEmpty);
    EXPECT_FALSE(canceled);

    root.requestCancel();
    isEmpty = false;
    EXPECT_FALSE(root.drawOpenGLUntilNextStage_returnsWhenEmpty(&isEmpty, &objects, &canceled));
    EXPECT_TRUE(canceled);
    canceled = false;
    EXPECT_FALSE(root.getCocoaDrawingObjectsToCocoaDrawObjectArray(&objects, 0, &canceled));
    EXPECT_TRUE(canceled);
}
