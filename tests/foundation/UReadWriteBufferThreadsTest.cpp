#include "RunJobsWithDeadline.h"
#include "foundation/UFemNotFound.h"
#include "foundation/buffers/UReadWriteBuffer.h"
#include "foundation/buffers/URootReadWriteBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <random>
#include <set>
#include <thread>

namespace {

// Every element names its writer, its stage and its place in the writer's stream, so that the
// reader can check each byte it gets and the order it gets them in.
struct Element {
    quint16 writer;
    quint16 stage;
    quint32 sequence;
};
static_assert(sizeof(Element) == 8);

struct WriterPlan {
    std::vector<std::pair<quint64, quint64>> stages; // identifier, element count
    unsigned seed;
    quint64 elementCount() const
    {
        quint64 total = 0;
        for (const auto& stage : stages)
            total += stage.second;
        return total;
    }
};

WriterPlan makePlan(std::mt19937& random, quint64 capacity)
{
    WriterPlan plan;
    plan.seed = unsigned(random());
    quint64 stage = random() % 3;
    const quint64 stageCount = 1 + random() % 12;
    for (quint64 index = 0; index < stageCount; ++index) {
        const quint64 count = random() % 4 == 0 ? 0 : random() % (4 * capacity + 3);
        plan.stages.emplace_back(stage, count);
        stage += 1 + random() % 3;
    }
    return plan;
}

void runWriter(
    UReadWriteBufferWriting& writer, quint16 writerIndex, const WriterPlan& plan, quint64 capacity)
{
    std::mt19937 random(plan.seed);
    bool canceled = false;
    quint32 sequence = 0;
    for (const auto& [stage, count] : plan.stages) {
        writer.openWriteStageWithStageIdentifier(stage, &canceled);
        for (quint64 written = 0; written < count;) {
            const quint64 chunk = 1 + random() % std::min(capacity, count - written);
            const bool doesIncrement = random() % 2 == 0;
            auto* elements = static_cast<Element*>(
                writer.writeBufferPtrWithElementCount(chunk, doesIncrement, &canceled));
            for (quint64 index = 0; index < chunk; ++index)
                elements[index] = { writerIndex, quint16(stage), sequence++ };
            if (!doesIncrement)
                writer.incrementWriteElementCount(chunk, &canceled);
            written += chunk;
            if (random() % 8 == 0)
                writer.moveToNextWriteBuffer_isCanceled(&canceled);
        }
        writer.closeCurrentWriteStage_isCanceled(&canceled);
    }
    writer.finishWriteBuffer_isCanceled(&canceled);
    EXPECT_FALSE(canceled);
}

struct ReadResult {
    std::vector<quint64> stages;
    std::vector<quint32> nextSequence = std::vector<quint32>(4, 0);
    std::string firstFault;
    void fault(const std::string& text)
    {
        if (firstFault.empty())
            firstFault = text;
    }
};

// Reads everything, sometimes without waiting (then it retries), and checks every element.
void runReader(UReadWriteBufferReading& reader, unsigned seed, ReadResult& result)
{
    std::mt19937 random(seed);
    UReadWriteBuffer* children[4] = {};
    const quint64 childCount = reader.getChildBufferTable(children);
    bool canceled = false;
    for (;;) {
        bool unknown = false;
        const quint64 stage = reader.nextReadStageIdentifier_returnsWhenUnknown(
            random() % 2 ? &unknown : nullptr, &canceled);
        if (unknown) {
            std::this_thread::yield();
            continue;
        }
        if (stage == UFemNotFound)
            break;
        if (!reader.openReadStageWithStageIdentifier(stage, &canceled))
            return result.fault("stage not opened");
        result.stages.push_back(stage);
        for (;;) {
            const void* start = nullptr;
            const void* end = nullptr;
            UReadWriteBuffer* child = nullptr;
            quint64 bufferIndex = UFemNotFound;
            bool empty = false;
            const bool isOver = reader.getNextReadBufferStartPtr(
                &start, &end, &child, &bufferIndex, random() % 2 ? &empty : nullptr, &canceled);
            if (empty) {
                std::this_thread::yield();
                continue;
            }
            if (isOver)
                break;
            const quint16 writer
                = quint16(std::find(children, children + childCount, child) - children);
            if (writer >= childCount || bufferIndex >= child->bufferCount())
                return result.fault("buffer of no child");
            for (auto* element = static_cast<const Element*>(start); element != end; ++element) {
                if (element->writer != writer || element->stage != stage
                    || element->sequence != result.nextSequence[writer]++)
                    return result.fault("element out of place in stage " + std::to_string(stage));
            }
        }
        reader.closeCurrentReadStage_isCanceled(&canceled);
    }
    if (canceled)
        result.fault("canceled");
}

void expectEverythingRead(const std::vector<WriterPlan>& plans, const ReadResult& result)
{
    EXPECT_EQ(result.firstFault, "");
    std::set<quint64> stages;
    for (quint64 writer = 0; writer < plans.size(); ++writer) {
        EXPECT_EQ(result.nextSequence[writer], plans[writer].elementCount()) << writer;
        for (const auto& stage : plans[writer].stages)
            stages.insert(stage.first);
    }
    EXPECT_EQ(result.stages, std::vector<quint64>(stages.begin(), stages.end()));
}

// Writes stage `stage` until the buffer is canceled; answers whether the cancel reached it.
bool writeUntilCanceled(UReadWriteBufferWriting& writer, quint64 stage, quint64 capacity)
{
    bool canceled = false;
    writer.openWriteStageWithStageIdentifier(stage, &canceled);
    while (!canceled)
        writer.writeBufferPtrWithElementCount(capacity, true, &canceled);
    return canceled;
}

} // namespace

TEST(ReadWriteBufferThreads, OneRingDeliversEveryElementInOrder)
{
    std::mt19937 random(7);
    for (int trial = 0; trial < 40; ++trial) {
        SCOPED_TRACE(trial);
        const quint64 bufferCount = 3 + random() % 30;
        const quint64 capacity = 1 + random() % 16;
        UReadWriteBuffer ring(sizeof(Element), bufferCount, capacity);
        const std::vector<WriterPlan> plans { makePlan(random, capacity) };
        ReadResult result;
        const unsigned readerSeed = unsigned(random());
        runJobsWithDeadline({ [&] { runWriter(ring, 0, plans[0], capacity); },
            [&] { runReader(ring, readerSeed, result); } });
        expectEverythingRead(plans, result);
    }
}

TEST(ReadWriteBufferThreads, RootMergesOneToFourWriters)
{
    std::mt19937 random(11);
    for (int configuration = 0; configuration < 10; ++configuration) {
        const quint64 bufferCount = 3 + random() % 30;
        const quint64 capacity = 1 + random() % 16;
        URootReadWriteBuffer root(sizeof(Element), bufferCount, capacity);
        // The same root serves every writer count in turn, so resets reuse its children.
        for (quint64 writerCount = 1; writerCount <= 4; ++writerCount) {
            SCOPED_TRACE(testing::Message() << configuration << " " << writerCount);
            ASSERT_EQ(root.resetBufferWithChildBufferCount(writerCount), writerCount);
            std::vector<WriterPlan> plans;
            std::vector<std::function<void()>> jobs;
            for (quint64 writer = 0; writer < writerCount; ++writer)
                plans.push_back(makePlan(random, capacity));
            for (quint64 writer = 0; writer < writerCount; ++writer) {
                jobs.push_back([&, writer] {
                    runWriter(
                        *root.childBufferAtIndex(writer), quint16(writer), plans[writer], capacity);
                });
            }
            ReadResult result;
            const unsigned readerSeed = unsigned(random());
            jobs.push_back([&] { runReader(root, readerSeed, result); });
            runJobsWithDeadline(jobs);
            expectEverythingRead(plans, result);
        }
    }
}

TEST(ReadWriteBufferThreads, CancelFromTheReaderWakesTheWriter)
{
    UReadWriteBuffer ring(sizeof(Element), 3, 4);
    std::atomic<bool> writerSawCancel { false };
    runJobsWithDeadline({ [&] { writerSawCancel = writeUntilCanceled(ring, 0, 4); },
        [&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            ring.requestCancel();
        } });
    EXPECT_TRUE(writerSawCancel);
}

TEST(ReadWriteBufferThreads, CancelFromTheWriterWakesTheReader)
{
    for (const bool hasOpenedStage : { false, true }) {
        UReadWriteBuffer ring(sizeof(Element), 3, 4);
        bool canceled = false;
        if (hasOpenedStage)
            ring.openWriteStageWithStageIdentifier(0, &canceled);
        std::atomic<bool> readerSawCancel { false };
        runJobsWithDeadline({ [&] {
                                 bool readerCanceled = false;
                                 // Waits for a stage, or for a buffer of the open stage.
                                 if (ring.openReadStageWithStageIdentifier(0, &readerCanceled)) {
                                     const void* start = nullptr;
                                     const void* end = nullptr;
                                     ring.getNextReadBufferStartPtr(
                                         &start, &end, nullptr, &readerCanceled);
                                 }
                                 readerSawCancel = readerCanceled;
                             },
            [&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
                ring.requestCancel();
            } });
        EXPECT_TRUE(readerSawCancel) << hasOpenedStage;
    }
}

TEST(ReadWriteBufferThreads, RootCancelFromTheReaderWakesEveryWriter)
{
    URootReadWriteBuffer root(sizeof(Element), 3, 4);
    root.resetBufferWithChildBufferCount(4);
    std::atomic<int> writersSawCancel { 0 };
    std::vector<std::function<void()>> jobs;
    for (quint64 writer = 0; writer < 4; ++writer) {
        jobs.push_back([&, writer] {
            if (writeUntilCanceled(*root.childBufferAtIndex(writer), 0, 4))
                ++writersSawCancel;
        });
    }
    jobs.push_back([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        root.requestCancel();
    });
    runJobsWithDeadline(jobs);
    EXPECT_EQ(writersSawCancel, 4);
}

TEST(ReadWriteBufferThreads, RootCancelFromAWriterWakesTheReaderAndTheOtherWriters)
{
    URootReadWriteBuffer root(sizeof(Element), 3, 4);
    root.resetBufferWithChildBufferCount(4);
    std::atomic<int> wokenUp { 0 };
    std::vector<std::function<void()>> jobs;
    // Writer 0 keeps stage 0 open without data, so the reader polls it; the others fill stage 1,
    // which the reader does not take yet, and wait for room.
    jobs.push_back([&] {
        bool canceled = false;
        root.childBufferAtIndex(0)->openWriteStageWithStageIdentifier(0, &canceled);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        root.requestCancel();
    });
    for (quint64 writer = 1; writer < 4; ++writer) {
        jobs.push_back([&, writer] {
            if (writeUntilCanceled(*root.childBufferAtIndex(writer), 1, 4))
                ++wokenUp;
        });
    }
    jobs.push_back([&] {
        bool canceled = false;
        if (root.openReadStageWithStageIdentifier(0, &canceled)) {
            const void* start = nullptr;
            const void* end = nullptr;
            while (!canceled && !root.getNextReadBufferStartPtr(&start, &end, nullptr, &canceled)) {
            }
        }
        if (canceled)
            ++wokenUp;
    });
    runJobsWithDeadline(jobs);
    EXPECT_EQ(wokenUp, 4);
}
