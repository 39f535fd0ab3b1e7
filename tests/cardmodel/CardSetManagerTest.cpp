#include "CardModelExpectations.h"
#include "WindowCardModel.h"

#include "cardmodel/data/UFemCardSetManager.h"
#include "cardmodel/data/UFemWindowCardTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

using namespace fakecards;

namespace {

const QStringList setPosts { "set:Will", "set:Will_private", "set:Did_private", "set:Did" };

class CardSetManagerFixture : public WindowCardModelFixture {
protected:
    void SetUp() override
    {
        WindowCardModelFixture::SetUp();
        manager.emplace(&controller);
        recorder.tag(&*manager, QStringLiteral("set"));
        recorder.tag(&table, QStringLiteral("window"));
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
    UFemCardVector cards(const QStringList& names)
    {
        UFemCardVector list;
        for (const QString& name : names)
            list.push_back(cardNamed(name));
        return list;
    }
    QStringList sortedNames(const UFemCardSet& set)
    {
        QStringList names = namesOfCards(set);
        names.sort();
        return names;
    }

    UFemWindowCardTable table { controller };
    std::optional<UFemCardSetManager> manager;
};

TEST_F(CardSetManagerFixture, ChangesPostTheirPairsOrNothing)
{
    manager->removeAllCards();
    EXPECT_EQ(recorder.take(), setPosts);
    manager->addCardArray({});
    manager->addCardSet({});
    manager->removeCardArray({});
    EXPECT_TRUE(recorder.take().isEmpty());
    manager->setCardArray({});
    EXPECT_EQ(recorder.take(), setPosts);

    manager->addCardArray(cards({ "N3", "N1" }));
    EXPECT_EQ(recorder.take(), setPosts);
    manager->addCardArray(cards({ "N1" }));
    EXPECT_EQ(recorder.take(), setPosts);
    EXPECT_EQ(namesOfCards(manager->cardArray()), QStringList({ "N1", "N3" }));
    manager->addCard(cardNamed("N1"));
    manager->removeCard(cardNamed("N2"));
    EXPECT_TRUE(recorder.take().isEmpty());
    manager->addCard(cardNamed("N2"));
    manager->removeCard(cardNamed("N3"));
    EXPECT_EQ(recorder.take(), setPosts + setPosts);
    EXPECT_EQ(namesOfCards(manager->cardArray()), QStringList({ "N1", "N2" }));

    // A model edit reaches the set's observers as the model's own bracket, relayed in order.
    appendCards(QStringLiteral("Node , N9 ,  , 9 , 0 , 0 ,\n"));
    EXPECT_EQ(recorder.take(),
        QStringList({ "model:Will", "window:Will", "set:Will", "model:Will_private",
            "window:Will_private", "set:Will_private", "model:Did_private", "window:Did_private",
            "set:Did_private", "model:Did", "window:Did", "set:Did" }));
}

TEST_F(CardSetManagerFixture, SingleMemberAndSetCard)
{
    EXPECT_EQ(manager->card(), nullptr);
    manager->setCard(cardNamed("R1"));
    EXPECT_EQ(manager->card(), cardNamed("R1"));
    manager->addCard(cardNamed("R2"));
    EXPECT_EQ(manager->card(), nullptr);
    manager->setCard(nullptr);
    EXPECT_EQ(manager->count(), 0u);
    recorder.take();

    attachWindowTable();
    UErrorPtr error;
    table.setCardFilterString(QStringLiteral("type:Node"), &error);
    recorder.take();
    manager->setCard(cardNamed("R1"));
    EXPECT_EQ(recorder.take(), setPosts);
    EXPECT_EQ(manager->count(), 0u);
    manager->setCard(cardNamed("N4"));
    EXPECT_EQ(manager->card(), cardNamed("N4"));
    // Outside the reference list an addition is refused without a word.
    manager->addCard(cardNamed("R2"));
    EXPECT_TRUE(recorder.take() == setPosts);
    EXPECT_EQ(manager->count(), 1u);
}

TEST_F(CardSetManagerFixture, MembersLeaveWithTheirCardsAndTheReferenceList)
{
    manager->setCardArray(cards({ "N5", "N2", "R1", "N4" }));
    EXPECT_EQ(namesOfCards(manager->unsortedCardArray()), QStringList({ "N5", "N2", "R1", "N4" }));
    EXPECT_EQ(namesOfCards(manager->cardArray()), QStringList({ "N2", "N4", "N5", "R1" }));
    const std::shared_ptr<const UFemCardSet> before = manager->cardSet_immutable();
    EXPECT_EQ(manager->cardSet_immutable(), before);

    const UFemCardPtr n4 = cardNamed("N4");
    removeRows({ 3 }); // N4
    EXPECT_EQ(manager->count(), 3u);
    EXPECT_FALSE(manager->containsCard(n4));
    EXPECT_EQ(sortedNames(manager->cardSet()), QStringList({ "N2", "N5", "R1" }));
    EXPECT_EQ(before->size(), 4u); // a snapshot already handed out stays as it was
    EXPECT_NE(manager->cardSet_immutable(), before);

    attachWindowTable();
    UErrorPtr error;
    table.setCardFilterString(QStringLiteral("type:Node"), &error);
    EXPECT_EQ(namesOfCards(manager->cardArray()), QStringList({ "N2", "N5" }));
    table.setCardFilterString(QStringLiteral("contain:N5"), &error);
    EXPECT_EQ(namesOfCards(manager->unsortedCardArray()), QStringList({ "N5" }));
    EXPECT_EQ(sortedNames(manager->cardSet()), QStringList({ "N5" }));
}

// Membership is by identifier number, looked up at the next read: a removal undone before any
// read leaves the members as the cards the model re-made with the same numbers; once a read has
// seen them gone, they stay gone.
TEST_F(CardSetManagerFixture, UndoneRemovalBeforeAReadKeepsTheMembers)
{
    manager->setCardArray(cards({ "N2", "N3", "R2" }));
    const UFemCardPtr oldN3 = cardNamed("N3");
    removeRows({ 1, 2, 3 }); // N2 N3 N4
    recorder.take();
    undoManager.undo();
    EXPECT_EQ(recorder.take(),
        QStringList({ "model:Will", "window:Will", "set:Will", "model:Will_private",
            "window:Will_private", "set:Will_private", "model:Did_private", "window:Did_private",
            "set:Did_private", "model:Did", "window:Did", "set:Did" }));
    EXPECT_EQ(namesOfCards(manager->cardArray()), QStringList({ "N2", "N3", "R2" }));
    EXPECT_TRUE(manager->containsCard(cardNamed("N3")));
    EXPECT_FALSE(manager->containsCard(oldN3));

    undoManager.redo();
    EXPECT_EQ(namesOfCards(manager->cardArray()), QStringList({ "R2" }));
    undoManager.undo();
    EXPECT_EQ(namesOfCards(manager->cardArray()), QStringList({ "R2" }));
}

TEST_F(CardSetManagerFixture, BulkRemovalThenReferenceChangeKeepsListAndSetTogether)
{
    appendCards(nodeLines(40, QStringLiteral("M")));
    UFemCardVector all;
    for (const UFemCardPtr& card : controller.nodeCardArray())
        all.push_back(card);
    manager->setCardArray(all);
    UFemCardVector removed;
    for (size_t i = 0; i < all.size(); i += 2)
        removed.push_back(all[i]);
    ASSERT_GE(removed.size(), 20u);
    manager->removeCardArray(removed);
    EXPECT_TRUE(manager->cardSetContentValidness().isCardArrayContentsNotValidForAny);

    attachWindowTable();
    UErrorPtr error;
    table.setCardFilterString(QStringLiteral("contain:M"), &error);
    const UFemCardVector& list = manager->cardArray();
    const UFemCardSet& set = manager->cardSet();
    EXPECT_EQ(list.size(), set.size());
    for (const UFemCardPtr& card : list) {
        EXPECT_TRUE(set.contains(card));
        EXPECT_TRUE(table.containsCard(card));
        EXPECT_EQ(std::count(removed.begin(), removed.end(), card), 0);
    }
    EXPECT_EQ(list.size(), 20u); // M2, M4 .. M40
    EXPECT_TRUE(std::is_sorted(
        list.begin(), list.end(), [this](const UFemCardPtr& a, const UFemCardPtr& b) {
            return table.indexOfCard(a) < table.indexOfCard(b);
        }));
}

// Random selections under random deletes (single and bulk, with and without a reference list):
// after every edit the members are exactly the selected cards still in the model (and in the
// window), in model order.
TEST_F(CardSetManagerFixture, RandomDeletesKeepExactlyTheSurvivors)
{
    std::mt19937 random(20261207);
    appendCards(nodeLines(120, QStringLiteral("K")));
    for (int round = 0; round < 6; ++round) {
        const bool withReference = round % 2 == 1;
        if (withReference) {
            attachWindowTable();
            UErrorPtr error;
            table.setCardFilterString(QStringLiteral("!contain:7"), &error);
        } else {
            manager->setReferenceCardArrayBaseObject(
                nullptr, {}, std::nullopt, std::nullopt, std::nullopt, std::nullopt);
            table.clearFilter();
        }
        std::set<quint64> selected;
        UFemCardVector chosen;
        for (const UFemCardPtr& card : controller.cardArray()) {
            if (random() % 3 == 0) {
                chosen.push_back(card);
                selected.insert(card->cardIdentifierNumber());
            }
        }
        manager->setCardArray(chosen);
        for (int edit = 0; edit < 8 && controller.cardCount() > 30; ++edit) {
            const quint64 n = controller.cardCount();
            const size_t howMany = 1 + random() % (edit % 2 == 0 ? 3 : 25);
            std::set<quint64> rowSet;
            while (rowSet.size() < howMany)
                rowSet.insert(random() % n);
            removeRows(UFemRowIndexSet(rowSet.begin(), rowSet.end()));
            if (edit % 3 == 2) { // also a direct bulk removal of members
                const UFemCardVector& members = manager->cardArray();
                const UFemCardVector some(
                    members.begin(), members.begin() + std::min<ptrdiff_t>(members.size(), 21));
                manager->removeCardArray(some);
                for (const UFemCardPtr& card : some)
                    selected.erase(card->cardIdentifierNumber());
            }
            QStringList expected;
            for (const UFemCardPtr& card : controller.cardArray()) {
                const bool shown = !withReference || table.containsCard(card);
                if (shown && selected.contains(card->cardIdentifierNumber()))
                    expected.append(*card->cardNameString());
            }
            SCOPED_TRACE(round * 100 + edit);
            EXPECT_EQ(namesOfCards(manager->cardArray()), expected);
            EXPECT_EQ(manager->count(), quint64(expected.size()));
            EXPECT_EQ(manager->cardSet().size(), size_t(expected.size()));
            for (const UFemCardPtr& card : manager->cardSet())
                EXPECT_EQ(
                    controller.cardWithCardIdentifierNumber(card->cardIdentifierNumber()), card);
        }
    }
}

TEST_F(CardSetManagerFixture, HandOverMisuseIsAProgramError)
{
    const quint64 id = manager->prepareChangeByOtherThread();
    EXPECT_EQ(id, 1u);
    expectProgramError(
        [&] { manager->addCardArrayOrCardSetByOtherThread(cards({ "N1" }), id + 1); },
        QStringLiteral("Change state or change identifier on cardSetManager doesn't match."));
    expectProgramError([&] { manager->waitFinishChangeByOtherThreadWithChangeIdentifier(id + 1); },
        QStringLiteral("Change identifier on cardSetManager doesn't match."));
    manager->addCardArrayOrCardSetByOtherThread(cards({ "N1" }), id);
    expectProgramError([&] { manager->removeCardArrayOrCardSetByOtherThread(cards({ "N1" }), id); },
        QStringLiteral("Change state or change identifier on cardSetManager doesn't match."));
    manager->waitFinishChangeByOtherThreadWithChangeIdentifier(id);
    EXPECT_EQ(manager->card(), cardNamed("N1"));
    EXPECT_EQ(manager->prepareChangeByOtherThread(), 2u);
    manager->setCardArrayOrCardSetByOtherThread(UFemCardSet(), 2);
    manager->waitFinishChangeByOtherThreadWithChangeIdentifier(2);
    EXPECT_EQ(manager->count(), 0u);
}

} // namespace

// Few members are placed by look-up, many by one walk over the model: both give model order.
TEST_F(CardSetManagerFixture, FewAndManyMembersSortIntoModelOrder)
{
    std::mt19937 random(20261207);
    appendCards(nodeLines(300, QStringLiteral("S")));
    const UFemCardVector all = controller.cardArray().toVector();
    for (const size_t stride : { size_t(150), size_t(97), size_t(2) }) {
        UFemCardVector chosen;
        QStringList expected;
        for (size_t i = 0; i < all.size(); i += stride) {
            chosen.push_back(all[i]);
            expected.append(*all[i]->cardNameString());
        }
        std::shuffle(chosen.begin(), chosen.end(), random);
        manager->setCardArray(chosen);
        SCOPED_TRACE(stride);
        EXPECT_EQ(namesOfCards(manager->cardArray()), expected);
    }
}
