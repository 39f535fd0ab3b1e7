#include "CardModelExpectations.h"
#include "DataControllerStandIns.h"
#include "DataControllerTestPeer.h"
#include "FakeCardClasses.h"

#include "cardmodel/data/UFemDataControllerNotifications.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UFemErrorsEditCard.h"
#include "foundation/errors/UFemErrorsFile.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/errors/UFemErrorsRunCalculation.h"
#include "platform/UUndoManager.h"

#include <QCoreApplication>

#include <cmath>

#include <gtest/gtest.h>

using namespace fakecards;

namespace {

const QString twoNodes
    = QStringLiteral("Node , N1 ,  , 0 , 0 , 0 ,\nNode , N2 ,  , 3 , 4 , 12 ,\n");
class DataControllerFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        installFakeCardClassesIntoSharedRegistry();
        controller = std::make_unique<UFemDataController>(recording.services());
        controller->setNotificationCenter(&center);
    }

    RecordingServices recording;
    UNotificationCenter center;
    std::unique_ptr<UFemDataController> controller;
};

qint64 codeOf(const UErrorPtr& error)
{
    return error ? error->code() : 0;
}

} // namespace

TEST_F(DataControllerFixture, NewControllerIsEmptyAndUnlocked)
{
    EXPECT_EQ(controller->cardCount(), 0u);
    EXPECT_EQ(controller->lastEditedCardRowIndex(), UFemNotFound);
    EXPECT_FALSE(controller->isLocked());
    EXPECT_EQ(controller->cardWithCardIdentifierNumber(0), nullptr);
    EXPECT_EQ(controller->nextCardIdentifierNumberWarningNumber(), 0xC000000000000000ULL);
    EXPECT_EQ(controller->errorIfLocked(), nullptr);
    EXPECT_EQ(controller->resultDataManager(), nullptr);
    EXPECT_EQ(controller->modelTextOfAllCards(), QString());
}

TEST_F(DataControllerFixture, LocksAndTheirError)
{
    controller->setModelDataSelfLocked(true);
    EXPECT_TRUE(controller->isLocked());
    EXPECT_TRUE(controller->isLockedInside());
    EXPECT_FALSE(controller->hasResultData());
    EXPECT_FALSE(controller->isLockedOutside());
    EXPECT_EQ(codeOf(controller->errorIfLocked()), codeOf(UFemModelDataLockedError()));

    FakeDelegate delegate;
    delegate.lockError
        = UFemUnexpectedError_withDescription(QStringLiteral("Calculation is running."));
    controller->setDelegate(&delegate);
    EXPECT_EQ(controller->errorIfLocked(), delegate.lockError);

    controller->setModelDataSelfLocked(false);
    controller->setLockedOutside(true);
    EXPECT_TRUE(controller->isLockedOutside());
    EXPECT_FALSE(controller->isLockedInside());
    NotificationSpy spy(center, controller.get());
    UErrorPtr error;
    EXPECT_EQ(controller->addCardsWithModelText(
                  twoNodes, UFemColumnSeparatingCharacterTypeComma, UFemNotFound, false, &error),
        0u);
    EXPECT_EQ(error, delegate.lockError);
    EXPECT_TRUE(spy.names.isEmpty());
    EXPECT_EQ(controller->cardCount(), 0u);

    // A reset clears every lock.
    controller->reset();
    EXPECT_FALSE(controller->isLocked());
}

TEST_F(DataControllerFixture, IdentifierLimitWarningsAndRefusal)
{
    // Without a delegate nothing is scheduled.
    controller->setNextCardIdentifierNumber(0xBFFFFFFFFFFFFFFFULL);
    EXPECT_TRUE(
        UFemDataControllerTestPeer::checkCardIdentifierNumberLimit(*controller, 1, nullptr));
    EXPECT_FALSE(controller->isNextCardIdentifierNumberWarningTimerEnabled());
    EXPECT_EQ(controller->nextCardIdentifierNumberWarningNumber(), 0xC000000000000000ULL);

    FakeDelegate delegate;
    controller->setDelegate(&delegate);
    EXPECT_TRUE(
        UFemDataControllerTestPeer::checkCardIdentifierNumberLimit(*controller, 1, nullptr));
    EXPECT_TRUE(controller->isNextCardIdentifierNumberWarningTimerEnabled());
    EXPECT_EQ(controller->nextCardIdentifierNumberWarningNumber(), 0xE000000000000000ULL);
    // A second check before the warning is shown schedules nothing.
    controller->setNextCardIdentifierNumber(0xE000000000000000ULL);
    EXPECT_TRUE(
        UFemDataControllerTestPeer::checkCardIdentifierNumberLimit(*controller, 1, nullptr));
    EXPECT_EQ(controller->nextCardIdentifierNumberWarningNumber(), 0xE000000000000000ULL);
    EXPECT_TRUE(delegate.alerts.isEmpty());

    controller->setNextCardIdentifierNumber(0xC000000000000000ULL);
    QCoreApplication::processEvents();
    ASSERT_EQ(delegate.alerts.size(), 1);
    EXPECT_FALSE(controller->isNextCardIdentifierNumberWarningTimerEnabled());
    EXPECT_EQ(delegate.alerts[0].messageText,
        QStringLiteral("Total Card Count gets closer to the limit."));
    EXPECT_TRUE(delegate.alerts[0].informativeText.startsWith(
        QStringLiteral("Current card count: 13835058055282163712 / limit: 18446744073709551615 ( = "
                       " 75.0[%] )\n")));
    EXPECT_EQ(delegate.alerts[0].alertStyle, 0u);

    // From the last threshold on every check warns again.
    controller->setNextCardIdentifierNumber(0xF000000000000000ULL);
    EXPECT_TRUE(
        UFemDataControllerTestPeer::checkCardIdentifierNumberLimit(*controller, 1, nullptr));
    EXPECT_EQ(controller->nextCardIdentifierNumberWarningNumber(), 0xF000000000000000ULL);
    EXPECT_TRUE(controller->isNextCardIdentifierNumberWarningTimerEnabled());

    // Refusal cancels the pending warning.
    controller->setNextCardIdentifierNumber(UFemNotFound - 1);
    UErrorPtr error;
    EXPECT_FALSE(
        UFemDataControllerTestPeer::checkCardIdentifierNumberLimit(*controller, 1, &error));
    EXPECT_EQ(codeOf(error), codeOf(UFemModelDataCardIdentifierDidReachLimitError()));
    EXPECT_FALSE(controller->isNextCardIdentifierNumberWarningTimerEnabled());
    QCoreApplication::processEvents();
    EXPECT_EQ(delegate.alerts.size(), 1);
}

TEST_F(DataControllerFixture, ReadingNearTheIdentifierLimitIsRefusedBeforeAnyCard)
{
    controller->setNextCardIdentifierNumber(UFemNotFound - 100);
    UErrorPtr error;
    EXPECT_TRUE(controller->resetWithModelText(twoNodes, false, &error));
    // A reset starts numbering again, so a reset with model text reads.
    EXPECT_EQ(error, nullptr);
    EXPECT_EQ(controller->cardCount(), 2u);

    controller->setNextCardIdentifierNumber(UFemNotFound - 100);
    EXPECT_EQ(controller->addCardsWithModelText(
                  twoNodes, UFemColumnSeparatingCharacterTypeComma, UFemNotFound, false, &error),
        0u);
    EXPECT_EQ(codeOf(error), codeOf(UFemModelDataCardIdentifierDidReachLimitError()));
    EXPECT_EQ(controller->cardCount(), 2u);
}

TEST_F(DataControllerFixture, AttachingResultData)
{
    ASSERT_TRUE(controller->resetWithModelText(twoNodes, false, nullptr));
    NotificationSpy spy(center, controller.get());
    const QStringList resultPair { UFemResultDataWillChangeNotification,
        UFemResultDataWillChangeNotification_private, UFemResultDataDidChangeNotification_private,
        UFemResultDataDidChangeNotification };

    auto results = std::make_shared<FakeResultDataManager>();
    results->text = twoNodes;
    results->text->replace(QStringLiteral("12"), QStringLiteral("13"));
    UErrorPtr error;
    EXPECT_FALSE(controller->setResultDataManager(results, false, &error));
    EXPECT_EQ(codeOf(error), codeOf(UFemModelDataDifferentWhenLoadResultDataError()));
    EXPECT_EQ(controller->resultDataManager(), nullptr);
    EXPECT_FALSE(controller->isLocked());
    EXPECT_EQ(spy.take(), resultPair);

    results->text.reset();
    EXPECT_FALSE(controller->setResultDataManager(results, false, &error));
    EXPECT_EQ(error->localizedDescription(),
        UFemUnexpectedError_withDescription(
            QStringLiteral("No model data in ResultPackageDocument."))
            ->localizedDescription());

    results->text = twoNodes;
    results->error = UFemUnexpectedError_withDescription(QStringLiteral("Singular."));
    EXPECT_FALSE(controller->setResultDataManager(results, false, &error));
    EXPECT_EQ(codeOf(error),
        codeOf(UFemCalculationInResultDataFailedError_withCalculationError(results->error)));

    // Results that cannot be matched stay attached, and the model stays editable.
    results->canSynchronize = false;
    spy.take();
    EXPECT_TRUE(controller->setResultDataManager(results, true, &error));
    EXPECT_EQ(controller->resultDataManager(), results.get());
    EXPECT_FALSE(controller->hasResultData());
    EXPECT_FALSE(controller->isLocked());
    EXPECT_EQ(spy.take(), resultPair);

    results->canSynchronize = true;
    EXPECT_TRUE(controller->setResultDataManager(results, true, &error));
    EXPECT_TRUE(controller->hasResultData());
    EXPECT_TRUE(controller->isLocked());
    EXPECT_EQ(recording.synchronizeCount, 1);

    const int resets = recording.resetCount;
    EXPECT_TRUE(controller->setResultDataManager(nullptr, false, &error));
    EXPECT_FALSE(controller->hasResultData());
    EXPECT_EQ(recording.resetCount, resets + 1);

    recording.synchronizeError
        = UFemUnexpectedError_withDescription(QStringLiteral("Nodes differ."));
    EXPECT_FALSE(controller->setResultDataManager(results, true, &error));
    EXPECT_EQ(error, recording.synchronizeError);
    EXPECT_EQ(controller->resultDataManager(), nullptr);
    EXPECT_FALSE(controller->isLocked());
}

TEST_F(DataControllerFixture, ResetPostsBothPairsAndEmptiesEverything)
{
    UUndoManager undoManager;
    controller->setUndoManager(&undoManager);
    ASSERT_TRUE(controller->resetWithModelText(twoNodes, false, nullptr));
    undoManager.setGroupsByEvent(false);
    undoManager.beginUndoGrouping();
    controller->addCardsWithModelText(
        twoNodes.left(27).replace(QStringLiteral("N1"), QStringLiteral("N3")),
        UFemColumnSeparatingCharacterTypeComma, UFemNotFound, false, nullptr);
    undoManager.endUndoGrouping();
    ASSERT_TRUE(undoManager.canUndo());
    ASSERT_EQ(controller->cardCount(), 3u);

    NotificationSpy spy(center, controller.get());
    controller->reset();
    const QStringList expected { UFemResultDataWillChangeNotification,
        UFemModelDataWillChangeNotification, UFemResultDataWillChangeNotification_private,
        UFemModelDataWillChangeNotification_private, UFemModelDataDidChangeNotification_private,
        UFemResultDataDidChangeNotification_private, UFemModelDataDidChangeNotification,
        UFemResultDataDidChangeNotification };
    EXPECT_EQ(spy.names, expected);
    EXPECT_EQ(controller->cardCount(), 0u);
    EXPECT_FALSE(undoManager.canUndo());
    EXPECT_EQ(controller->undoManager(), &undoManager);
    EXPECT_EQ(controller->nextCardIdentifierNumber(), 0u);
    EXPECT_FALSE(controller->containsCardNameWithCardNameString(QStringLiteral("N1"), nullptr));
}

TEST_F(DataControllerFixture, ObjectSizeOfTheNodes)
{
    ASSERT_TRUE(controller->resetWithModelText(twoNodes, false, nullptr));
    double box[6];
    controller->getObjectSize(box);
    const double expected[6] = { 0, 3, 0, 4, 0, 12 };
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(box[i], expected[i]) << i;
    EXPECT_DOUBLE_EQ(UFemBoundingBoxDiagonal(box), 13.0);

    controller->addCardsWithModelText(QStringLiteral("Node , N9 ,  , -1 , 0 , 0 ,"),
        UFemColumnSeparatingCharacterTypeComma, UFemNotFound, false, nullptr);
    // A model of fewer than 100 nodes keeps no rough box through a change.
    controller->getObjectSize_rough(box);
    EXPECT_EQ(box[0], -1.0);
    controller->getObjectSize(box);
    EXPECT_EQ(box[0], -1.0);
}

TEST_F(DataControllerFixture, CopyHoldsTheSameCardsAndResults)
{
    const QString text = twoNodes + QStringLiteral("Nod , bad\n\\ note\n");
    ASSERT_TRUE(controller->resetWithModelText(text, true, nullptr));
    auto results = std::make_shared<FakeResultDataManager>();
    results->text = controller->modelTextOfAllCards();
    results->canSynchronize = false;
    ASSERT_TRUE(controller->setResultDataManager(results, true, nullptr));

    UFemDataControllerServices services = recording.services();
    services.makeResultDataManagerWithResultFileData
        = [](const QByteArray& data, UErrorPtr*, UErrorPtr*) {
              auto copied = std::make_shared<FakeResultDataManager>();
              copied->text = QString::fromUtf8(data);
              copied->canSynchronize = false;
              return copied;
          };
    UFemDataController source(services);
    ASSERT_TRUE(source.resetWithModelText(text, true, nullptr));
    ASSERT_TRUE(source.setResultDataManager(results, true, nullptr));
    const std::unique_ptr<UFemDataController> copy = source.copy();
    EXPECT_EQ(copy->modelTextOfAllCards(), source.modelTextOfAllCards());
    EXPECT_TRUE(copy->cardAtCardRowIndex(2)->isErrorCard());
    ASSERT_NE(copy->resultDataManager(), nullptr);
    EXPECT_NE(copy->resultDataManager(), source.resultDataManager());
    EXPECT_EQ(copy->cardWithCardIdentifierNumber(3), copy->cardAtCardRowIndex(3));
    EXPECT_EQ(copy->notificationCenter(), nullptr);
}

TEST_F(DataControllerFixture, RoughObjectSizeSurvivesTwentyOneSmallChanges)
{
    QString text;
    for (int i = 0; i < 100; ++i)
        text += QStringLiteral("Node , N%1 ,  , %2 , 0 , 0 ,\n").arg(i).arg(i);
    ASSERT_TRUE(controller->resetWithModelText(text, false, nullptr));
    double box[6];
    controller->getObjectSize_rough(box);
    ASSERT_EQ(box[1], 99.0);

    const auto add = [&](const QString& line) {
        ASSERT_EQ(controller->addCardsWithModelText(
                      line, UFemColumnSeparatingCharacterTypeComma, UFemNotFound, false, nullptr),
            1u);
    };
    add(QStringLiteral("Node , Far ,  , 500 , 0 , 0 ,"));
    for (int i = 0; i < 20; ++i)
        add(QStringLiteral("\\ note"));
    controller->getObjectSize_rough(box);
    EXPECT_EQ(box[1], 99.0);
    controller->getObjectSize(box);
    EXPECT_EQ(box[1], 500.0);

    // The exact box recomputed the rough one; 21 further changes keep it, the 22nd drops it.
    for (int i = 0; i < 20; ++i)
        add(QStringLiteral("Node , M%1 ,  , %2 , 0 , 0 ,").arg(i).arg(i < 19 ? 0 : 900));
    add(QStringLiteral("\\ note"));
    controller->getObjectSize_rough(box);
    EXPECT_EQ(box[1], 500.0);
    add(QStringLiteral("\\ note"));
    controller->getObjectSize_rough(box);
    EXPECT_EQ(box[1], 900.0);
}

namespace {

// Pasted values by card name, read from "name , value" lines.
class FakeClipboardValues : public UFemResultDataManager_ClipboardCardValue {
public:
    bool loadClipboardCardValueWithClipboardCardValueString(
        const QString& text, UFemColumnSeparatingCharacterType, UErrorPtr* error) override
    {
        for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts)) {
            const QStringList parts = line.split(u',');
            bool ok = parts.size() == 2;
            const double value = ok ? parts[1].trimmed().toDouble(&ok) : 0;
            if (!ok) {
                *error = UFemUnexpectedError_withDescription(QStringLiteral("Bad clipboard line."));
                return false;
            }
            values.insert(parts[0].trimmed(), value);
        }
        return true;
    }
    bool getClipboardCardValue(double* value, const UFemCard& card, UErrorPtr*) const override
    {
        *value = values.value(card.cardNameString().value_or(QString()), std::nan(""));
        return values.contains(card.cardNameString().value_or(QString()));
    }
    QHash<QString, double> values;
};

} // namespace

TEST_F(DataControllerFixture, PastedCardValuesReplaceTheOldOnlyWhenTheyRead)
{
    UFemDataControllerServices services = recording.services();
    services.makeClipboardCardValueResultDataManager
        = [](UFemDataController&) { return std::make_shared<FakeClipboardValues>(); };
    UFemDataController model(services);
    model.setNotificationCenter(&center);
    ASSERT_TRUE(model.resetWithModelText(twoNodes, false, nullptr));
    NotificationSpy spy(center, &model);
    ASSERT_TRUE(model.loadClipboardCardValueWithClipboardCardValueString(
        QStringLiteral("N2 , 7.5\n"), UFemColumnSeparatingCharacterTypeComma, nullptr));
    EXPECT_EQ(spy.take(),
        (QStringList { UFemResultDataWillChangeNotification,
            UFemResultDataWillChangeNotification_private,
            UFemResultDataDidChangeNotification_private, UFemResultDataDidChangeNotification }));
    const UFemClipboardCardValueManager* pasted = model.clipboardCardValueManager();
    ASSERT_NE(pasted, nullptr);
    double value = 0;
    EXPECT_TRUE(pasted->getClipboardCardValue(&value, *model.cardAtCardRowIndex(1), nullptr));
    EXPECT_EQ(value, 7.5);

    UErrorPtr error;
    EXPECT_FALSE(model.loadClipboardCardValueWithClipboardCardValueString(
        QStringLiteral("N1 , x\n"), UFemColumnSeparatingCharacterTypeComma, &error));
    EXPECT_EQ(error->localizedDescription(),
        UFemUnexpectedError_withDescription(QStringLiteral("Bad clipboard line."))
            ->localizedDescription());
    EXPECT_EQ(model.clipboardCardValueManager(), pasted);
    EXPECT_TRUE(spy.names.isEmpty());
}
