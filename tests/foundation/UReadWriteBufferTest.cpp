#include "foundation/buffers/UReadWriteBuffer.h"
#include "foundation/UFemNotFound.h"
#include "foundation/buffers/URootReadWriteBuffer.h"
#include "foundation/errors/UException.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

void expectProgramError(const std::function<void()>& call, const QString& reason)
{
    try {
        call();
        ADD_FAILURE() << "no program error";
    } catch (const UException& exception) {
        EXPECT_EQ(exception.name(), "Program Error.");
        EXPECT_EQ(exception.reason(), reason);
    }
}

void writeStage(UReadWriteBufferWriting& writer, quint64 stage, quint64 elementCount)
{
    bool canceled = false;
    writer.openWriteStageWithStageIdentifier(stage, &canceled);
    for (quint64 index = 0; index < elementCount; ++index) {
        auto* element
            = static_cast<quint32*>(writer.writeBufferPtrWithElementCount(1, true, &canceled));
        *element = quint32(stage * 1000 + index);
    }
    writer.closeCurrentWriteStage_isCanceled(&canceled);
    EXPECT_FALSE(canceled);
}

// Reads the open stage to its end; answers the elements and the number of buffers handed out.
std::pair<std::vector<quint32>, int> readStage(UReadWriteBufferReading& reader)
{
    std::vector<quint32> elements;
    int bufferCount = 0;
    bool canceled = false;
    const void* start = nullptr;
    const void* end = nullptr;
    while (!reader.getNextReadBufferStartPtr(&start, &end, nullptr, &canceled)) {
        ++bufferCount;
        for (auto* element = static_cast<const quint32*>(start); element != end; ++element)
            elements.push_back(*element);
    }
    EXPECT_EQ(start, nullptr);
    reader.closeCurrentReadStage_isCanceled(&canceled);
    EXPECT_FALSE(canceled);
    return { elements, bufferCount };
}

} // namespace

TEST(ReadWriteBuffer, StageWords)
{
    EXPECT_EQ(UReadWriteBufferStageOfWord(0), UFemNotFound);
    EXPECT_EQ(UReadWriteBufferStageOfWord(7), 3u);
    EXPECT_EQ(UReadWriteBufferStageOfWord(8), 3u);
    EXPECT_EQ(UReadWriteBufferOpenStageWord(3), 7u);
    EXPECT_EQ(UReadWriteBufferOpenStageWord((quint64(1) << 63) - 1), UFemNotFound);
    EXPECT_EQ(UReadWriteBufferStageOfWord(UReadWriteBufferEmptyStageWord), UFemNotFound);
}

TEST(ReadWriteBuffer, EmptyStageGivesOneEmptyBuffer)
{
    UReadWriteBuffer ring(4, 3, 8);
    writeStage(ring, 0, 0);
    bool canceled = false;
    EXPECT_EQ(ring.nextReadStageIdentifier_returnsWhenUnknown(nullptr, &canceled), 0u);
    ASSERT_TRUE(ring.openReadStageWithStageIdentifier(0, &canceled));
    const void* start = nullptr;
    const void* end = nullptr;
    UReadWriteBuffer* child = nullptr;
    quint64 index = 7;
    EXPECT_FALSE(ring.getNextReadBufferStartPtr(&start, &end, &child, &index, nullptr, &canceled));
    EXPECT_NE(start, nullptr);
    EXPECT_EQ(start, end);
    EXPECT_EQ(child, &ring);
    EXPECT_EQ(index, 0u);
    EXPECT_TRUE(ring.getNextReadBufferStartPtr(&start, &end, &child, &index, nullptr, &canceled));
    EXPECT_EQ(child, nullptr);
    EXPECT_EQ(index, UFemNotFound);
    // Stays over until closed.
    EXPECT_TRUE(ring.getNextReadBufferStartPtr(&start, &end, nullptr, &canceled));
    EXPECT_FALSE(canceled);
}

TEST(ReadWriteBuffer, StagesAcrossBuffersAndTheFinish)
{
    UReadWriteBuffer ring(4, 4, 2);
    writeStage(ring, 1, 3);
    bool canceled = false;
    ring.finishWriteBuffer_isCanceled(&canceled);
    EXPECT_EQ(ring.currentWriteBufferIndex(), UFemNotFound);

    EXPECT_EQ(ring.nextReadStageIdentifier_returnsWhenUnknown(nullptr, &canceled), 1u);
    EXPECT_FALSE(ring.openReadStageWithStageIdentifier(0, &canceled)); // stage 0 is empty here
    EXPECT_EQ(ring.currentReadStageIdentifier_isCanceled(&canceled), UFemNotFound);
    ASSERT_TRUE(ring.openReadStageWithStageIdentifier(1, &canceled));
    EXPECT_EQ(ring.currentReadStageIdentifier_isCanceled(&canceled), 1u);
    const auto [elements, bufferCount] = readStage(ring);
    EXPECT_EQ(elements, (std::vector<quint32> { 1000, 1001, 1002 }));
    EXPECT_EQ(bufferCount, 2);
    EXPECT_EQ(ring.nextReadStageIdentifier_returnsWhenUnknown(nullptr, &canceled), UFemNotFound);
    EXPECT_TRUE(ring.isReadBufferFinished_isCanceled(&canceled));
    EXPECT_FALSE(canceled);
}

TEST(ReadWriteBuffer, OpeningAStageBehindTheDataIsAProgramError)
{
    UReadWriteBuffer ring(4, 4, 4);
    writeStage(ring, 3, 1);
    bool canceled = false;
    EXPECT_FALSE(ring.openReadStageWithStageIdentifier(2, &canceled));
    EXPECT_TRUE(ring.openReadStageWithStageIdentifier(3, &canceled));
    readStage(ring);

    UReadWriteBuffer early(4, 4, 4);
    writeStage(early, 1, 1);
    expectProgramError([&] { early.openReadStageWithStageIdentifier(2, &canceled); },
        "Unexpected stageIdentifier. ( value: 5 )");
    EXPECT_FALSE(canceled);
}

TEST(ReadWriteBuffer, NoWaitFlagsAnswerAtOnce)
{
    UReadWriteBuffer ring(4, 3, 4);
    bool unknown = false;
    bool canceled = false;
    EXPECT_EQ(ring.nextReadStageIdentifier_returnsWhenUnknown(&unknown, &canceled), 0u);
    EXPECT_TRUE(unknown);

    ring.openWriteStageWithStageIdentifier(0, &canceled);
    unknown = false;
    EXPECT_EQ(ring.nextReadStageIdentifier_returnsWhenUnknown(&unknown, &canceled), 0u);
    EXPECT_FALSE(unknown);
    ASSERT_TRUE(ring.openReadStageWithStageIdentifier(0, &canceled));
    bool empty = false;
    const void* start = &ring;
    const void* end = &ring;
    EXPECT_FALSE(ring.getNextReadBufferStartPtr(&start, &end, &empty, &canceled));
    EXPECT_TRUE(empty);
    EXPECT_EQ(start, nullptr);
    EXPECT_EQ(ring.currentWriteBufferIndex(), 0u);
    EXPECT_EQ(ring.moveToNextWriteBuffer_isCanceled(&canceled), 1u);
    empty = false;
    EXPECT_FALSE(ring.getNextReadBufferStartPtr(&start, &end, &empty, &canceled));
    EXPECT_FALSE(empty);
    EXPECT_EQ(ring.currentReadBufferIndex(), 0u);
    EXPECT_FALSE(canceled);
}

TEST(ReadWriteBuffer, CapacityRules)
{
    UReadWriteBuffer ring(8, 3, 4);
    bool canceled = false;
    ring.openWriteStageWithStageIdentifier(0, &canceled);
    EXPECT_EQ(ring.currentWriteBufferSpaceElementCount_isCanceled(&canceled), 4u);
    char* first = static_cast<char*>(ring.writeBufferPtrWithElementCount(3, false, &canceled));
    ring.incrementWriteElementCount(3, &canceled);
    EXPECT_EQ(ring.currentWriteBufferSpaceElementCount_isCanceled(&canceled), 1u);
    // Two more do not fit: the writer moves to the next buffer.
    char* second = static_cast<char*>(ring.writeBufferPtrWithElementCount(2, true, &canceled));
    EXPECT_EQ(ring.currentWriteBufferIndex(), 1u);
    EXPECT_EQ(reinterpret_cast<quintptr>(first) % 4096, 0u);
    EXPECT_EQ(reinterpret_cast<quintptr>(second) % 4096, 0u);
    expectProgramError([&] { ring.incrementWriteElementCount(3, &canceled); },
        "ElementCount will be over bufferElementCapacity.");
    expectProgramError([&] { ring.writeBufferPtrWithElementCount(5, true, &canceled); },
        "ElementCount is bigger than bufferElementCapacity. (RWBuffer) ( value: 5 )");
    ring.requestCancel();
    expectProgramError([&] { ring.writeBufferPtrWithElementCount(5, true, &canceled); },
        "ElementCount is bigger than bufferElementCapacity. (RWBuffer) ( value: 5 )");
    EXPECT_FALSE(canceled);
}

TEST(ReadWriteBuffer, CanceledOperationsMarkAndAnswerNeutrally)
{
    UReadWriteBuffer ring(4, 3, 4);
    bool canceled = false;
    ring.openWriteStageWithStageIdentifier(2, &canceled);
    ring.requestCancel();
    EXPECT_TRUE(ring.isCanceled());
    EXPECT_EQ(ring.writeBufferPtrWithElementCount(1, true, &canceled), nullptr);
    EXPECT_TRUE(canceled);
    canceled = false;
    EXPECT_EQ(ring.moveToNextWriteBuffer_isCanceled(&canceled), UFemNotFound);
    EXPECT_TRUE(canceled);
    canceled = false;
    EXPECT_EQ(ring.currentWriteStageIdentifier_isCanceled(&canceled), 0u);
    EXPECT_TRUE(canceled);
    canceled = false;
    EXPECT_EQ(ring.nextReadStageIdentifier_returnsWhenUnknown(nullptr, &canceled), 0u);
    EXPECT_TRUE(canceled);
    canceled = false;
    EXPECT_FALSE(ring.openReadStageWithStageIdentifier(2, &canceled));
    EXPECT_TRUE(canceled);
    canceled = false;
    EXPECT_FALSE(ring.isReadBufferFinished_isCanceled(&canceled));
    EXPECT_TRUE(canceled);
    const void* start = &ring;
    const void* end = &ring;
    canceled = false;
    EXPECT_FALSE(ring.getNextReadBufferStartPtr(&start, &end, nullptr, &canceled));
    EXPECT_TRUE(canceled);
    EXPECT_EQ(start, nullptr);

    // A reset starts afresh.
    EXPECT_EQ(ring.resetBuffer(), 1u);
    EXPECT_FALSE(ring.isCanceled());
    writeStage(ring, 0, 2);
    canceled = false;
    ASSERT_TRUE(ring.openReadStageWithStageIdentifier(0, &canceled));
    EXPECT_EQ(readStage(ring).first, (std::vector<quint32> { 0, 1 }));
}

TEST(ReadWriteBuffer, RingIsItsOwnOnlyChild)
{
    UReadWriteBuffer ring(4, 3, 4);
    EXPECT_EQ(ring.childBufferCount(), 1u);
    EXPECT_EQ(ring.childBufferAtIndex(0), &ring);
    UReadWriteBuffer* table[4] = {};
    EXPECT_EQ(ring.getChildBufferTable(table), 1u);
    EXPECT_EQ(table[0], &ring);
    expectProgramError([&] { ring.childBufferAtIndex(1); }, "aChildBufferIndex is out of range.");
    EXPECT_THROW(UReadWriteBuffer(4, 2, 4), UException);
    EXPECT_THROW(UReadWriteBuffer(4, 33, 4), UException);
}

TEST(ReadWriteBuffer, RootAnswersTheSmallestNextStage)
{
    URootReadWriteBuffer root(4, 3, 4);
    bool canceled = false;
    EXPECT_EQ(root.resetBufferWithChildBufferCount(2), 2u);
    UReadWriteBuffer& finished = *root.childBufferAtIndex(0);
    UReadWriteBuffer& later = *root.childBufferAtIndex(1);
    finished.finishWriteBuffer_isCanceled(&canceled);
    bool unknown = false;
    EXPECT_EQ(root.nextReadStageIdentifier_returnsWhenUnknown(&unknown, &canceled), 0u);
    EXPECT_TRUE(unknown);
    writeStage(later, 2, 3);
    EXPECT_EQ(root.nextReadStageIdentifier_returnsWhenUnknown(nullptr, &canceled), 2u);
    EXPECT_FALSE(root.openReadStageWithStageIdentifier(1, &canceled));
    expectProgramError([&] { root.openReadStageWithStageIdentifier(3, &canceled); },
        "Unexpected stageIdentifier. ( value: 3 )");
    ASSERT_TRUE(root.openReadStageWithStageIdentifier(2, &canceled));
    EXPECT_EQ(readStage(root).first, (std::vector<quint32> { 2000, 2001, 2002 }));
    later.finishWriteBuffer_isCanceled(&canceled);
    EXPECT_EQ(root.nextReadStageIdentifier_returnsWhenUnknown(nullptr, &canceled), UFemNotFound);
    EXPECT_TRUE(root.isReadBufferFinished_isCanceled(&canceled));
    EXPECT_FALSE(canceled);
}

TEST(ReadWriteBuffer, RootChildrenAreMadeOnceAndKeptAcrossResets)
{
    URootReadWriteBuffer root(4, 3, 4);
    EXPECT_EQ(root.childBufferCount(), 0u);
    bool canceled = false;
    EXPECT_EQ(root.nextReadStageIdentifier_returnsWhenUnknown(nullptr, &canceled), UFemNotFound);
    root.resetBufferWithChildBufferCount(3);
    UReadWriteBuffer* table[4] = {};
    EXPECT_EQ(root.getChildBufferTable(table), 3u);
    root.resetBufferWithChildBufferCount(1);
    expectProgramError([&] { root.childBufferAtIndex(1); }, "aChildBufferIndex is out of range.");
    EXPECT_EQ(root.resetBuffer(), 1u);
    root.resetBufferWithChildBufferCount(4);
    EXPECT_EQ(root.childBufferAtIndex(2), table[2]);
    EXPECT_EQ(root.resetBufferWithChildBufferCount(9), 4u);
}

TEST(ReadWriteBuffer, RootReadsStagesAcrossChildrenInOrder)
{
    URootReadWriteBuffer root(4, 8, 2);
    root.resetBufferWithChildBufferCount(3);
    bool canceled = false;
    writeStage(*root.childBufferAtIndex(0), 0, 3);
    writeStage(*root.childBufferAtIndex(0), 2, 1);
    writeStage(*root.childBufferAtIndex(1), 1, 2);
    writeStage(*root.childBufferAtIndex(2), 0, 0);
    for (quint64 index = 0; index < 3; ++index)
        root.childBufferAtIndex(index)->finishWriteBuffer_isCanceled(&canceled);

    std::vector<std::pair<quint64, std::vector<quint32>>> stages;
    for (quint64 stage;
         (stage = root.nextReadStageIdentifier_returnsWhenUnknown(nullptr, &canceled))
         != UFemNotFound;) {
        ASSERT_TRUE(root.openReadStageWithStageIdentifier(stage, &canceled));
        stages.emplace_back(stage, readStage(root).first);
    }
    using Stages = std::vector<std::pair<quint64, std::vector<quint32>>>;
    EXPECT_EQ(stages, (Stages { { 0, { 0, 1, 2 } }, { 1, { 1000, 1001 } }, { 2, { 2000 } } }));
    EXPECT_FALSE(canceled);
}

TEST(ReadWriteBuffer, RootCancelReachesItsChildren)
{
    URootReadWriteBuffer root(4, 3, 4);
    root.resetBufferWithChildBufferCount(2);
    root.requestCancel();
    EXPECT_TRUE(root.childBufferAtIndex(0)->isCanceled());
    EXPECT_TRUE(root.childBufferAtIndex(1)->isCanceled());
    bool canceled = false;
    EXPECT_EQ(root.nextReadStageIdentifier_returnsWhenUnknown(nullptr, &canceled), 0u);
    EXPECT_TRUE(canceled);
    canceled = false;
    EXPECT_FALSE(root.isReadBufferFinished_isCanceled(&canceled));
    EXPECT_TRUE(canceled);
    root.resetBuffer();
    EXPECT_FALSE(root.isCanceled());
    EXPECT_FALSE(root.childBufferAtIndex(1)->isCanceled());
}
