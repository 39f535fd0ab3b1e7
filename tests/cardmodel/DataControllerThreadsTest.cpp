#include "DataControllerStandIns.h"
#include "FakeCardClasses.h"

#include "foundation/threads/UThreadContext.h"
#include "foundation/threads/UThreadTaskContext.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

using namespace fakecards;

namespace {

// A value-range stand-in that reads the model's cards on a worker until it is cancelled.
class CardReadingTask : public UThreadTaskContext {
public:
    explicit CardReadingTask(UFemDataController& dataController)
        : dataController_(dataController)
    {
    }
    ~CardReadingTask() override { cancelAndWaitQuitIfNotFinished(); }

    quint64 specifiedThreadCount() const override { return 1; }
    bool doThreadMainTaskWithThreadContext(UThreadContext&) override
    {
        isReading.store(true);
        while (!cancelFlag()) {
            const quint64 count = dataController_.numberOfCards();
            for (quint64 row = 0; row < count; ++row) {
                if (dataController_.cardAtRowIndex(row)->cardIdentifierNumber() < count)
                    cardsSeen.fetch_add(1);
            }
        }
        return false;
    }
    bool start()
    {
        {
            std::lock_guard guard(*this);
            _setThreadState_whileLocked(UThreadTaskStateReadyToRun);
        }
        return startThreadIfNeeded_isCanceled(nullptr);
    }

    std::atomic<bool> isReading { false };
    std::atomic<quint64> cardsSeen { 0 };

private:
    UFemDataController& dataController_;
};

} // namespace

TEST(DataControllerThreads, EveryChangeStopsTheValueRangeTasksFirstAndClearsThemAfter)
{
    installFakeCardClassesIntoSharedRegistry();
    CardReadingTask* force = nullptr;
    CardReadingTask* displacement = nullptr;
    UFemDataControllerServices services;
    services.makeForceValueRangeCalcThreadTaskContext = [&force](UFemDataController& controller) {
        auto task = std::make_unique<CardReadingTask>(controller);
        force = task.get();
        return task;
    };
    services.makeDisplacementValueRangeCalcThreadTaskContext
        = [&displacement](UFemDataController& controller) {
              auto task = std::make_unique<CardReadingTask>(controller);
              displacement = task.get();
              return task;
          };
    UFemDataController controller(services);
    ASSERT_TRUE(controller.resetWithModelText(
        QStringLiteral("Node , N1 ,  , 1 , 2 , 3 ,\n\\ c\n"), false, nullptr));

    for (int round = 0; round < 5; ++round) {
        ASSERT_TRUE(force->start());
        ASSERT_TRUE(displacement->start());
        while (!force->isReading.load() || !displacement->isReading.load())
            std::this_thread::yield();
        // The workers read while the model changes only if the change does not wait for them.
        ASSERT_EQ(controller.addCardsWithModelText(
                      QStringLiteral("Node , X%1 ,  , 0 , 0 , 0 ,").arg(round),
                      UFemColumnSeparatingCharacterTypeComma, 0, false, nullptr),
            1u);
        EXPECT_FALSE(force->isRunning());
        EXPECT_FALSE(displacement->isRunning());
        // Cancelled tasks are cleared, so that they can start again.
        EXPECT_EQ(force->threadState(), quint64(UThreadTaskStateCleared));
        EXPECT_EQ(displacement->threadState(), quint64(UThreadTaskStateCleared));
        force->isReading.store(false);
        displacement->isReading.store(false);
    }
    EXPECT_GT(force->cardsSeen.load(), 0u);
    EXPECT_EQ(controller.cardCount(), 7u);

    // A reset stops them too.
    ASSERT_TRUE(force->start());
    controller.reset();
    EXPECT_FALSE(force->isRunning());
    EXPECT_EQ(controller.cardCount(), 0u);
}
