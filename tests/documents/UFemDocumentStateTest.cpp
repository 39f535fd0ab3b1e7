#include "DocumentTestSupport.h"

#include "appkit/CommandItem.h"
#include "cardmodel/data/UFemDataController.h"
#include "documents/document/UFemDocumentNotifications.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsOther.h"

#include <gtest/gtest.h>

namespace {

constexpr qint64 ModelDataLockedCode = 12005;

struct LockText {
    const char* description;
    const char* recoverySuggestion;
};

void expectLockedWith(UFemDocument& document, const LockText& text)
{
    const UErrorPtr error = document.dataController().errorIfLocked();
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), ModelDataLockedCode);
    EXPECT_EQ(error->localizedDescription(), QString::fromUtf8(text.description));
    EXPECT_EQ(error->userInfo().recoverySuggestion, QString::fromUtf8(text.recoverySuggestion));
}

UFemDocument* modelDocument(DocumentHarness& harness, const QString& text = TwoNodeModel)
{
    UFemDocument* document = harness.openUntitled(UFemModelDocumentTypeName);
    UErrorPtr error;
    EXPECT_TRUE(document->loadModelFileData(text.toUtf8(), &error));
    return document;
}

std::shared_ptr<UFemDataController> calculatedCopy(
    const QString& modelText, UErrorPtr calculationError = nullptr)
{
    auto calculated = std::make_shared<UFemDataController>(FakeResultData::services());
    UErrorPtr error;
    EXPECT_TRUE(calculated->resetWithModelText(modelText, true, &error));
    EXPECT_TRUE(calculated->setResultDataManager(
        std::make_shared<FakeResultData>(calculated->modelTextOfAllCards(), calculationError), true,
        &error));
    return calculated;
}

bool isEnabled(UFemDocument& document, const char* command)
{
    CommandItem item(QString::fromUtf8(command));
    return document.validateCommand(item);
}

} // namespace

TEST(UFemDocumentLocks, SevenReasonsGiveTheirTextsInOrderOfPrecedence)
{
    DocumentHarness harness;
    UFemDocument& document = *modelDocument(harness);
    EXPECT_THROW(
        document.modelDataLockedErrorWithDataController(document.dataController()), UException);

    document.setEasyLocked(true);
    expectLockedWith(document,
        { "Model data is temporally locked.",
            "To edit model, unlock with 'File' menu or 'Unlock' button on toolbar." });
    document.setStrongLocked(true);
    expectLockedWith(
        document, { "Model data is locked.", "To edit model, unlock with 'File' menu." });
    document.calculationDidStart(7);
    expectLockedWith(document,
        { "Model data is on calculating, so not editable.",
            "If you detach the result data calculating, you can edit model. The result data will "
            "not "
            "be loaded to model data after editing." });
    UErrorPtr error;
    ASSERT_TRUE(document.loadResultFileData(
        FakeResultData::fileData(document.dataController().modelTextOfAllCards()), &error));
    expectLockedWith(document,
        { "Model data is loading result data, so not editable.",
            "If you unload the result data, you can edit model. The result data will not be loaded "
            "to "
            "model data after editing." });
    document.dataController().setModelDataSelfLocked(true);
    expectLockedWith(document,
        { "Model data is locked by the card '#ModelDataLock, YES'.",
            "To edit model, open and edit another software like Text Editor." });
    document.setFileType(UFemResultDocumentTypeName);
    expectLockedWith(document,
        { "Model data in result data is not editable.",
            "Edit the original model file, or you can write model data from this result data." });
    document.unloadModelData();
    expectLockedWith(document,
        { "Model data ( Model file ) does not exist.", "Load model data with Project Info View." });
}

TEST(UFemDocumentLocks, AnEditOfALockedModelFailsWithTheReason)
{
    DocumentHarness harness;
    UFemDocument& document = *modelDocument(harness);
    document.undoManager().setGroupsByEvent(false);
    document.setEasyLocked(true);
    UErrorPtr error;
    EXPECT_FALSE(document.dataController().removeCardAtIndex(0, &error));
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->localizedDescription(), QStringLiteral("Model data is temporally locked."));
    EXPECT_EQ(document.dataController().cardCount(), 2u);
}

TEST(UFemDocumentLocks, UserLocksPostPairedNotificationsAndLockTheControllerOutside)
{
    DocumentHarness harness;
    UFemDocument& document = *modelDocument(harness);
    EXPECT_FALSE(document.dataController().isLockedOutside());
    EXPECT_TRUE(document.canSetEasyLocked());
    LockNotificationRecorder recorder(document);
    document.setEasyLocked(true);
    EXPECT_TRUE(document.dataController().isLockedOutside());
    document.setEasyLocked(false);
    document.setStrongLocked(true);
    EXPECT_FALSE(document.canSetEasyLocked());
    EXPECT_EQ(recorder.events.size(), 6);
    EXPECT_TRUE(recorder.arePaired());
}

TEST(UFemDocumentLocks, EasyLockIsNotOfferedWhileCalculatingOrWithResults)
{
    DocumentHarness harness;
    UFemDocument& document = *modelDocument(harness);
    document.calculationDidStart(1);
    EXPECT_FALSE(document.canSetEasyLocked());
    EXPECT_TRUE(document.shouldDataControllerLockOutside());
    document.calculationDone(1, nullptr, UFemUnexpectedError_withDescription(QStringLiteral("x")));
    EXPECT_TRUE(document.canSetEasyLocked());
    UErrorPtr error;
    ASSERT_TRUE(document.loadResultFileData(
        FakeResultData::fileData(document.dataController().modelTextOfAllCards()), &error));
    EXPECT_FALSE(document.canSetEasyLocked());
}

TEST(UFemDocumentEditedState, ProjectFieldsAndBothAutoLoadFlagsMarkTheProjectEdited)
{
    DocumentHarness harness;
    harness.writeFile(QStringLiteral("p.vtproj"), {});
    UFemDocument& document = *harness.open(QStringLiteral("p.vtproj"));
    EXPECT_FALSE(document.isDocumentEdited());
    document.setProjectDoesLoadModelDataAuto(false);
    EXPECT_TRUE(document.isProjectDocumentEdited());
    EXPECT_TRUE(document.isDocumentEdited());
    EXPECT_FALSE(document.isModelDocumentEdited());
    document.setProjectDocumentEdited(false);
    document.setProjectDoesLoadResultDataAuto(false);
    EXPECT_TRUE(document.isDocumentEdited());
    document.setProjectDocumentEdited(false);
    document.setProjectTitleString(QStringLiteral("Beam"));
    EXPECT_TRUE(document.isDocumentEdited());
}

TEST(UFemDocumentEditedState, ModelEditsCountThroughTheUndoManagerAndOnlyClearingIsAllowed)
{
    DocumentHarness harness;
    UFemDocument& document = *modelDocument(harness);
    document.undoManager().setGroupsByEvent(false);
    EXPECT_FALSE(document.isDocumentEdited());
    document.undoManager().beginUndoGrouping();
    UErrorPtr error;
    ASSERT_TRUE(document.dataController().removeCardAtIndex(1, &error));
    document.undoManager().endUndoGrouping();
    EXPECT_TRUE(document.isModelDocumentEdited());
    EXPECT_TRUE(document.isDocumentEdited());
    document.undoManager().undo();
    EXPECT_FALSE(document.isDocumentEdited());
    EXPECT_THROW(document.setModelDocumentEdited(true), UException);
}

TEST(UFemDocumentEditedState, AResultDocumentIsNeverEdited)
{
    DocumentHarness harness;
    harness.writeFile(
        QStringLiteral("r.vtresult"), FakeResultData::fileData(canonicalModelText(TwoNodeModel)));
    UFemDocument& document = *harness.open(QStringLiteral("r.vtresult"));
    document.setProjectTitleString(QStringLiteral("changed"));
    EXPECT_FALSE(document.isDocumentEdited());
}

TEST(UFemDocumentCalculation, AnotherIdentifierOrNoCalculationChangesNothing)
{
    DocumentHarness harness;
    UFemDocument& document = *modelDocument(harness);
    LockNotificationRecorder recorder(document);
    const auto calculated = calculatedCopy(TwoNodeModel);
    document.calculationDone(3, calculated, nullptr);
    EXPECT_TRUE(recorder.events.isEmpty());
    document.calculationDidStart(4);
    document.calculationDone(3, calculated, nullptr);
    EXPECT_EQ(document.calculationIdentifierNumber(), 4u);
    EXPECT_FALSE(document.hasResultData());
    EXPECT_EQ(recorder.events.size(), 2);
}

TEST(UFemDocumentCalculation, AFinishedCalculationAttachesItsResultsAndUnlocks)
{
    DocumentHarness harness;
    UFemDocument& document = *modelDocument(harness);
    document.calculationDidStart(9);
    LockNotificationRecorder recorder(document);
    QVariantMap info;
    info.insert(UFemCalculationIdentifierNumberKey, quint64(9));
    info.insert(
        UFemCalculationDataControllerKey, QVariant::fromValue(calculatedCopy(TwoNodeModel)));
    UNotificationCenter::defaultCenter().post(UFemCalculationDoneNotification, nullptr, info);
    EXPECT_TRUE(document.hasResultData());
    EXPECT_FALSE(document.isCalculating());
    EXPECT_TRUE(recorder.arePaired());
    EXPECT_FALSE(harness.sheets.hasPending());
}

TEST(UFemDocumentCalculation, AMismatchedModelShowsItsErrorAndStillUnlocks)
{
    DocumentHarness harness;
    UFemDocument& document = *modelDocument(harness);
    document.calculationDidStart(2);
    LockNotificationRecorder recorder(document);
    document.calculationDone(2, calculatedCopy(QStringLiteral("Node, N9, , 5, 5, 5\n")), nullptr);
    ASSERT_TRUE(harness.sheets.hasPending());
    EXPECT_EQ(harness.sheets.pendingAlert().messageText,
        QStringLiteral(
            "Unexpected error occurred. ModelText_self and ModelText_calc are different."));
    EXPECT_FALSE(document.hasResultData());
    EXPECT_FALSE(document.isCalculating());
    EXPECT_FALSE(document.dataController().isLockedOutside());
    EXPECT_TRUE(recorder.arePaired());
}

TEST(UFemDocumentCalculation, ACancelledCalculationUnlocksWithoutResults)
{
    DocumentHarness harness;
    UFemDocument& document = *modelDocument(harness);
    document.calculationDidStart(5);
    UErrorPtr error;
    EXPECT_FALSE(document.checkToStartCalculation(&error));
    EXPECT_EQ(error->code(), 21002);
    document.calculationDone(5, calculatedCopy(TwoNodeModel),
        UFemUnexpectedError_withDescription(QStringLiteral("cancelled")));
    EXPECT_FALSE(document.hasResultData());
    EXPECT_FALSE(document.isCalculating());
    EXPECT_FALSE(harness.sheets.hasPending());
    EXPECT_TRUE(document.checkToStartCalculation(&error));
}

TEST(UFemDocumentCommands, SaveAsOnlyForModelsPrintNeverAndCalculationAfterAFailedResult)
{
    DocumentHarness harness;
    UFemDocument& document = *modelDocument(harness);
    EXPECT_TRUE(isEnabled(document, "saveDocumentAs:"));
    EXPECT_FALSE(isEnabled(document, "printDocument:"));
    EXPECT_FALSE(isEnabled(document, "runPageLayout:"));
    EXPECT_TRUE(isEnabled(document, "startCalculation:"));
    document.calculationDidStart(1);
    document.calculationDone(1,
        calculatedCopy(
            TwoNodeModel, UFemUnexpectedError_withDescription(QStringLiteral("singular"))),
        nullptr);
    EXPECT_TRUE(document.hasResultData());
    EXPECT_TRUE(isEnabled(document, "checkToRunCalculation:"));
    UErrorPtr error;
    document.unloadResultData();
    ASSERT_TRUE(document.loadResultFileData(
        FakeResultData::fileData(document.dataController().modelTextOfAllCards()), &error));
    EXPECT_FALSE(isEnabled(document, "startCalculation:"));

    harness.writeFile(QStringLiteral("p.vtproj"), {});
    EXPECT_FALSE(isEnabled(*harness.open(QStringLiteral("p.vtproj")), "saveDocumentAs:"));
}
