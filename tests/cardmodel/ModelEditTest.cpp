#include "CardModelExpectations.h"
#include "DataControllerStandIns.h"
#include "DataControllerTestPeer.h"
#include "FakeCardClasses.h"

#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/data/UFemDataControllerNotifications.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsEditCard.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/errors/UFemErrorsSearchCardName.h"
#include "platform/UUndoManager.h"

#include <gtest/gtest.h>

using namespace fakecards;

namespace {

// Ten rows, identifier numbers 0 to 9.
const QString frameText = QStringLiteral("Material , Steel , 210000 , 0.3 ,\n"
                                         "RodProp , RP1 , Steel , 0.5 ,\n"
                                         "Node , N1 ,  , 0 , 0 , 0 ,\n"
                                         "Node , N2 ,  , 1 , 0 , 0 ,\n"
                                         "Node , N3 ,  , 2 , 0 , 0 ,\n"
                                         "Rod , R1 , RP1 , N1 , N2 ,\n"
                                         "Rod , R2 , RP1 , N2 , N3 ,\n"
                                         "FixNode , F1 , N1 , YES , YES , YES , NO , NO , NO ,\n"
                                         "RestraintSet , RS1 , F1 ,\n"
                                         "\\ end\n");

const QStringList bracket { UFemModelDataWillChangeNotification,
    UFemModelDataWillChangeNotification_private, UFemModelDataDidChangeNotification_private,
    UFemModelDataDidChangeNotification };

UFemCardTextColumnsPtr record(const QString& line)
{
    auto columns = std::make_shared<UFemCardTextColumns>();
    UErrorPtr error;
    EXPECT_TRUE(columns->setCardString(line, &error)) << line.toStdString();
    return columns;
}

class ModelEditFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        installFakeCardClassesIntoSharedRegistry();
        services.beep = [this] { ++beepCount; };
        controller = std::make_unique<UFemDataController>(services);
        controller->setNotificationCenter(&center);
        controller->setUndoManager(&undoManager);
        controller->setDelegate(&delegate);
        undoManager.setGroupsByEvent(false);
        ASSERT_TRUE(controller->resetWithModelText(frameText, false, nullptr));
        ASSERT_EQ(controller->modelTextOfAllCards(), frameText);
    }
    // One user command: one undo step.
    template <class Edit> auto step(Edit edit)
    {
        undoManager.beginUndoGrouping();
        auto result = edit();
        undoManager.endUndoGrouping();
        return result;
    }
    QString line(quint64 row)
    {
        return controller->modelTextOfAllCards().split(u'\n').at(qsizetype(row));
    }
    std::vector<quint64> identifierNumbers()
    {
        std::vector<quint64> numbers;
        for (const UFemCardPtr& card : controller->cardArray())
            numbers.push_back(card->cardIdentifierNumber());
        return numbers;
    }
    UFemCard* definingCard(const QString& name)
    {
        const std::shared_ptr<UFemCardName> cardName
            = controller->searchCardNameWithCardNameString(name, nullptr);
        return cardName && cardName->hasCard() ? cardName->card() : nullptr;
    }

    RecordingServices recording;
    UFemDataControllerServices services = recording.services();
    int beepCount = 0;
    UNotificationCenter center;
    UUndoManager undoManager;
    FakeDelegate delegate;
    std::unique_ptr<UFemDataController> controller;
};

} // namespace

TEST_F(ModelEditFixture, RemovingRowsTwoFiveSevenAndUndoRestoresTheirIdentifiers)
{
    const std::vector<quint64> numbers = identifierNumbers();
    ASSERT_TRUE(step([&] { return controller->removeCardsAtIndexSet({ 2, 5, 7 }, nullptr); }));
    EXPECT_EQ(controller->lastEditedCardRowIndex(), 5u);
    EXPECT_EQ(controller->cardCount(), 7u);
    EXPECT_EQ(controller->cardWithCardIdentifierNumber(2), nullptr);
    EXPECT_EQ(undoManager.undoActionName(), QStringLiteral("Remove 3 Cards"));
    // Removed cards let go of their names: N1 is still referred to, F1 no longer.
    EXPECT_EQ(definingCard(QStringLiteral("N1")), nullptr);
    EXPECT_FALSE(controller->containsCardNameWithCardNameString(QStringLiteral("R1"), nullptr));

    undoManager.undo();
    EXPECT_EQ(controller->modelTextOfAllCards(), frameText);
    EXPECT_EQ(identifierNumbers(), numbers);
    for (const quint64 row : { 2u, 5u, 7u })
        EXPECT_EQ(
            controller->cardWithCardIdentifierNumber(row), controller->cardAtCardRowIndex(row));
    EXPECT_EQ(definingCard(QStringLiteral("N1")), controller->cardAtCardRowIndex(2).get());
    EXPECT_EQ(controller->nextCardIdentifierNumber(), 10u);

    undoManager.redo();
    EXPECT_EQ(controller->cardCount(), 7u);
    EXPECT_EQ(controller->cardAtCardRowIndex(2)->cardNameString(), QStringLiteral("N2"));
}

TEST_F(ModelEditFixture, AFailedModifyLeavesTheOldCardWithItsNamesAndNumber)
{
    const UFemCardPtr old = controller->cardAtCardRowIndex(2);
    UErrorPtr error;
    EXPECT_FALSE(step([&] {
        return controller->modifyCardAtIndex(2, QStringLiteral("Node , N1 ,  , abc , 0 , 0 ,"),
            UFemColumnSeparatingCharacterTypeComma, false, &error);
    }));
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(controller->cardAtCardRowIndex(2), old);
    EXPECT_EQ(definingCard(QStringLiteral("N1")), old.get());
    EXPECT_EQ(old->cardIdentifierNumber(), 2u);
    EXPECT_EQ(controller->cardWithCardIdentifierNumber(2), old);
    EXPECT_EQ(controller->modelTextOfAllCards(), frameText);
    EXPECT_EQ(undoManager.undoActionName(), QStringLiteral("Modify Card - Aborted by Error"));

    // With error cards the row becomes an error card under the old number.
    ASSERT_TRUE(step([&] {
        return controller->modifyCardAtIndex(2, QStringLiteral("Node , N1 ,  , abc , 0 , 0 ,"),
            UFemColumnSeparatingCharacterTypeComma, true, nullptr);
    }));
    const UFemCardPtr errorCard = controller->cardAtCardRowIndex(2);
    EXPECT_TRUE(errorCard->isErrorCard());
    EXPECT_EQ(errorCard->cardIdentifierNumber(), 2u);
    EXPECT_EQ(controller->cardWithCardIdentifierNumber(2), errorCard);
    EXPECT_EQ(definingCard(QStringLiteral("N1")), nullptr);
    EXPECT_EQ(undoManager.undoActionName(), QStringLiteral("Modify Card"));
    undoManager.undo();
    EXPECT_EQ(controller->modelTextOfAllCards(), frameText);
    EXPECT_EQ(controller->cardWithCardIdentifierNumber(2), controller->cardAtCardRowIndex(2));

    // The last card of the table goes back as the last card.
    const UFemCardPtr last = controller->cardAtCardRowIndex(9);
    EXPECT_FALSE(step([&] {
        return controller->modifyCardAtIndex(
            9, QStringLiteral("Nod , X"), UFemColumnSeparatingCharacterTypeComma, false, &error);
    }));
    EXPECT_EQ(controller->cardCount(), 10u);
    EXPECT_EQ(controller->cardAtCardRowIndex(9), last);
}

TEST_F(ModelEditFixture, ACardStringHoldsOneLineWithAtMostOneLineEnd)
{
    const QString node = QStringLiteral("Node , N3 ,  , 7 , 0 , 0 ,");
    UErrorPtr error;
    for (const QString& tail :
        { QStringLiteral("\nNode , N9 ,  , 0 , 0 , 0 ,"), QStringLiteral("\r\n") }) {
        error.reset();
        EXPECT_FALSE(step([&] {
            return controller->modifyCardAtIndex(
                4, node + tail, UFemColumnSeparatingCharacterTypeComma, true, &error);
        }));
        expectError(error, 12009, QStringLiteral("Card string contains some lines."));
        EXPECT_EQ(controller->modelTextOfAllCards(), frameText);
    }
    for (const QString& tail : { QStringLiteral("\n"), QStringLiteral("\r"), QString() }) {
        EXPECT_TRUE(step([&] {
            return controller->modifyCardAtIndex(
                4, node + tail, UFemColumnSeparatingCharacterTypeComma, false, nullptr);
        }));
        EXPECT_EQ(line(4), node);
        EXPECT_EQ(controller->lastEditedCardRowIndex(), 4u);
    }
    // Without an error out-pointer a failure raises the error responder error.
    undoManager.beginUndoGrouping();
    EXPECT_THROW(static_cast<void>(controller->modifyCardAtIndex(
                     4, node + "\n\n", UFemColumnSeparatingCharacterTypeComma, false, nullptr)),
        UException);
    undoManager.endUndoGrouping();
}

TEST_F(ModelEditFixture, UndoOfAnAddPostsTheBracketAroundTheRemoval)
{
    ASSERT_TRUE(step([&] {
        return controller->addCardWithCardTextColumns(
            *record(QStringLiteral("Node , N4 ,  , 3 , 0 , 0 ,")), 3, false, nullptr);
    }));
    EXPECT_EQ(undoManager.undoActionName(), QStringLiteral("Add Card"));
    EXPECT_EQ(controller->lastEditedCardRowIndex(), 3u);
    EXPECT_EQ(controller->cardAtCardRowIndex(3)->cardIdentifierNumber(), 10u);

    QStringList seen;
    const auto observe = [&](const QString& name) {
        return center.observe(name, controller.get(), [&seen, name, this](const UNotification&) {
            seen.append(name + QStringLiteral(" ") + QString::number(controller->cardCount()));
        });
    };
    std::vector<UNotificationObservation> observations;
    for (const QString& name : bracket)
        observations.push_back(observe(name));
    undoManager.undo();
    EXPECT_EQ(seen,
        (QStringList {
            bracket[0] + " 11", bracket[1] + " 11", bracket[2] + " 10", bracket[3] + " 10" }));
    EXPECT_EQ(controller->modelTextOfAllCards(), frameText);
    seen.clear();
    undoManager.redo();
    EXPECT_EQ(seen,
        (QStringList {
            bracket[0] + " 10", bracket[1] + " 10", bracket[2] + " 11", bracket[3] + " 11" }));
    EXPECT_EQ(controller->cardAtCardRowIndex(3)->cardIdentifierNumber(), 10u);
}

TEST_F(ModelEditFixture, ALockedModelRefusesEveryEditWithTheDelegatesErrorAndPostsNothing)
{
    delegate.lockError = UFemModelDataLockedError_withDescription(
        QStringLiteral("Results are attached."), std::nullopt);
    controller->setLockedOutside(true);
    NotificationSpy spy(center, controller.get());
    const std::vector<std::function<bool(UErrorPtr*)>> edits {
        [&](UErrorPtr* e) { return controller->removeCardAtIndex(1, e); },
        [&](UErrorPtr* e) {
            return controller->removeCardsAtIndexSet({ 1, 2 }, e);
        },
        [&](UErrorPtr* e) { return controller->removeCardsWithCardArray({}, e); },
        [&](UErrorPtr* e) {
            return controller->addCardWithCardTextColumns(*record("\\ x"), 0, false, e);
        },
        [&](UErrorPtr* e) {
            return controller->addCardsWithCardTextColumnsArray({ record("\\ x") }, 0, false, e);
        },
        [&](UErrorPtr* e) { return controller->addCardsWithModelText("\\ x", 0, false, e) != 0; },
        [&](UErrorPtr* e) {
            return controller->modifyCardAtIndex(
                1, "\\ x", UFemColumnSeparatingCharacterTypeComma, false, e);
        },
        [&](UErrorPtr* e) {
            return controller->modifyCardsAtIndexSet(
                { 1 }, { "\\ x" }, UFemColumnSeparatingCharacterTypeComma, false, e);
        },
        [&](UErrorPtr* e) {
            return controller->overwriteCardWithCardTextColumns(
                *record("Node , N1 ,  , 9 , 9 , 9 ,"), false, e);
        },
        [&](UErrorPtr* e) { return controller->changeCardNameFromCardNameString("N1", "NA", e); },
        [&](UErrorPtr* e) { return controller->mergeCardNameFromCardNameString("N1", "N2", e); },
        [&](UErrorPtr* e) {
            return controller->mergeCardNameFromCardNameStringArray({ "N1" }, { "N2" }, e);
        },
    };
    for (const auto& edit : edits) {
        UErrorPtr error;
        EXPECT_FALSE(step([&] { return edit(&error); }));
        EXPECT_EQ(error, delegate.lockError);
    }
    EXPECT_EQ(spy.names, QStringList());
    EXPECT_EQ(controller->modelTextOfAllCards(), frameText);
    EXPECT_FALSE(undoManager.canUndo());
}

TEST_F(ModelEditFixture, RoughBoxSurvivesTwentyOneChangesAndUndoCountsAsOne)
{
    QString text;
    for (int i = 0; i < 100; ++i)
        text += QStringLiteral("Node , N%1 ,  , %2 , 0 , 0 ,\n").arg(i).arg(i);
    ASSERT_TRUE(controller->resetWithModelText(text, false, nullptr));
    double box[6];
    controller->getObjectSize_rough(box);
    ASSERT_EQ(box[1], 99.0);
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(step([&] {
            return controller->modifyCardAtIndex(0,
                QStringLiteral("Node , N0 ,  , %1 , 0 , 0 ,").arg(200 + i),
                UFemColumnSeparatingCharacterTypeComma, false, nullptr);
        }));
    }
    undoManager.undo(); // the 21st change
    controller->getObjectSize_rough(box);
    EXPECT_EQ(box[1], 99.0);
    controller->getObjectSize(box);
    EXPECT_EQ(box[1], 218.0);
    // The exact box also renewed the rough one: 21 more changes keep it, the 22nd drops it.
    for (int i = 0; i < 21; ++i) {
        ASSERT_TRUE(step([&] {
            return controller->modifyCardAtIndex(1,
                QStringLiteral("Node , N1 ,  , %1 , 0 , 0 ,").arg(300 + i),
                UFemColumnSeparatingCharacterTypeComma, false, nullptr);
        }));
    }
    controller->getObjectSize_rough(box);
    EXPECT_EQ(box[1], 218.0);
    ASSERT_TRUE(step([&] { return controller->removeCardAtIndex(50, nullptr); }));
    controller->getObjectSize_rough(box);
    EXPECT_EQ(box[1], 320.0);
}

TEST_F(ModelEditFixture, OverwriteReplacesTheCardDefiningTheRecordsName)
{
    ASSERT_TRUE(step([&] {
        return controller->overwriteCardWithCardTextColumns(
            *record("Node , N2 ,  , 5 , 5 , 5 ,"), false, nullptr);
    }));
    EXPECT_EQ(line(3), QStringLiteral("Node , N2 ,  , 5 , 5 , 5 ,"));
    EXPECT_EQ(controller->cardAtCardRowIndex(3)->cardIdentifierNumber(), 3u);
    EXPECT_EQ(controller->lastEditedCardRowIndex(), 3u);
    EXPECT_EQ(undoManager.undoActionName(), QStringLiteral("Overwrite Card"));

    struct Case {
        QString line;
        qint64 code;
        QString description;
    };
    ASSERT_TRUE(step([&] {
        return controller->addCardsWithModelText("Rod , R3 , RP1 , N1 , N9 ,", 0, false, nullptr);
    }));
    const std::vector<Case> cases {
        { "FixNode , F1 , N2 , NO , NO , NO , NO , NO , NO ,", 31014, {} },
        { "Node , Zed ,  , 0 , 0 , 0 ,", 31013, "Card of Card Name 'Zed' does not exist." },
        { "Node , N9 ,  , 0 , 0 , 0 ,", 31002, "Card of Card Name 'N9' does not exist." },
    };
    const QString before = controller->modelTextOfAllCards();
    for (const Case& c : cases) {
        UErrorPtr error;
        EXPECT_FALSE(step([&] {
            return controller->overwriteCardWithCardTextColumns(*record(c.line), false, &error);
        }));
        ASSERT_NE(error, nullptr);
        EXPECT_EQ(error->code(), c.code);
        if (!c.description.isEmpty()) {
            EXPECT_EQ(error->localizedDescription(), c.description);
        }
        EXPECT_EQ(
            undoManager.undoActionName(), QStringLiteral("Overwrite Card - Aborted by Error"));
    }
    EXPECT_EQ(controller->modelTextOfAllCards(), before);
}

TEST_F(ModelEditFixture, RenameAndMergeRewriteEveryColumnAndUndoBack)
{
    ASSERT_TRUE(step([&] {
        return controller->addCardsWithModelText(
            "Rod , R3 , RP1 , N1 , N1 ,\nRestraintEquation , E1 , 1.5 , N1@TX , 2 , N9@RY ,",
            UFemNotFound, false, nullptr);
    }));
    const QString start = controller->modelTextOfAllCards();

    ASSERT_TRUE(
        step([&] { return controller->changeCardNameFromCardNameString(" N1 ", "NA", nullptr); }));
    EXPECT_EQ(controller->modelTextOfAllCards(),
        QString(start).replace("N1 ", "NA ").replace("N1@", "NA@"));
    EXPECT_EQ(undoManager.undoActionName(), QStringLiteral("Change Card Name"));
    UErrorPtr error;
    EXPECT_FALSE(
        step([&] { return controller->changeCardNameFromCardNameString("NA", "N2", &error); }));
    EXPECT_EQ(undoManager.undoActionName(), QStringLiteral("Change Card Name - Aborted by Error"));
    undoManager.undo();
    undoManager.undo();
    EXPECT_EQ(controller->modelTextOfAllCards(), start);

    // N9 is only referred to; merging it into N3 rewrites the reference and keeps the direction.
    ASSERT_TRUE(
        step([&] { return controller->mergeCardNameFromCardNameString("N9", "N3", nullptr); }));
    EXPECT_EQ(line(11), QStringLiteral("RestraintEquation , E1 , 1.5 , N1@TX , 2 , N3@RY ,"));
    EXPECT_FALSE(controller->containsCardNameWithCardNameString("N9", nullptr));
    EXPECT_EQ(undoManager.undoActionName(), QStringLiteral("Merge Card Name"));

    // R3 holds N1 twice and is re-made once with both columns; the Node N1 becomes an error card,
    // N2 being defined already, and keeps its number.
    const quint64 rodNumber = controller->cardAtCardRowIndex(10)->cardIdentifierNumber();
    ASSERT_TRUE(
        step([&] { return controller->mergeCardNameFromCardNameString("N1", "N2", nullptr); }));
    EXPECT_EQ(line(10), QStringLiteral("Rod , R3 , RP1 , N2 , N2 ,"));
    EXPECT_EQ(controller->cardAtCardRowIndex(10)->cardIdentifierNumber(), rodNumber);
    EXPECT_EQ(
        controller->cardWithCardIdentifierNumber(rodNumber), controller->cardAtCardRowIndex(10));
    EXPECT_TRUE(controller->cardAtCardRowIndex(2)->isErrorCard());
    EXPECT_EQ(controller->cardAtCardRowIndex(2)->cardIdentifierNumber(), 2u);
    EXPECT_EQ(controller->lastEditedCardRowIndex(), 11u);
    EXPECT_FALSE(controller->containsCardNameWithCardNameString("N1", nullptr));
    undoManager.undo();
    undoManager.undo();
    EXPECT_EQ(controller->modelTextOfAllCards(), start);
    EXPECT_EQ(definingCard("N1"), controller->cardAtCardRowIndex(2).get());

    EXPECT_FALSE(step([&] {
        return controller->mergeCardNameFromCardNameStringArray(
            { "N2", "Nothing" }, { "N3", "N1" }, &error);
    }));
    expectError(error, 31013, QStringLiteral("Card of Card Name 'Nothing' does not exist."));
    EXPECT_EQ(undoManager.undoActionName(), QStringLiteral("Merge Card Name - Aborted by Error"));
    undoManager.undo();
    EXPECT_EQ(controller->modelTextOfAllCards(), start);
}

TEST_F(ModelEditFixture, RunsThatFailPartWayKeepTheirUndoRecords)
{
    UErrorPtr error;
    EXPECT_FALSE(step([&] {
        return controller->modifyCardsAtIndexSet({ 2, 3, 4 },
            { "Node , N1 ,  , 9 , 9 , 9 ,", "Nod , X ,", "Node , N3 ,  , 9 , 9 , 9 ," },
            UFemColumnSeparatingCharacterTypeComma, false, &error);
    }));
    EXPECT_NE(error, nullptr);
    EXPECT_EQ(line(2), QStringLiteral("Node , N1 ,  , 9 , 9 , 9 ,"));
    EXPECT_EQ(line(4), QStringLiteral("Node , N3 ,  , 2 , 0 , 0 ,"));
    EXPECT_EQ(undoManager.undoActionName(), QStringLiteral("Modify Some Cards - Aborted by Error"));
    undoManager.undo();
    EXPECT_EQ(controller->modelTextOfAllCards(), frameText);

    error.reset();
    EXPECT_FALSE(step([&] {
        return controller->addCardsWithCardTextColumnsArray(
            { record("\\ one"), record("Nod , X ,"), record("\\ three") }, 1, false, &error);
    }));
    EXPECT_NE(error, nullptr);
    EXPECT_EQ(controller->cardCount(), 11u);
    EXPECT_EQ(undoManager.undoActionName(), QStringLiteral("Add Some Cards - Aborted by Error"));
    undoManager.undo();
    EXPECT_EQ(controller->modelTextOfAllCards(), frameText);

    // A card given twice is re-made at its row twice; the rows come back once each.
    const std::optional<UFemRowIndexSet> rows = step([&] {
        return controller->modifyCardsInCardArray(
            { controller->cardAtCardRowIndex(9), controller->cardAtCardRowIndex(0),
                controller->cardAtCardRowIndex(9) },
            { "\\ a", "\\ b", "\\ c" }, UFemColumnSeparatingCharacterTypeComma, false, nullptr);
    });
    ASSERT_TRUE(rows);
    EXPECT_EQ(*rows, (UFemRowIndexSet { 0, 9 }));
    EXPECT_EQ(line(9), QStringLiteral("\\ c"));
    EXPECT_EQ(undoManager.undoActionName(), QStringLiteral("Modify 3 cards"));
}

TEST_F(ModelEditFixture, ArgumentErrorsAreRaisedBeforeAnythingIsPosted)
{
    NotificationSpy spy(center, controller.get());
    expectProgramError(
        [&] {
            static_cast<void>(controller->modifyCardsAtIndexSet(
                { 1, 2 }, { "\\ x" }, UFemColumnSeparatingCharacterTypeComma, false, nullptr));
        },
        QStringLiteral("[aCardRowIndexSet count] != [aCardStringArray count]"));
    expectProgramError(
        [&] {
            static_cast<void>(controller->modifyCardsInCardArray(
                {}, { "\\ x" }, UFemColumnSeparatingCharacterTypeComma, false, nullptr));
        },
        QStringLiteral("[aTargetCardArray count] != [aCardStringArray count]"));
    expectProgramError(
        [&] {
            static_cast<void>(
                controller->mergeCardNameFromCardNameStringArray({ "N1" }, {}, nullptr));
        },
        QStringLiteral(
            "[NewCardNameStringArray count] and [OldCardNameStringArray count] are different."));
    expectProgramError([&] { static_cast<void>(controller->removeCardAtIndex(10, nullptr)); },
        QStringLiteral("anIndex >= [cardArray count]. anIndex: 10, [cardArray count]: 10"));
    expectProgramError(
        [&] {
            static_cast<void>(controller->addCardsWithCardTextColumnsArray(
                { record("\\ x") }, 11, false, nullptr));
        },
        QStringLiteral("The index to add is out of list."));
    EXPECT_EQ(spy.names, QStringList());
    EXPECT_EQ(controller->modelTextOfAllCards(), frameText);
}

TEST_F(ModelEditFixture, AProgramErrorInsideAnEditStillClosesTheBracket)
{
    NotificationSpy spy(center, controller.get());
    const auto raising = [](UErrorPtr*) -> bool {
        UFemRaiseProgramError(QStringLiteral("Unexpected error occurred."));
    };
    undoManager.beginUndoGrouping();
    EXPECT_THROW(UFemDataControllerTestPeer::runEdit(*controller, raising, nullptr), UException);
    undoManager.endUndoGrouping();
    EXPECT_EQ(spy.take(), bracket);
    // The model is usable and observed as before.
    EXPECT_TRUE(step([&] { return controller->removeCardAtIndex(9, nullptr); }));
    EXPECT_EQ(spy.take(), bracket);
}

TEST_F(ModelEditFixture, RemovingCardsOfALockedModelIsRefusedLikeRemovingRows)
{
    controller->setLockedOutside(true);
    NotificationSpy spy(center, controller.get());
    UErrorPtr byCards;
    UErrorPtr byRows;
    EXPECT_FALSE(
        controller->removeCardsWithCardArray({ controller->cardAtCardRowIndex(2) }, &byCards));
    EXPECT_FALSE(controller->removeCardsAtIndexSet({ 2 }, &byRows));
    ASSERT_NE(byCards, nullptr);
    ASSERT_NE(byRows, nullptr);
    EXPECT_EQ(byCards->localizedDescription(), byRows->localizedDescription());
    EXPECT_EQ(spy.take(), QStringList());
    EXPECT_EQ(controller->modelTextOfAllCards(), frameText);
}

TEST_F(ModelEditFixture, EmptyRunsBeepAndAddedRecordsNeverShareANumber)
{
    NotificationSpy spy(center, controller.get());
    EXPECT_TRUE(step([&] { return controller->removeCardsAtIndexSet({}, nullptr); }));
    EXPECT_EQ(spy.take(), bracket);
    EXPECT_TRUE(step([&] { return controller->removeCardsWithCardArray({}, nullptr); }));
    EXPECT_EQ(spy.take(), QStringList());
    EXPECT_TRUE(
        step([&] { return controller->addCardsWithCardTextColumnsArray({}, 0, false, nullptr); }));
    EXPECT_EQ(beepCount, 3);
    EXPECT_EQ(controller->modelTextOfAllCards(), frameText);

    // A number in use, or one never given, is replaced by a new one; a freed number is kept.
    ASSERT_TRUE(step([&] { return controller->removeCardAtIndex(9, nullptr); }));
    struct Case {
        quint64 recordNumber;
        quint64 expected;
    };
    for (const Case& c : { Case { 2, 10 }, Case { 99, 11 }, Case { 9, 9 } }) {
        const UFemCardTextColumnsPtr comment = record("\\ again");
        comment->setCardIdentifierNumber(c.recordNumber);
        ASSERT_TRUE(step([&] {
            return controller->addCardWithCardTextColumns(*comment, UFemNotFound, false, nullptr);
        }));
        const UFemCardPtr added = controller->cardAtCardRowIndex(controller->cardCount() - 1);
        EXPECT_EQ(added->cardIdentifierNumber(), c.expected);
        EXPECT_EQ(controller->cardWithCardIdentifierNumber(c.expected), added);
    }
    EXPECT_EQ(controller->cardWithCardIdentifierNumber(2), controller->cardAtCardRowIndex(2));
    EXPECT_EQ(
        step([&] { return controller->removeCard(*controller->cardAtCardRowIndex(4), nullptr); }),
        4u);
}

TEST_F(ModelEditFixture, EditsOfOneEventTurnUndoAsOneStep)
{
    undoManager.setGroupsByEvent(true);
    ASSERT_TRUE(controller->removeCardAtIndex(9, nullptr));
    ASSERT_TRUE(controller->modifyCardAtIndex(
        0, "\\ x", UFemColumnSeparatingCharacterTypeComma, false, nullptr));
    EXPECT_EQ(undoManager.undoActionName(), QStringLiteral("Modify Card"));
    NotificationSpy spy(center, controller.get());
    undoManager.undo();
    EXPECT_EQ(controller->modelTextOfAllCards(), frameText);
    EXPECT_FALSE(undoManager.canUndo());
    // Each edit's inverse brings its own bracket.
    EXPECT_EQ(spy.take(), bracket + bracket);
    undoManager.redo();
    EXPECT_EQ(controller->cardCount(), 9u);
    EXPECT_EQ(line(0), QStringLiteral("\\ x"));
}
