#include "RunJobsWithDeadline.h"
#include "graphics/drawingbuffer/UGLDrawingBuffer.h"

#include "foundation/buffers/URootReadWriteBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <numeric>
#include <random>
#include <string>
#include <thread>

namespace {

constexpr quint64 none = ~quint64(0);
constexpr quint64 triangles = 4;
constexpr quint64 writerCount = 4;
constexpr quint64 stageCount = 6;

// Small blocks so that the writers change blocks often and wait for the reader.
class TestRootDrawingBuffer final : public URootReadWriteBuffer {
public:
    TestRootDrawingBuffer()
        : URootReadWriteBuffer(sizeof(_UGLDrawingBufferElement), 4, 512)
    {
    }

protected:
    std::unique_ptr<UReadWriteBuffer> newChildBuffer() override
    {
        auto child = std::make_unique<UGLDrawingBuffer>(4, 512, UGLOpenGLVersion_1_4);
        child->setEdgeDrawingBufferEnabled(true);
        return child;
    }
};

quint64 objectName(quint64 writer, quint64 stage)
{
    return 100 * writer + stage;
}

// Every vertex carries its writer, stage and place in the writer's stream: x = sequence,
// y = writer, z = stage. Each stage also writes one edge line per batch and one draw object.
void runWriter(UGLDrawingBuffer& buffer, quint64 writer, unsigned seed, quint64 trianglesPerStage)
{
    std::mt19937 random(seed);
    bool canceled = false;
    quint32 sequence = 0;
    std::vector<double> vertices;
    std::vector<double> normals;
    std::vector<_UGLColor> colors;
    std::vector<quint64> indexes;
    const _UGLColor edgeColor { double(writer) / 4, 0, 0, 1 };
    for (quint64 stage = 0; stage < stageCount; ++stage) {
        buffer.openWriteStageWithStageIdentifier(stage, &canceled);
        buffer.setCurrentWriteObjectName(objectName(writer, stage), &canceled);
        buffer.setCurrentWriteEdgeColor(&edgeColor, &canceled);
        for (quint64 written = 0; written < trianglesPerStage;) {
            const quint64 batch = std::min<quint64>(1 + random() % 12, trianglesPerStage - written);
            vertices.clear();
            for (quint64 vertex = 0; vertex < 3 * batch; ++vertex)
                vertices.insert(
                    vertices.end(), { double(sequence++), double(writer), double(stage) });
            normals.assign(vertices.size(), 0.5);
            colors.assign(3 * batch, _UGLColor { 1, 1, 1, 1 });
            // Odd batches go through the index table, as one growing command 10.
            if (batch % 2 == 0) {
                buffer.writeDrawVertexArrayWithPolygonMode(triangles, vertices.data(),
                    colors.data(), normals.data(), 3 * batch, &canceled);
            } else {
                indexes.resize(3 * batch);
                std::iota(indexes.begin(), indexes.end(), quint64(0));
                buffer.writeDrawVertexArrayByIndexArrayWithPolygonMode(triangles, indexes.data(),
                    indexes.size(), vertices.data(), colors.data(), normals.data(), 3 * batch,
                    &canceled);
            }
            buffer.writeEdgeLineWithEdgeQuadVertexTable(vertices.data(), 1, &canceled);
            written += batch;
        }
        buffer.writeCocoaDrawingObjectWithArray(
            { UFemGraphicCocoaDrawObject::cocoaDrawObjectWithDrawObject(
                UFemGraphicCocoaDrawObject::Text { QString::number(writer), {}, {} },
                QPointF(double(writer), double(stage))) },
            &canceled);
        buffer.closeCurrentWriteStage_isCanceled(&canceled);
    }
    buffer.finishWriteBuffer_isCanceled(&canceled);
    EXPECT_FALSE(canceled);
}

struct ReadResult {
    std::vector<quint32> nextSequence = std::vector<quint32>(writerCount, 0);
    std::vector<quint64> edgeVertexCount = std::vector<quint64>(writerCount, 0);
    quint64 drawObjectCount = 0;
    std::string firstFault;
    void fault(const std::string& text)
    {
        if (firstFault.empty())
            firstFault = text;
    }
};

// Walks one block: it must start with the object name of its writer and stage (written or
// repeated), and every vertex must come in its writer's order.
// Identity indices written call by call and shifted by the command's earlier vertices come out
// as 0, 1, 2 ... over the whole command.
bool areIndexesIdentity(const _UGLDrawingBufferElement* header, const quint32* indexTable)
{
    const quint32 start = header[UGLVertexArrayHeaderIndexStart].unsignedValue();
    const quint32 count = header[UGLVertexArrayHeaderIndexCount].unsignedValue();
    if (count != header[UGLVertexArrayHeaderVertexCount].unsignedValue())
        return false;
    for (quint32 entry = 0; entry < count; ++entry) {
        if (indexTable[start + entry] != entry)
            return false;
    }
    return true;
}

void checkBlock(const _UGLDrawingBufferElement* cell, const _UGLDrawingBufferElement* end,
    const quint32* indexTable, quint64 writer, quint64 stage, ReadResult& result)
{
    if (cell == end || cell[0].unsignedValue() != 6
        || cell[1].unsignedValue() != objectName(writer, stage))
        return result.fault("block without its object name");
    cell += 2;
    while (cell < end) {
        const quint32 command = cell[0].unsignedValue();
        if (command != UGLDrawingBufferCommandVertexArray
            && command != UGLDrawingBufferCommandIndexedVertexArray)
            return result.fault("unexpected command " + std::to_string(command));
        if (command == UGLDrawingBufferCommandIndexedVertexArray
            && !areIndexesIdentity(cell, indexTable))
            return result.fault("index table out of place in stage " + std::to_string(stage));
        const quint64 stride = UGLVertexRecordStride(cell[2].flagValue(), cell[3].flagValue());
        const quint32 count = cell[UGLVertexArrayHeaderVertexCount].unsignedValue();
        cell += UGLVertexArrayHeaderCellCount;
        for (quint32 vertex = 0; vertex < count; ++vertex, cell += stride) {
            if (cell[0].floatValue() != float(result.nextSequence[writer]++)
                || cell[1].floatValue() != float(writer) || cell[2].floatValue() != float(stage)
                || stride != 10)
                return result.fault("vertex out of place in stage " + std::to_string(stage));
        }
    }
}

void countEdges(
    const UGLDrawingBuffer& child, quint64 bufferIndex, quint64 writer, ReadResult& result)
{
    const _UGLDrawingBufferElement* cell = nullptr;
    const _UGLDrawingBufferElement* end = nullptr;
    if (!child.getEdgeDrawingBufferStartPtr(&cell, &end, bufferIndex))
        return;
    if (cell[0].unsignedValue() != UGLDrawingBufferCommandEdgeColor
        || cell[1].floatValue() != float(writer) / 4)
        return result.fault("edge buffer without its colour");
    for (cell += 5; cell < end;) {
        const quint32 count = cell[1].unsignedValue();
        result.edgeVertexCount[writer] += count;
        cell += 2 + 3 * count;
    }
}

void runReader(URootReadWriteBuffer& root, ReadResult& result)
{
    UReadWriteBuffer* children[writerCount] = {};
    root.getChildBufferTable(children);
    bool canceled = false;
    for (;;) {
        const quint64 stage = root.nextReadStageIdentifier_returnsWhenUnknown(nullptr, &canceled);
        if (stage == none || canceled)
            break;
        if (!root.openReadStageWithStageIdentifier(stage, &canceled))
            return result.fault("stage not opened");
        for (;;) {
            const void* start = nullptr;
            const void* end = nullptr;
            UReadWriteBuffer* child = nullptr;
            quint64 bufferIndex = none;
            if (root.getNextReadBufferStartPtr(
                    &start, &end, &child, &bufferIndex, nullptr, &canceled)
                || canceled)
                break;
            const quint64 writer
                = quint64(std::find(children, children + writerCount, child) - children);
            auto& drawingChild = static_cast<UGLDrawingBuffer&>(*child);
            checkBlock(static_cast<const _UGLDrawingBufferElement*>(start),
                static_cast<const _UGLDrawingBufferElement*>(end),
                drawingChild.vertexIndexTableWithBufferIndex(bufferIndex), writer, stage, result);
            countEdges(drawingChild, bufferIndex, writer, result);
        }
        std::vector<UFemGraphicCocoaDrawObject> objects;
        for (UReadWriteBuffer* child : children)
            static_cast<UGLDrawingBuffer*>(child)->getCocoaDrawingObjectsToCocoaDrawObjectArray(
                &objects, stage, &canceled);
        for (const UFemGraphicCocoaDrawObject& object : objects) {
            if (object.drawPoint().y() != double(stage))
                result.fault("draw object of another stage");
        }
        result.drawObjectCount += objects.size();
        root.closeCurrentReadStage_isCanceled(&canceled);
    }
    if (canceled)
        result.fault("canceled");
}

} // namespace

TEST(DrawingBufferThreads, FourWritersAndOneReaderKeepEveryStreamIntact)
{
    TestRootDrawingBuffer root;
    for (int frame = 0; frame < 3; ++frame) {
        SCOPED_TRACE(frame);
        ASSERT_EQ(root.resetBufferWithChildBufferCount(writerCount), writerCount);
        const quint64 trianglesPerStage = 40 + 60 * quint64(frame);
        ReadResult result;
        std::vector<std::function<void()>> jobs;
        for (quint64 writer = 0; writer < writerCount; ++writer) {
            auto* child = static_cast<UGLDrawingBuffer*>(root.childBufferAtIndex(writer));
            jobs.emplace_back([child, writer, frame, trianglesPerStage] {
                runWriter(*child, writer, unsigned(17 * frame + writer), trianglesPerStage);
            });
        }
        jobs.emplace_back([&] { runReader(root, result); });
        runJobsWithDeadline(jobs, std::chrono::seconds(120));
        EXPECT_EQ(result.firstFault, "");
        for (quint64 writer = 0; writer < writerCount; ++writer) {
            EXPECT_EQ(result.nextSequence[writer], 3 * trianglesPerStage * stageCount) << writer;
            EXPECT_GT(result.edgeVertexCount[writer], 0u);
        }
        EXPECT_EQ(result.drawObjectCount, writerCount * stageCount);
    }
}

TEST(DrawingBufferThreads, CancelWakesABlockedWriterAndStopsItsDrawing)
{
    UGLDrawingBuffer buffer(3, 256, UGLOpenGLVersion_1_1);
    std::atomic<bool> started { false };
    bool writerCanceled = false;
    quint64 callsAfterCancel = 0;
    std::thread writer([&] {
        const double vertices[9] = {};
        buffer.openWriteStageWithStageIdentifier(0, &writerCanceled);
        started = true;
        // Nobody reads: the writer fills the ring and waits until the cancel wakes it.
        while (!writerCanceled)
            buffer.writeDrawVertexArrayWithPolygonMode(
                triangles, vertices, nullptr, nullptr, 3, &writerCanceled);
        bool canceled = false;
        const _UGLColor color { 1, 0, 0, 1 };
        buffer.setCurrentWriteObjectColor(&color, &canceled);
        callsAfterCancel += canceled;
        canceled = false;
        buffer.closeCurrentWriteStage_isCanceled(&canceled);
        callsAfterCancel += canceled;
    });
    while (!started)
        std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    buffer.requestCancel();
    writer.join();
    EXPECT_TRUE(writerCanceled);
    EXPECT_EQ(callsAfterCancel, 2u);
    EXPECT_TRUE(buffer.isCanceled());
    // A reset makes the buffer usable for the next frame.
    buffer.resetBuffer();
    EXPECT_FALSE(buffer.isCanceled());
}
