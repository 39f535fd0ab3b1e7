#include "WindowCardModel.h"

#include "cardmodel/data/UFemCardSetManager.h"
#include "cardmodel/data/UFemWindowCardTable.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace fakecards;

namespace {

class CardSetManagerThreads : public WindowCardModelFixture {
protected:
    void SetUp() override
    {
        WindowCardModelFixture::SetUp();
        appendCards(nodeLines(200, QStringLiteral("T")));
        manager.emplace(&controller);
        recorder.tag(&*manager, QStringLiteral("set"));
        recorder.take();
    }
    void TearDown() override { manager.reset(); }
    void attachWindowTable()
    {
        manager->setReferenceCardArrayBaseObject(
            &table, [this]() -> const UFemCardArray& { return table.cardArray(); },
            UFemWindowCardTableWillChangeNotification, UFemWindowCardTableDidChangeNotification,
            UFemWindowCardTableWillChangeNotification_private,
            UFemWindowCardTableDidChangeNotification_private);
    }

    UFemWindowCardTable table { controller };
    std::optional<UFemCardSetManager> manager;
};

// The rubber band: the worker picks cards from a list the main thread gave it and commits them,
// while the main thread keeps changing what the window shows and the model itself.
TEST_F(CardSetManagerThreads, WorkerCommitsWhileTheMainThreadChangesTheWindow)
{
    attachWindowTable();
    UErrorPtr error;
    table.setCardFilterString(QStringLiteral("type:Node"), &error);
    for (int round = 0; round < 12; ++round) {
        const UFemCardVector candidates(table.cardArray().begin(), table.cardArray().end());
        const bool isBulk = round % 2 == 0;
        manager->setCardArray({ candidates[1], candidates[3] });
        recorder.take();
        const quint64 id = manager->prepareChangeByOtherThread();
        std::thread worker([&] {
            UFemCardVector picked;
            for (size_t i = 0; i < candidates.size(); i += isBulk ? 2 : 41)
                picked.push_back(candidates[i]);
            if (round % 3 == 2)
                manager->removeCardArrayOrCardSetByOtherThread(picked, id);
            else
                manager->addCardArrayOrCardSetByOtherThread(picked, id);
        });
        // Allowed meanwhile: the window's own table and the model, never the manager.
        table.setCardFilterString(round % 4 == 1 ? QStringLiteral("type:Node & !contain:T1")
                                                 : QStringLiteral("type:Node"),
            &error);
        EXPECT_GT(table.count(), 0u);
        appendCards(QStringLiteral("Node , U%1 ,  , 0 , 0 , 0 ,\n").arg(round));
        worker.join();
        manager->waitFinishChangeByOtherThreadWithChangeIdentifier(id);
        const QStringList posts = recorder.take();
        ASSERT_GE(posts.size(), 4);
        EXPECT_EQ(posts.mid(0, 2), QStringList({ "set:Will", "set:Will_private" }));
        EXPECT_EQ(posts.mid(posts.size() - 2), QStringList({ "set:Did_private", "set:Did" }));

        std::vector<UFemCardPtr> expected;
        for (size_t i = 0; i < candidates.size(); ++i) {
            const bool picked = i % (isBulk ? 2 : 41) == 0;
            const bool wasMember = i == 1 || i == 3;
            const bool member = round % 3 == 2 ? wasMember && !picked : wasMember || picked;
            if (member && table.containsCard(candidates[i]))
                expected.push_back(candidates[i]);
        }
        SCOPED_TRACE(round);
        EXPECT_EQ(manager->cardArray(), expected);
    }
}

TEST_F(CardSetManagerThreads, SecondPreparationWaitsForTheFirstToFinish)
{
    recorder.untag(&*manager);
    const quint64 first = manager->prepareChangeByOtherThread();
    std::atomic<bool> isFinishing { false };
    std::atomic<bool> hasSecondPrepared { false };
    quint64 second = 0;
    bool secondCameAfterFinish = false;
    const UFemCardPtr n1 = cardNamed("N1");
    const UFemCardPtr n2 = cardNamed("N2");
    std::thread other([&] {
        second = manager->prepareChangeByOtherThread();
        secondCameAfterFinish = isFinishing.load();
        hasSecondPrepared = true;
        manager->addCardArrayOrCardSetByOtherThread(UFemCardVector { n2 }, second);
        manager->waitFinishChangeByOtherThreadWithChangeIdentifier(second);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_FALSE(hasSecondPrepared.load());
    std::thread worker(
        [&] { manager->setCardArrayOrCardSetByOtherThread(UFemCardVector { n1 }, first); });
    worker.join();
    isFinishing = true;
    manager->waitFinishChangeByOtherThreadWithChangeIdentifier(first);
    other.join();
    EXPECT_EQ(second, first + 1);
    EXPECT_TRUE(secondCameAfterFinish);
    EXPECT_EQ(manager->count(), 2u);
    EXPECT_TRUE(manager->containsCard(n2));
}

} // namespace
